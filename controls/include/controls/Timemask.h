// TTimeMaskEdit: the in-house control for typing a time of day as hours and
// minutes. A masked edit box with two digit positions, a fixed ":" and two
// digit positions (the mask "99:99;1; ": the ":" belongs to the text, an
// empty position shows as a blank, so the empty box reads "  :  "). Only
// digits can be typed; Backspace and Delete keep working. When the focus
// leaves, a text that is not a valid time shows "Hora inválida", is
// selected and keeps the focus; the owner's exit event runs in every case.
//
// Owned by its Qt parent; GUI thread only.
#pragma once

#include "controls/CheckedLineEdit.h"
#include "controls/TimeRules.h"

namespace controls {

class TTimeMaskEdit : public CheckedLineEdit {
  Q_OBJECT
  Q_PROPERTY(bool AceitaNulo READ AceitaNulo WRITE SetAceitaNulo)

 public:
  // The Qt input mask equivalent to "99:99;1; ": Qt's "0" is a digit that
  // may stay empty (its "9" would be a required one). QLineEdit's text()
  // leaves the blanks out, Text() below keeps them.
  static inline const QString kInputMask = QStringLiteral("00:00; ");
  // How QLineEdit::inputMask() reports it (a blank is its default blank).
  static inline const QString kReportedInputMask = QStringLiteral("00:00");

  // Created with the mask, AceitaNulo true, the text "  :  ", 49 wide.
  explicit TTimeMaskEdit(QWidget* parent = nullptr);

  bool AceitaNulo() const { return rules_.AceitaNulo(); }
  void SetAceitaNulo(bool value) { rules_.SetAceitaNulo(value); }

  // The text with its blanks, as the mask shows it ("12:30", "  :  ", "08:  ").
  // QLineEdit::text() leaves the blanks out.
  QString Text() const { return displayText(); }

  // Whether `text` may leave the box (see TimeEditRules).
  bool DateIsValid(const QString& text) const { return rules_.DateIsValid(text); }

 protected:
  void enterStep() override;
  bool exitStep() override;
  bool filtersKey(const TypedKey& key) const override;
  bool acceptKey(QChar& key) override;

 private:
  TimeEditRules rules_;
};

}  // namespace controls
