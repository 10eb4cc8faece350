// Check digits of the supplier's Brazilian tax number, and the characters
// the number field accepts. Widget-free; pure functions, any thread.
//
// The number text is what the supplier's number field yields: the typed
// characters without the mask's separators, 11 for a CNPF (a person's CPF)
// and 14 for a CNPJ (a company). CNPJs are alphanumeric: the first 12
// positions hold digits or upper-case letters A to Z, the last two (the
// check digits) hold digits. A CNPF holds digits only.
#pragma once

#include <QChar>
#include <QString>

// True when `number` is an acceptable CNPF. ".", "-" and blanks are removed
// first; the rest must be exactly 11 digits, not all zero, whose last two
// are the check digits of the first nine (modulo 11, weights 10 down to 2
// and 11 down to 2). Numbers whose digits are all equal but not zero pass.
// Never fails: anything else is simply invalid.
bool IsValidCNPF(const QString& number);

// True when `number` is an acceptable CNPJ. ".", "-" and blanks are removed
// first; the rest must be exactly 14 characters, not all "0": 12 digits or
// upper-case letters A-Z, then two digits that are the check digits of the
// first twelve (modulo 11 with the weights 5,4,3,2,9,8,7,6,5,4,3,2 and
// 6,5,4,3,2,9,8,7,6,5,4,3,2; a remainder below 2 gives 0, any other r gives
// 11 - r). A character's value is its code minus the code of "0": digits
// keep their values, A = 17 ... Z = 42. Any other character (a lower-case
// letter, "/", a letter in the check digits) makes the number invalid.
// "/" is not a removed separator: the field's number text never holds one.
// Never fails.
bool IsValidCNPJ(const QString& number);

// Whether the number field of a CNPJ takes character `c` at `position`
// (0 to 13, counted over the number without separators): a digit anywhere,
// an ASCII letter in positions 0 to 11. Letters are taken as given here;
// the field stores them through CnpjCharacter.
bool IsCnpjCharacterAccepted(QChar c, int position);

// The character the CNPJ field stores for a typed `c`: a lower-case ASCII
// letter becomes upper-case, anything else is returned unchanged.
QChar CnpjCharacter(QChar c);

// Whether the number field of a CNPF takes `c`: decimal digits only.
bool IsCnpfCharacterAccepted(QChar c);
