// The rules of the time edit control TTimeMaskEdit, without widgets: which
// typed characters it takes and which texts are valid times of day.
//
// The box holds two digit positions, a fixed ":" and two digit positions; an
// empty position shows as a blank, so the empty box reads "  :  ".
#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace controls {

inline const QString kEmptyTimeText = QStringLiteral("  :  ");

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Only the digits "0" to "9" may be typed; editing keys (Backspace, Delete)
// are handled by the box before characters reach this filter.
bool timeKeyAllowed(QChar key);

// Reads hours and minutes separated by ":" (hours 0 to 23, minutes 0 to 59,
// one or two digits each, blanks around the text or a number allowed).
std::optional<TimeOfDay> readTimeOfDay(const QString& text);

class TimeEditRules {
 public:
  bool AceitaNulo() const { return aceitaNulo_; }
  void SetAceitaNulo(bool value) { aceitaNulo_ = value; }

  // True when `text` may leave the box: a valid time, or the empty box while
  // AceitaNulo is true. False means "Hora inválida".
  bool DateIsValid(const QString& text) const;

 private:
  bool aceitaNulo_ = true;
};

}  // namespace controls
