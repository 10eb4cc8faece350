// Roles 422, 423, 434, 435, 440, 442, 443, 470, 473: decimals, date-times and
// dates, and the interval texts.
#include <cmath>
#include <cstring>
#include <string>

#include "exact_number.h"
#include "time_values.h"
#include "value_call.h"

using namespace ifxrt;

namespace {

int32_t textToDecimal(const char* text, int32_t length, IfxDecimal* value) {
  if (text == nullptr || value == nullptr) return kNotANumber;
  const size_t available = length < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(length));
  ExactNumber number;
  if (!parseExactNumber(std::string_view(text, available), number)) return kNotANumber;
  IfxDecimal converted;
  const int32_t rc = exactToDecimal(number, converted);
  if (rc == 0) *value = converted;
  return rc;
}

int32_t doubleToDecimal(double number, IfxDecimal* value) {
  if (value == nullptr) return kNotANumber;
  if (!std::isfinite(number)) return kDecimalOverflow;
  ExactNumber exact;
  if (!parseExactNumber(shortestDoubleText(number), exact)) return kNotANumber;
  IfxDecimal converted;
  const int32_t rc = exactToDecimal(exact, converted);
  if (rc == 0) *value = converted;
  return rc;
}

int32_t decimalToText(const IfxDecimal* value, char* buffer, int32_t length, int32_t right) {
  if (value == nullptr || buffer == nullptr || decimalIsNull(*value)) return kNotANumber;
  if (length <= 0 || right >= length) return -1;  // the fraction alone would not fit
  const std::string text = formatExact(decimalToExact(*value), right);
  if (text.size() > static_cast<size_t>(length)) return -1;
  std::memset(buffer, ' ', static_cast<size_t>(length));
  std::memcpy(buffer, text.data(), text.size());
  return 0;
}

int32_t decimalToDouble(const IfxDecimal* value, double* number) {
  if (value == nullptr || number == nullptr || decimalIsNull(*value)) return kNotANumber;
  *number = std::strtod(formatExact(decimalToExact(*value), -1).c_str(), nullptr);
  return 0;
}

int32_t textToDatetime(const char* text, IfxDatetime* value) {
  if (text == nullptr || value == nullptr) return kNotADigit;
  TimeFields fields;
  const int32_t rc = parseDatetime(text, value->qualifier, fields);
  if (rc != 0) return rc;
  return makeDatetime(fields, value->qualifier, *value);
}

int32_t extendDatetime(const IfxDatetime* in, IfxDatetime* out) {
  if (in == nullptr || out == nullptr) return kBadQualifier;
  TimeFields fields;
  int32_t rc = datetimeFields(*in, fields);
  if (rc != 0) return rc;
  TimeFields extended;
  rc = extendFields(fields, in->qualifier, out->qualifier, extended);
  if (rc != 0) return rc;
  return makeDatetime(extended, out->qualifier, *out);
}

int32_t copyText(const std::string& text, char* buffer, size_t size) {
  if (text.size() + 1 > size) return -1;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 0;
}

int32_t datetimeToText(const IfxDatetime* value, char* buffer, size_t size) {
  if (value == nullptr || buffer == nullptr) return kBadQualifier;
  TimeFields fields;
  const int32_t rc = datetimeFields(*value, fields);
  if (rc != 0) return rc;
  return copyText(datetimeText(fields, value->qualifier), buffer, size);
}

int32_t dateToTriple(int32_t date, int16_t mdy[3]) {
  if (mdy == nullptr) return kBadDayCount;
  int year = 0;
  int month = 0;
  int day = 0;
  const int32_t rc = dayCountToDate(date, year, month, day);
  if (rc != 0) return rc;
  mdy[0] = static_cast<int16_t>(month);
  mdy[1] = static_cast<int16_t>(day);
  mdy[2] = static_cast<int16_t>(year);
  return 0;
}

int32_t tripleToDate(const int16_t mdy[3], int32_t* date) {
  if (mdy == nullptr || date == nullptr) return kInvalidYear;
  return dateToDayCount(mdy[2], mdy[0], mdy[1], *date);
}

// Interval texts are not roles: no fault is counted, only exceptions kept in.
template <typename Body>
int32_t guarded(Body&& body) {
  try {
    return body();
  } catch (...) {
    return code::kOutOfMemory;
  }
}

}  // namespace

extern "C" {

IFXRT_API int32_t clientTextToDecimal(const char* text, int32_t length, IfxDecimal* value) {
  return runValueCall(IFX_ROLE_TEXT_TO_DECIMAL, [&] { return textToDecimal(text, length, value); });
}

IFXRT_API int32_t clientDoubleToDecimal(double number, IfxDecimal* value) {
  return runValueCall(IFX_ROLE_DOUBLE_TO_DECIMAL, [&] { return doubleToDecimal(number, value); });
}

IFXRT_API int32_t clientDecimalToText(const IfxDecimal* value, char* buffer, int32_t length, int32_t right) {
  return runValueCall(IFX_ROLE_DECIMAL_TO_TEXT, [&] { return decimalToText(value, buffer, length, right); });
}

IFXRT_API int32_t clientDecimalToDouble(const IfxDecimal* value, double* number) {
  return runValueCall(IFX_ROLE_DECIMAL_TO_DOUBLE, [&] { return decimalToDouble(value, number); });
}

IFXRT_API int32_t clientTextToDatetime(const char* text, IfxDatetime* value) {
  return runValueCall(IFX_ROLE_TEXT_TO_DATETIME, [&] { return textToDatetime(text, value); });
}

IFXRT_API int32_t clientExtendDatetime(const IfxDatetime* in, IfxDatetime* out) {
  return runValueCall(IFX_ROLE_EXTEND_DATETIME, [&] { return extendDatetime(in, out); });
}

IFXRT_API int32_t clientDatetimeToText(const IfxDatetime* value, char* buffer, size_t size) {
  return runValueCall(IFX_ROLE_DATETIME_TO_TEXT, [&] { return datetimeToText(value, buffer, size); });
}

IFXRT_API int32_t clientDateToTriple(int32_t date, int16_t mdy[3]) {
  return runValueCall(IFX_ROLE_DATE_TO_TRIPLE, [&] { return dateToTriple(date, mdy); });
}

IFXRT_API int32_t clientTripleToDate(const int16_t mdy[3], int32_t* date) {
  return runValueCall(IFX_ROLE_TRIPLE_TO_DATE, [&] { return tripleToDate(mdy, date); });
}

IFXRT_API int32_t clientIntervalToText(const IfxInterval* value, char* buffer, size_t size) {
  return guarded([&]() -> int32_t {
    if (value == nullptr || buffer == nullptr) return kBadQualifier;
    TimeFields fields;
    const int32_t rc = intervalFields(*value, fields);
    if (rc != 0) return rc;
    return copyText(intervalText(fields, value->qualifier), buffer, size);
  });
}

IFXRT_API int32_t clientTextToInterval(const char* text, IfxInterval* value) {
  return guarded([&]() -> int32_t {
    if (text == nullptr || value == nullptr) return kNotADigit;
    TimeFields fields;
    const int32_t rc = parseInterval(text, value->qualifier, fields);
    if (rc != 0) return rc;
    return makeInterval(fields, value->qualifier, *value);
  });
}

}  // extern "C"
