#include "client_values.h"

#include <cstdio>
#include <cstring>

#include "bcd_text.h"
#include "client_roles.h"

namespace quovex::inf {
namespace {

// Longest decimal text readBcd looks at.
constexpr std::size_t kDecimalTextSize = 49;

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

ResultCode clientDecimalToBcd(const void* decimal, int scale, BcdRecord& bcd) {
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

void clientDatetimeToTimestamp(const void* datetime, TimestampRecord& timestamp) {
  IfxDatetime value;
  std::memcpy(&value, datetime, sizeof value);
  IfxDatetime extended{};
  extended.qualifier = static_cast<std::int16_t>(kQualifierYearToFraction3);
  clientRoles().extendDatetime(&value, &extended);
  char text[32] = {};
  clientRoles().datetimeToText(&extended, text, sizeof text);
  int year = 0;
  unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
  std::sscanf(text, "%d-%u-%u %u:%u:%u.%u", &year, &month, &day, &hour, &minute, &second, &fraction);
  timestamp.year = static_cast<std::int16_t>(year);
  timestamp.month = static_cast<std::uint16_t>(month);
  timestamp.day = static_cast<std::uint16_t>(day);
  timestamp.hour = static_cast<std::uint16_t>(hour);
  timestamp.minute = static_cast<std::uint16_t>(minute);
  timestamp.second = static_cast<std::uint16_t>(second);
  timestamp.fraction = fraction % 1000;
}

}  // namespace quovex::inf
