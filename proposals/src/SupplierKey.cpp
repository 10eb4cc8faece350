#include "SupplierKey.h"

namespace proposals {

QString supplierInputMask(int identification) {
  // Qt mask notation: "9" an optional digit, "n" an optional letter or
  // digit, ">" upper case from there on, "; " a blank for empty positions.
  if (identification == kCnpf) return QStringLiteral("999.999.999-99; ");
  return QStringLiteral(">nn.nnn.nnn/nnnn-99; ");
}

QString numberTextFromDisplay(const QString& display) {
  QString text;
  text.reserve(display.size());
  for (const QChar c : display) {
    if (c != u'.' && c != u'/' && c != u'-') text += c;
  }
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text;
}

}  // namespace proposals
