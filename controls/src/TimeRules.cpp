#include "controls/TimeRules.h"

#include <QStringList>

namespace controls {
namespace {

// One or two digits, with blanks around them, within [0, max].
std::optional<int> readField(const QString& field, int max) {
  const QString digits = field.trimmed();
  if (digits.isEmpty() || digits.size() > 2) return std::nullopt;
  int value = 0;
  for (const QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  if (value > max) return std::nullopt;
  return value;
}

}  // namespace

bool timeKeyAllowed(QChar key) { return key >= u'0' && key <= u'9'; }

std::optional<TimeOfDay> readTimeOfDay(const QString& text) {
  const QStringList fields = text.split(u':');
  if (fields.size() != 2) return std::nullopt;
  const std::optional<int> hour = readField(fields[0], 23);
  const std::optional<int> minute = readField(fields[1], 59);
  if (!hour || !minute) return std::nullopt;
  return TimeOfDay{*hour, *minute};
}

bool TimeEditRules::DateIsValid(const QString& text) const {
  if (aceitaNulo_ && text == kEmptyTimeText) return true;
  return readTimeOfDay(text.trimmed()).has_value();
}

}  // namespace controls
