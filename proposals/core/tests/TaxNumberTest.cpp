// Check digits of CNPF and CNPJ numbers, and the characters the CNPJ field
// takes.
#include "TaxNumber.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

struct NumberCase {
  const char* number;
  bool valid;
  const char* why;
};

TEST(TaxNumber, CnpfCases) {
  const NumberCase cases[] = {
      {"12345678909", true, "first remainder 10 gives 0 and carries 9 into the second sum"},
      {"123.456.789-09", true, "separators are removed"},
      {"12345678900", false, "passes only without the carried 9"},
      {"11144477735", true, "ordinary number"},
      {"11144477736", false, "second check digit wrong"},
      {"11144477725", false, "first check digit wrong"},
      {"11111111111", true, "equal digits are not refused"},
      {"00000000000", false, "all zero is refused although its digits match"},
      {"000.000.000-00", false, "all zero with separators"},
      {"", false, "empty"},
      {"123456789", false, "nine digits"},
      {"1234567890", false, "ten digits"},
      {"123456789090", false, "twelve digits"},
      {"1234 678909", false, "empty position inside the number"},
      {"12345678909 ", true, "trailing blank"},
      {"1234567890A", false, "letter"},
      {"12345678/09", false, "slash is not a separator of a CNPF"},
      {"１２３４５６７８９０９", false, "full-width digits are not digits here"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(IsValidCNPF(QString::fromUtf8(c.number)), c.valid) << c.number << ": " << c.why;
  }
}

TEST(TaxNumber, CnpjCases) {
  const NumberCase cases[] = {
      {"12345678000195", true, "remainders 2 and 6"},
      {"12.345.678-0001-95", true, "dots and dashes are removed"},
      {"12345678000196", false, "second check digit wrong"},
      {"12345678000185", false, "first check digit wrong"},
      {"11222333000181", true, "second remainder 10 gives 1"},
      {"00000000000000", false, "all zero"},
      {"11111111111111", false, "equal digits, wrong check digits"},
      {"12ABC34501DE35", true, "alphanumeric"},
      {"12.ABC.345-01DE-35", true, "alphanumeric with separators"},
      {"12ABC34501DE36", false, "alphanumeric, second check digit wrong"},
      {"12abc34501de35", false, "lower-case letters are not values"},
      {"ABCDEFGHIJKL80", true, "letters only before the check digits"},
      {"00000000000A04", true, "one letter"},
      {"12ABC34501DEA5", false, "letter in a check digit"},
      {"12345678/0001-95", false, "slash is not removed"},
      {"1234567800019", false, "thirteen characters"},
      {"123456780001955", false, "fifteen characters"},
      {"1234567 000195", false, "empty position inside"},
      {"12345678\x01" "00195", false, "control character"},
      {"", false, "empty"},
      {"12ÁBC34501DE35", false, "accented letter"},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(IsValidCNPJ(QString::fromUtf8(c.number)), c.valid) << c.number << ": " << c.why;
  }
}

// The literal two-step CNPF computation with weights 1..9 and 9..1 and the
// correction 9; the routine must agree with it for every number.
bool cnpfByPositionWeights(const QString& s) {
  int d[11];
  for (int i = 0; i < 11; ++i) d[i] = s[i].unicode() - u'0';
  int sum1 = 0;
  for (int i = 0; i < 9; ++i) sum1 += (i + 1) * d[i];
  const int r1 = sum1 % 11;
  const int first = r1 == 10 ? 0 : r1;
  const int k = r1 == 10 ? 9 : 0;
  if (first != d[9]) return false;
  int sum2 = k;
  for (int i = 0; i < 9; ++i) sum2 += (9 - i) * d[i];
  const int r2 = sum2 % 11;
  return (r2 == 10 ? 0 : r2) == d[10];
}

TEST(TaxNumber, CnpfAgreesWithThePositionWeightedForm) {
  // Random bases with every pair of check digits: exactly one pair is right.
  QRandomGenerator random(20261210);
  for (int n = 0; n < 2000; ++n) {
    QString s;
    for (int i = 0; i < 9; ++i) s.append(QChar(u'0' + random.bounded(10)));
    if (n == 0) s = QStringLiteral("123456789");  // the base whose first remainder is 10
    s.append(QStringLiteral("00"));
    int validEndings = 0;
    for (int last = 0; last < 100; ++last) {
      s[9] = QChar(u'0' + last / 10);
      s[10] = QChar(u'0' + last % 10);
      if (s == QString(11, u'0')) continue;
      const bool expected = cnpfByPositionWeights(s);
      ASSERT_EQ(IsValidCNPF(s), expected) << s.toStdString();
      validEndings += expected ? 1 : 0;
    }
    ASSERT_EQ(validEndings, 1) << s.left(9).toStdString();
  }
}

TEST(TaxNumber, CnpjFieldTakesLettersBeforeTheCheckDigits) {
  struct CharCase {
    char16_t c;
    int position;
    bool accepted;
  };
  const CharCase cases[] = {
      {u'7', 0, true},  {u'7', 13, true},  {u'A', 0, true},   {u'Z', 11, true},  {u'a', 5, true},
      {u'z', 11, true}, {u'A', 12, false}, {u'b', 13, false}, {u'/', 3, false},  {u'.', 2, false},
      {u' ', 0, false}, {u'7', 14, false}, {u'7', -1, false}, {u'Ç', 4, false}, {u'１', 0, false},
  };
  for (const CharCase& c : cases) {
    EXPECT_EQ(IsCnpjCharacterAccepted(QChar(c.c), c.position), c.accepted)
        << QString(QChar(c.c)).toStdString() << " at " << c.position;
  }
  EXPECT_EQ(CnpjCharacter(u'a'), u'A');
  EXPECT_EQ(CnpjCharacter(u'z'), u'Z');
  EXPECT_EQ(CnpjCharacter(u'Q'), u'Q');
  EXPECT_EQ(CnpjCharacter(u'5'), u'5');
  EXPECT_EQ(CnpjCharacter(u'ç'), u'ç') << "only ASCII letters are upper-cased";
  EXPECT_TRUE(IsCnpfCharacterAccepted(u'0'));
  EXPECT_FALSE(IsCnpfCharacterAccepted(u'A'));
}

}  // namespace
