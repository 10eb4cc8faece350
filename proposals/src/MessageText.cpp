// Break points after hyphens for the message dialog's text.
#include "MessageText.h"

namespace proposals {

QString withBreaksAfterHyphens(const QString& text) {
  static constexpr QChar kZeroWidthSpace(0x200B);
  QString laidOut;
  laidOut.reserve(text.size() + text.count(QLatin1Char('-')));
  for (qsizetype i = 0; i < text.size(); ++i) {
    laidOut += text[i];
    if (text[i] != QLatin1Char('-') || i + 1 == text.size()) continue;
    const QChar next = text[i + 1];
    if (next.isSpace() || next == kZeroWidthSpace) continue;  // a break is already allowed there
    laidOut += kZeroWidthSpace;
  }
  return laidOut;
}

}  // namespace proposals
