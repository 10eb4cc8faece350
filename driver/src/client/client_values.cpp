#include "client_values.h"

#include <algorithm>
#include <cstring>

#include "bcd_text.h"
#include "client_roles.h"
#include "quovex/dates.h"

namespace quovex::inf {

namespace {
constexpr int kFloatingDecimalScale = 255;
}  // namespace
namespace {

// Longest decimal text readBcd looks at.
constexpr std::size_t kDecimalTextSize = 49;

// A decimal number at `at` (an optional "-", then digits), moving past it.
long readNumber(const char*& at) {
  const bool negative = *at == '-';
  if (negative) ++at;
  long value = 0;
  for (int digits = 0; *at >= '0' && *at <= '9' && digits < 9; ++at, ++digits) value = value * 10 + (*at - '0');
  return negative ? -value : value;
}

}  // namespace

std::int32_t clientDateFromParts(int year, int month, int day, void* date) {
  const std::int16_t mdy[3] = {static_cast<std::int16_t>(month), static_cast<std::int16_t>(day),
                               static_cast<std::int16_t>(year)};
  // A year beyond 16 bits would wrap into a valid one.
  if (year < INT16_MIN || year > INT16_MAX) return -1204;
  std::int32_t days = 0;
  const std::int32_t result = clientRoles().tripleToDate(mdy, &days);
  if (result == 0) std::memcpy(date, &days, sizeof days);
  return result;
}

std::int32_t clientDateToParts(const void* date, int& year, int& month, int& day) {
  std::int32_t days = 0;
  std::memcpy(&days, date, sizeof days);
  std::int16_t mdy[3] = {0, 0, 0};
  const std::int32_t result = clientRoles().dateToTriple(days, mdy);
  if (result != 0) return result;
  month = mdy[0];
  day = mdy[1];
  year = mdy[2];
  return 0;
}

std::int32_t clientDateToNumber(const void* date, std::int32_t& number) {
  // Both count days of the proleptic Gregorian calendar, so from year 1 on
  // they differ by a constant.
  static constexpr std::int32_t kDayZero = dateNumberFromParts(1899, 12, 31);
  static constexpr std::int32_t kLastDay = dateNumberFromParts(9999, 12, 31);
  std::int32_t days = 0;
  std::memcpy(&days, date, sizeof days);
  if (days >= 1 - kDayZero && days <= kLastDay - kDayZero) {
    number = days + kDayZero;
    return 0;
  }
  int year = 0, month = 0, day = 0;
  if (const std::int32_t split = clientDateToParts(date, year, month, day); split != 0) return split;
  number = dateNumberFromParts(year, month, day);
  return 0;
}

std::int32_t clientDecimalFromText(const char* text, void* decimal) {
  IfxDecimal value{};
  const std::int32_t result = clientRoles().textToDecimal(text, -1, &value);
  if (result == 0) std::memcpy(decimal, &value, sizeof value);
  return result;
}

std::int32_t clientDecimalToText(const void* decimal, int scale, char* text, std::size_t size) {
  if (size == 0) return -1;
  IfxDecimal value;
  std::memcpy(&value, decimal, sizeof value);
  // The runtime fills the buffer with blanks and writes no NUL.
  const std::int32_t result = clientRoles().decimalToText(&value, text, static_cast<std::int32_t>(size - 1), scale);
  text[size - 1] = '\0';
  return result;
}

namespace {

constexpr int kBcdMaxDigits = 2 * static_cast<int>(sizeof(BcdRecord::digits));

// The value's decimal digit `position` (0 the first digit of its first
// base-100 pair), 0 outside its pairs.
int decimalDigit(const IfxDecimal& value, int position) {
  if (position < 0 || position >= 2 * value.digitCount) return 0;
  const int pair = static_cast<unsigned char>(value.digits[position / 2]);
  return position % 2 == 0 ? pair / 10 : pair % 10;
}

// Writes a non-zero decimal straight into the BCD record with exactly
// `scale` fraction digits, as the decimal's text would give them (integer
// digits without leading zeros, "0" when none). False, with nothing
// written, when that needs rounding or more digits than the record holds,
// or for any other value: those go through the text.
bool decimalToBcdDirect(const IfxDecimal& value, int scale, BcdRecord& bcd) {
  if (scale < 0 || value.digitCount <= 0 || value.digitCount > 16 || (value.sign != 0 && value.sign != 1)) {
    return false;
  }
  for (int pair = 0; pair < value.digitCount; ++pair) {
    if (static_cast<unsigned char>(value.digits[pair]) > 99) return false;
  }
  // Digit positions relative to the point: the point sits after digit 2*exponent.
  const int pointAt = 2 * value.exponent;
  const int lastDigit = 2 * value.digitCount;  // one past the value's last digit
  for (int position = pointAt + scale; position < lastDigit; ++position) {
    if (decimalDigit(value, position) != 0) return false;  // more fraction than the scale keeps
  }
  int first = 0;  // the first integer digit shown
  while (first < pointAt && decimalDigit(value, first) == 0) ++first;
  const int integerDigits = pointAt > first ? pointAt - first : 1;
  const int count = integerDigits + scale;
  if (count > kBcdMaxDigits) return false;
  std::memset(bcd.digits, 0, sizeof bcd.digits);
  const int start = pointAt > first ? first : pointAt - 1;
  for (int i = 0; i < count; ++i) {
    const int digit = decimalDigit(value, start + i);
    bcd.digits[i / 2] = static_cast<std::uint8_t>(bcd.digits[i / 2] | (i % 2 == 0 ? digit << 4 : digit));
  }
  bcd.precision = static_cast<std::uint8_t>(count);
  bcd.signAndPlaces = static_cast<std::uint8_t>(scale | (value.sign == 0 ? BCD_SIGN_BIT : 0));
  return true;
}

}  // namespace

ResultCode clientDecimalToBcd(const void* decimal, int scale, BcdRecord& bcd) {
  // A floating decimal (DECIMAL(p) without scale) keeps all the fraction digits it has.
  if (scale == kFloatingDecimalScale) scale = -1;
  IfxDecimal value;
  std::memcpy(&value, decimal, sizeof value);
  if (decimalToBcdDirect(value, scale, bcd)) return RESULT_OK;
  char text[kDecimalTextSize + 1];
  if (clientDecimalToText(decimal, scale, text, sizeof text) != 0) return RESULT_INVALID_CONVERSION;
  return decimalTextToBcd(text, bcd);
}

std::int32_t clientDatetimeFromText(const char* text, std::uint16_t qualifier, void* datetime) {
  IfxDatetime value{};
  value.qualifier = static_cast<std::int16_t>(qualifier);
  const std::int32_t result = clientRoles().textToDatetime(text, &value);
  if (result == 0) std::memcpy(datetime, &value, sizeof value);
  return result;
}

std::uint16_t clientDatetimeQualifier(const void* datetime) {
  std::uint16_t qualifier = 0;
  std::memcpy(&qualifier, datetime, sizeof qualifier);
  return qualifier;
}

namespace {

// Qualifier fields as the runtime numbers them.
constexpr int kFieldYear = 0;
constexpr int kFieldSecond = 10;
constexpr int kFieldFraction3 = 13;

// Year, month, day, hour, minute, second and fraction (thousandths, taken
// modulo 1000) into the host's record.
void fillTimestamp(const long (&fields)[7], TimestampRecord& timestamp) {
  timestamp.year = static_cast<std::int16_t>(fields[0]);
  timestamp.month = static_cast<std::uint16_t>(fields[1]);
  timestamp.day = static_cast<std::uint16_t>(fields[2]);
  timestamp.hour = static_cast<std::uint16_t>(fields[3]);
  timestamp.minute = static_cast<std::uint16_t>(fields[4]);
  timestamp.second = static_cast<std::uint16_t>(fields[5]);
  timestamp.fraction = static_cast<std::uint32_t>(fields[6] % 1000);
}

// Reads a date-time that starts at YEAR and ends at most at FRACTION(3)
// straight from its digits: the extension to YEAR TO FRACTION(3) of such a
// value only fills the fields below its last one (month and day 1, the rest
// 0), so no runtime call is needed. False for any other value, which then
// goes through the runtime's extension and text.
bool readYearDatetime(const IfxDatetime& value, TimestampRecord& timestamp) {
  const int qualifier = static_cast<std::uint16_t>(value.qualifier);
  const int start = (qualifier >> 4) & 0xF;
  const int end = qualifier & 0xF;
  const int digits = (qualifier >> 8) & 0xFF;
  const bool knownEnd = (end <= kFieldSecond && end % 2 == 0) || (end > kFieldSecond && end <= kFieldFraction3);
  if (start != kFieldYear || !knownEnd) return false;
  const int fractionDigits = end > kFieldSecond ? end - kFieldSecond : 0;
  const int lastField = std::min(end, kFieldSecond);
  if (digits != 4 + lastField + fractionDigits) return false;  // YEAR 4, every further field 2

  // The fields' digits form one whole number of `digits` digits.
  const IfxDecimal& number = value.value;
  if (number.sign != 1 || number.digitCount < 0 || number.digitCount > 16 || number.exponent < 0 ||
      2 * number.exponent > digits + 1) {
    return false;
  }
  for (int pair = number.exponent; pair < number.digitCount; ++pair) {
    if (number.digits[pair] != 0) return false;  // not a whole number
  }
  char text[40];
  std::memset(text, '0', sizeof text);
  const int length = std::max(digits, 2 * static_cast<int>(number.exponent));
  char* pairs = text + length - 2 * number.exponent;
  for (int pair = 0; pair < number.exponent; ++pair) {
    const int d = pair < number.digitCount ? static_cast<unsigned char>(number.digits[pair]) : 0;
    if (d > 99) return false;
    pairs[2 * pair] = static_cast<char>('0' + d / 10);
    pairs[2 * pair + 1] = static_cast<char>('0' + d % 10);
  }
  const char* at = text;
  for (int extra = length - digits; extra > 0; --extra) {
    if (*at++ != '0') return false;
  }
  long fields[7] = {0, 1, 1, 0, 0, 0, 0};  // what the extension gives the fields a value lacks
  for (int field = kFieldYear, i = 0; field <= lastField; field += 2, ++i) {
    long v = 0;
    for (int k = 0; k < (field == kFieldYear ? 4 : 2); ++k) v = v * 10 + (*at++ - '0');
    fields[i] = v;
  }
  long fraction = 0;
  for (int k = 0; k < fractionDigits; ++k) fraction = fraction * 10 + (*at++ - '0');
  for (int k = fractionDigits; k < 3; ++k) fraction *= 10;
  fields[6] = fraction;
  fillTimestamp(fields, timestamp);
  return true;
}

}  // namespace

void clientDatetimeToTimestamp(const void* datetime, TimestampRecord& timestamp) {
  IfxDatetime value;
  std::memcpy(&value, datetime, sizeof value);
  if (readYearDatetime(value, timestamp)) return;
  IfxDatetime extended{};
  extended.qualifier = static_cast<std::int16_t>(kQualifierYearToFraction3);
  clientRoles().extendDatetime(&value, &extended);
  char text[32] = {};
  clientRoles().datetimeToText(&extended, text, sizeof text);
  // "yyyy-mm-dd hh:mm:ss.fff": seven numbers split at "-", "-", " ", ":", ":", ".".
  long fields[7] = {};
  const char* at = text;
  static constexpr char kSeparators[] = "-- ::.";
  for (int i = 0; i < 7; ++i) {
    fields[i] = readNumber(at);
    if (i < 6) {
      if (*at != kSeparators[i]) break;
      ++at;
    }
  }
  fillTimestamp(fields, timestamp);
}

}  // namespace quovex::inf
