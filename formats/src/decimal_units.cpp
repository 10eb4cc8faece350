#include <cstdint>
#include <string>

#include "formats/formats.h"

namespace formats {

std::string formatDecimalUnits(std::int64_t units, int places, char separator) {
  // The magnitude as unsigned, so that the most negative value prints too.
  const bool negative = units < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::string digits = std::to_string(magnitude);
  if (places > 0) {
    const auto width = static_cast<std::size_t>(places);
    if (digits.size() <= width) digits.insert(0, width + 1 - digits.size(), '0');
    digits.insert(digits.size() - width, 1, separator);
  }
  return negative ? "-" + digits : digits;
}

}  // namespace formats
