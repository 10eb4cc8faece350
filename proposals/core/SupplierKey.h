// The supplier's number field: the edit masks of the two identifications and
// the number text read from what the field shows. Widget-free (Qt Core).
//
// The CNPF mask takes 11 digits. The CNPJ mask takes, in its first 12
// positions, digits or the letters A to Z (a typed lower-case letter becomes
// upper case; the Receita Federal issues such alphanumeric CNPJs) and digits
// in its last two. Every position may stay empty and shows a blank.
#pragma once

#include <QString>

namespace proposals {

// The supplier's identification, in the order of the list CMB_Identificacao.
enum class Identification {
  Cnpf,  // "C N P F": a person
  Cnpj,  // "C N P J": a company
};
// The identification at a list index: any index other than 0 (none picked
// included) is the company case.
Identification identificationAtIndex(int index);
int indexOfIdentification(Identification identification);

// Qt input mask of MSK_CodigoNacional for an identification.
QString supplierInputMask(Identification identification);

// The number text: the characters typed into the positions, without the
// separators; empty positions at the end dropped, inner ones as blanks.
// `display` is the field's display text (blanks for empty positions).
QString numberTextFromDisplay(const QString& display);

}  // namespace proposals
