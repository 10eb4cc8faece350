#include <charconv>
#include <string>
#include <string_view>
#include <system_error>

#include "formats/formats.h"

namespace formats {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view takeDigits(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && isDigit(text[n])) ++n;
  const std::string_view digits = text.substr(0, n);
  text.remove_prefix(n);
  return digits;
}

}  // namespace

std::optional<double> readNumber(std::string_view text) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }

  const std::string_view integerDigits = takeDigits(text);
  std::string_view fractionDigits;
  if (!text.empty() && text.front() == ',') {
    text.remove_prefix(1);
    fractionDigits = takeDigits(text);
  }
  if (!text.empty() || (integerDigits.empty() && fractionDigits.empty())) return std::nullopt;

  // Hand the digits to the correctly rounding standard conversion in the
  // form it reads: "<digits>.<digits>".
  std::string plain(integerDigits.empty() ? "0" : integerDigits);
  if (!fractionDigits.empty()) {
    plain += '.';
    plain += fractionDigits;
  }
  double value = 0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value,
                                      std::chars_format::fixed);
  if (result.ec != std::errc{} || result.ptr != plain.data() + plain.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace formats
