#include "bcd_text.h"

#include <cctype>
#include <cstring>

namespace quovex::inf {
namespace {

constexpr int kMaxDigits = 2 * static_cast<int>(sizeof BcdRecord::digits);
constexpr std::size_t kMaxTextLength = 49;

int digitAt(const BcdRecord& bcd, int position) {
  const std::uint8_t pair = bcd.digits[position / 2];
  return position % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

void storeDigit(BcdRecord& bcd, int position, int digit) {
  std::uint8_t& pair = bcd.digits[position / 2];
  if (position % 2 == 0) {
    pair = static_cast<std::uint8_t>((pair & 0x0F) | (digit << 4));
  } else {
    pair = static_cast<std::uint8_t>((pair & 0xF0) | digit);
  }
}

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

ResultCode bcdToDecimalText(const BcdRecord& bcd, std::string& text) {
  const int digits = bcd.precision;
  const int places = bcd.signAndPlaces & BCD_PLACES_MASK;
  if (digits > kMaxDigits || places > digits) return RESULT_INVALID_CONVERSION;
  for (int i = 0; i < digits; ++i) {
    if (digitAt(bcd, i) > 9) return RESULT_INVALID_CONVERSION;
  }
  std::string out;
  if ((bcd.signAndPlaces & BCD_SIGN_BIT) != 0) out += '-';
  const int integerDigits = digits - places;
  int first = 0;
  while (first < integerDigits && digitAt(bcd, first) == 0) ++first;
  if (first == integerDigits) out += '0';
  for (int i = first; i < integerDigits; ++i) out += static_cast<char>('0' + digitAt(bcd, i));
  out += '.';
  for (int i = integerDigits; i < digits; ++i) out += static_cast<char>('0' + digitAt(bcd, i));
  if (out.back() == '.') out += '0';
  while (out.back() == '0' && out[out.size() - 2] != '.') out.pop_back();
  text = std::move(out);
  return RESULT_OK;
}

ResultCode decimalTextToBcd(const char* text, BcdRecord& bcd) {
  while (*text != '\0' && isBlank(*text)) ++text;
  std::size_t length = 0;
  while (length < kMaxTextLength && text[length] != '\0' && !isBlank(text[length])) ++length;

  const bool negative = length > 0 && text[0] == '-';
  if (length > 0 && (text[0] == '-' || text[0] == '+')) {
    ++text;
    --length;
  }
  std::memset(bcd.digits, 0, sizeof bcd.digits);
  int count = static_cast<int>(length);
  int point = 0;
  std::size_t source = 0;
  int position = 0;
  while (position < count && source < length) {
    const char c = text[source++];
    if (c == '.' && position == 0 && point == 0) {
      point = 1;  // ".5": the integer digit 0 is implied
      storeDigit(bcd, position++, 0);
    } else if (c == 'e' || c == 'E') {
      std::memset(&bcd, 0, sizeof bcd);
      return RESULT_INVALID_CONVERSION;
    } else if (c >= '0' && c <= '9') {
      storeDigit(bcd, position++, c - '0');
    } else {
      if (c == '.' && point == 0) point = position;
      --count;  // the point or a stray character holds no digit
    }
  }
  count = position;
  bcd.precision = static_cast<std::uint8_t>(count);
  const std::uint8_t sign = negative ? BCD_SIGN_BIT : 0;
  bcd.signAndPlaces = static_cast<std::uint8_t>((point != 0 ? count - point : 0) | sign);
  return RESULT_OK;
}

}  // namespace quovex::inf
