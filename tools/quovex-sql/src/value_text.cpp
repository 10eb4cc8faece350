#include "value_text.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "quovex/dates.h"

namespace quovexsql {

namespace {

int bcdDigit(const quovex::BcdRecord& value, int index) {
  const std::uint8_t pair = value.digits[index / 2];
  return index % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

std::string hexEscape(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

// Length of the UTF-8 sequence starting at text[i] and its code point; 0 when
// the bytes there are not one well-formed sequence.
std::size_t utf8Sequence(std::string_view text, std::size_t i, char32_t* codePoint) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t point = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, point = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, point = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, point = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    point = (point << 6) | (next & 0x3F);
  }
  if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  *codePoint = point;
  return length;
}

}  // namespace

std::string bcdText(const quovex::BcdRecord& value) {
  const int digitCount = value.precision;
  const int places = value.signAndPlaces & quovex::BCD_PLACES_MASK;
  if (digitCount > 64) return "<bad decimal>";
  for (int i = 0; i < digitCount; ++i) {
    if (bcdDigit(value, i) > 9) return "<bad decimal>";
  }
  // A record may claim more fraction places than digits: the missing leading
  // fraction digits are zeros.
  const int integerDigits = digitCount > places ? digitCount - places : 0;
  std::string integerPart;
  for (int i = 0; i < integerDigits; ++i) {
    const int digit = bcdDigit(value, i);
    if (integerPart.empty() && digit == 0) continue;
    integerPart += static_cast<char>('0' + digit);
  }
  // Appended, not assigned: GCC 12 takes `= "0"` for an overlapping copy.
  if (integerPart.empty()) integerPart.push_back('0');
  std::string fraction(static_cast<std::size_t>(places > digitCount ? places - digitCount : 0), '0');
  for (int i = integerDigits; i < digitCount; ++i) fraction += static_cast<char>('0' + bcdDigit(value, i));

  bool zero = true;
  for (int i = 0; i < digitCount; ++i) zero = zero && bcdDigit(value, i) == 0;
  const bool negative = (value.signAndPlaces & quovex::BCD_SIGN_BIT) != 0 && !zero;
  std::string text = negative ? "-" + integerPart : integerPart;
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

std::string dateText(std::int32_t dateNumber) {
  if (dateNumber == 0) return {};
  const quovex::DateParts parts = quovex::datePartsFromNumber(dateNumber);
  char text[32];
  if (parts.year > 0) {
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.day, parts.month, parts.year);
  } else {
    std::snprintf(text, sizeof text, "%02d/%02d/-%04d", parts.day, parts.month, -parts.year);
  }
  return text;
}

std::string timestampText(const quovex::TimestampRecord& value) {
  char text[64];
  int length = std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", value.year, value.month,
                             value.day, value.hour, value.minute, value.second);
  const unsigned fraction = value.fraction % 1000;
  if (fraction != 0 && length > 0) {
    std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length), ".%03u", fraction);
  }
  return text;
}

std::string timeOfDayText(std::int32_t milliseconds) {
  quovex::TimeOfDayParts parts{};
  if (quovex::timeOfDayToParts(milliseconds, &parts) != quovex::RESULT_OK) return "<bad time>";
  char text[32];
  const unsigned millis = parts.millisecondsInMinute % 1000;
  if (millis == 0) {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", parts.hour, parts.minute, parts.millisecondsInMinute / 1000);
  } else {
    std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", parts.hour, parts.minute,
                  parts.millisecondsInMinute / 1000, millis);
  }
  return text;
}

std::string floatText(double value, bool singlePrecision) {
  std::array<char, 64> text{};
  const auto result = singlePrecision
                          ? std::to_chars(text.data(), text.data() + text.size(), static_cast<float>(value))
                          : std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), result.ptr);
}

std::string bytesText(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "\\x";
  text.reserve(2 + bytes.size() * 2);
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string escapeControls(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t point = 0;
    const std::size_t length = utf8Sequence(text, i, &point);
    if (length == 0) {
      safe += hexEscape(static_cast<unsigned char>(text[i]));
      ++i;
      continue;
    }
    if (point == '\n') {
      safe += "\\n";
    } else if (point == '\r') {
      safe += "\\r";
    } else if (point == '\t') {
      safe += "\\t";
    } else if (point < 0x20 || point == 0x7F) {
      safe += hexEscape(static_cast<unsigned char>(point));
    } else if (point >= 0x80 && point <= 0x9F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(point));
      safe += escaped;
    } else {
      safe.append(text.substr(i, length));
    }
    i += length;
  }
  return safe;
}

std::string escapeControlsKeepingLines(std::string_view text) {
  std::string safe;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    safe += escapeControls(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return safe;
    safe += '\n';
    start = end + 1;
  }
}

std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
  }
  return width;
}

}  // namespace quovexsql
