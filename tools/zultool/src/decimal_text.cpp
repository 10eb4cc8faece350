#include "decimal_text.h"

#include <limits>

#include "formats/formats.h"
#include "zultool/json_table.h"

namespace zultool {
namespace {

[[noreturn]] void notDecimal(std::string_view text, int places) {
  throw ConversionError("\"" + std::string(text) + "\" não é um número decimal com até " +
                        std::to_string(places) + " casas após o ponto que caiba no campo.");
}

}  // namespace

std::int64_t decimalUnitsFromText(std::string_view text, int places) {
  std::size_t pos = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++pos;
  // Accumulate the magnitude as a negative number so that the most negative
  // 64-bit value is reachable.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t magnitude = 0;
  int digits = 0;
  int decimals = 0;
  bool afterPoint = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '.' && !afterPoint && digits > 0) {
      afterPoint = true;
      continue;
    }
    if (c < '0' || c > '9') notDecimal(text, places);
    if (afterPoint && ++decimals > places) notDecimal(text, places);
    if (magnitude < (kMin + (c - '0')) / 10) notDecimal(text, places);
    magnitude = magnitude * 10 - (c - '0');
    ++digits;
  }
  if (digits == 0 || (afterPoint && decimals == 0)) notDecimal(text, places);
  for (; decimals < places; ++decimals) {
    if (magnitude < kMin / 10) notDecimal(text, places);
    magnitude *= 10;
  }
  if (negative) return magnitude;
  if (magnitude == kMin) notDecimal(text, places);
  return -magnitude;
}

std::string decimalTextFromUnits(std::int64_t units, int places) {
  return formats::formatDecimalUnits(units, places, '.');
}

}  // namespace zultool
