#include "exact_number.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ifxrt {
namespace {

constexpr int kMaxPairs = 16;
constexpr int kMinExponent = -64;
constexpr int kMaxExponent = 63;
constexpr int kMaxExponentDigits = 6;

void normalise(ExactNumber& n) {
  const size_t first = n.digits.find_first_not_of('0');
  if (first == std::string::npos) {
    n = ExactNumber{};
    return;
  }
  n.digits.erase(0, first);
  const size_t last = n.digits.find_last_not_of('0');
  n.exponent += static_cast<int>(n.digits.size() - 1 - last);
  n.digits.erase(last + 1);
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Adds one unit in the last place of a digit string; may grow it by one.
void incrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

bool parseExactNumber(std::string_view text, ExactNumber& number) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  };
  ExactNumber n;
  skipBlanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) n.negative = text[i++] == '-';
  bool anyDigit = false;
  while (i < text.size() && isDigit(text[i])) {
    n.digits += text[i++];
    anyDigit = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      n.digits += text[i++];
      --n.exponent;
      anyDigit = true;
    }
  }
  if (!anyDigit) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
    std::string exponentDigits;
    while (i < text.size() && isDigit(text[i])) exponentDigits += text[i++];
    if (exponentDigits.empty()) return false;
    if (exponentDigits.size() > kMaxExponentDigits) return false;  // far beyond any decimal
    const int exponent = std::atoi(exponentDigits.c_str());
    n.exponent += negativeExponent ? -exponent : exponent;
  }
  skipBlanks();
  if (i != text.size()) return false;
  const bool negative = n.negative;
  normalise(n);
  n.negative = negative && !n.isZero();
  number = n;
  return true;
}

ExactNumber roundExact(const ExactNumber& number, int scale) {
  if (number.isZero() || number.exponent >= -scale) return number;
  // Digits kept: those at or above 10^-scale.
  const int drop = -scale - number.exponent;
  ExactNumber n = number;
  if (drop > static_cast<int>(n.digits.size())) return ExactNumber{};
  const bool roundUp = n.digits[n.digits.size() - static_cast<size_t>(drop)] >= '5';
  n.digits.erase(n.digits.size() - static_cast<size_t>(drop));
  n.exponent = -scale;
  if (n.digits.empty()) n.digits.push_back('0');
  if (roundUp) incrementDigits(n.digits);
  const bool negative = n.negative;
  normalise(n);
  n.negative = negative && !n.isZero();
  return n;
}

ExactNumber truncateExact(const ExactNumber& number) {
  if (number.exponent >= 0) return number;
  const size_t drop = static_cast<size_t>(-number.exponent);
  if (drop >= number.digits.size()) return ExactNumber{};
  ExactNumber n = number;
  n.digits.erase(n.digits.size() - drop);
  n.exponent = 0;
  const bool negative = n.negative;
  normalise(n);
  n.negative = negative && !n.isZero();
  return n;
}

ExactNumber roundSignificant(const ExactNumber& number, int digits) {
  const int excess = significantDigits(number) - digits;
  if (excess <= 0) return number;
  return roundExact(number, -(number.exponent + excess));
}

std::string formatExact(const ExactNumber& number, int right) {
  const ExactNumber n = right >= 0 ? roundExact(number, right) : number;
  const int fraction = right >= 0 ? right : (n.exponent < 0 ? -n.exponent : 0);
  // All digits with the point `fraction` places from the right.
  std::string all = n.digits;
  if (n.exponent > 0) all.append(static_cast<size_t>(n.exponent), '0');
  const int shift = n.exponent < 0 ? fraction + n.exponent : fraction;  // zeros to append
  if (shift > 0) all.append(static_cast<size_t>(shift), '0');
  if (static_cast<int>(all.size()) <= fraction) all.insert(0, static_cast<size_t>(fraction) + 1 - all.size(), '0');
  std::string text = n.negative ? "-" : "";
  text.append(all, 0, all.size() - static_cast<size_t>(fraction));
  if (fraction > 0) {
    text += '.';
    text.append(all, all.size() - static_cast<size_t>(fraction), std::string::npos);
  }
  return text;
}

int32_t exactToDecimal(const ExactNumber& number, IfxDecimal& value) {
  std::memset(&value, 0, sizeof value);
  value.sign = 1;
  if (number.isZero()) return 0;
  // value = 0.(pairs) * 100^exponent: the integer part, padded to an even
  // count of digits, is `exponent` pairs.
  const int integerDigits = static_cast<int>(number.digits.size()) + number.exponent;
  const int exponent = integerDigits >= 0 ? (integerDigits + 1) / 2 : -((-integerDigits) / 2);
  const int leadingPad = 2 * exponent - integerDigits;
  std::string digits(static_cast<size_t>(leadingPad), '0');
  digits += number.digits;
  if (digits.size() % 2 != 0) digits += '0';
  const int pairs = static_cast<int>(digits.size() / 2);
  if (pairs > kMaxPairs || exponent < kMinExponent || exponent > kMaxExponent) return kDecimalOverflow;
  for (int i = 0; i < pairs; ++i) {
    value.digits[i] = static_cast<char>((digits[2 * i] - '0') * 10 + (digits[2 * i + 1] - '0'));
  }
  value.digitCount = static_cast<int16_t>(pairs);
  value.exponent = static_cast<int16_t>(exponent);
  value.sign = number.negative ? 0 : 1;
  return 0;
}

ExactNumber decimalToExact(const IfxDecimal& value) {
  ExactNumber n;
  const int pairs = value.digitCount < 0 ? 0 : (value.digitCount > kMaxPairs ? kMaxPairs : value.digitCount);
  for (int i = 0; i < pairs; ++i) {
    const int pair = static_cast<unsigned char>(value.digits[i]) % 100;
    n.digits += static_cast<char>('0' + pair / 10);
    n.digits += static_cast<char>('0' + pair % 10);
  }
  n.exponent = 2 * value.exponent - 2 * pairs;
  normalise(n);
  n.negative = value.sign == 0 && !n.isZero();
  return n;
}

void setDecimalNull(IfxDecimal& value) {
  std::memset(&value, 0, sizeof value);
  value.sign = -1;
}

std::string shortestDoubleText(double number) {
  char text[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, number);
    if (std::strtod(text, nullptr) == number) break;
  }
  return text;
}

}  // namespace ifxrt
