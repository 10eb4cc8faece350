// Check digits of CNPF and CNPJ numbers, and the characters their fields take.
#include "TaxNumber.h"

#include <array>
#include <optional>

namespace {

constexpr int kCnpfLength = 11;
constexpr int kCnpjLength = 14;
constexpr int kCnpjBaseLength = 12;  // the positions before the two check digits

// The number without the separators a user or a mask may leave in it.
QString withoutSeparators(const QString& number) {
  QString bare;
  bare.reserve(number.size());
  for (const QChar c : number) {
    if (c != u'.' && c != u'-' && c != u' ') bare.append(c);
  }
  return bare;
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAsciiUpper(QChar c) { return c >= u'A' && c <= u'Z'; }
bool isAsciiLower(QChar c) { return c >= u'a' && c <= u'z'; }

int digitValue(QChar c) { return c.unicode() - u'0'; }

// Modulo 11 check digit: a remainder below 2 gives 0, any other r gives 11 - r.
int checkDigit(int sum) {
  const int remainder = sum % 11;
  return remainder < 2 ? 0 : 11 - remainder;
}

}  // namespace

bool IsValidCNPF(const QString& number) {
  const QString s = withoutSeparators(number);
  if (s.size() != kCnpfLength) return false;
  for (const QChar c : s) {
    if (!isAsciiDigit(c)) return false;
  }
  if (s == QString(kCnpfLength, u'0')) return false;

  // First check digit over d1..d9 with weights 10..2, second over d1..d10
  // with weights 11..2.
  int sum1 = 0;
  int sum2 = 0;
  for (int i = 0; i < 9; ++i) {
    sum1 += digitValue(s[i]) * (10 - i);
    sum2 += digitValue(s[i]) * (11 - i);
  }
  const int first = checkDigit(sum1);
  if (first != digitValue(s[9])) return false;
  sum2 += first * 2;
  return checkDigit(sum2) == digitValue(s[10]);
}

bool IsValidCNPJ(const QString& number) {
  const QString s = withoutSeparators(number);
  if (s.size() != kCnpjLength) return false;
  for (int i = 0; i < kCnpjLength; ++i) {
    const bool accepted = isAsciiDigit(s[i]) || (i < kCnpjBaseLength && isAsciiUpper(s[i]));
    if (!accepted) return false;
  }
  if (s == QString(kCnpjLength, u'0')) return false;

  static constexpr std::array<int, 12> kWeights1 = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  static constexpr std::array<int, 13> kWeights2 = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  int sum1 = 0;
  int sum2 = 0;
  for (int i = 0; i < kCnpjBaseLength; ++i) {
    const int value = digitValue(s[i]);  // letters: A = 17 ... Z = 42
    sum1 += value * kWeights1[size_t(i)];
    sum2 += value * kWeights2[size_t(i)];
  }
  const int first = checkDigit(sum1);
  if (first != digitValue(s[12])) return false;
  sum2 += first * kWeights2[12];
  return checkDigit(sum2) == digitValue(s[13]);
}

bool IsCnpjCharacterAccepted(QChar c, int position) {
  if (position < 0 || position >= kCnpjLength) return false;
  if (isAsciiDigit(c)) return true;
  return position < kCnpjBaseLength && (isAsciiUpper(c) || isAsciiLower(c));
}

QChar CnpjCharacter(QChar c) { return isAsciiLower(c) ? QChar(c.unicode() - u'a' + u'A') : c; }

bool IsCnpfCharacterAccepted(QChar c) { return isAsciiDigit(c); }
