// The supplier's identification and list indexes, the number field's masks
// and the number text read from what the field shows.
#include "SupplierKey.h"

namespace proposals {

Identification identificationAtIndex(int index) {
  return index == 0 ? Identification::Cnpf : Identification::Cnpj;
}

int indexOfIdentification(Identification identification) {
  return identification == Identification::Cnpf ? 0 : 1;
}

QString supplierInputMask(Identification identification) {
  // Qt mask notation: "9" an optional digit, "n" an optional letter or
  // digit, ">" upper case from there on, "; " a blank for empty positions.
  if (identification == Identification::Cnpf) return QStringLiteral("999.999.999-99; ");
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
