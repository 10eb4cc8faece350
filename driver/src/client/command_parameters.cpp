#include "command_parameters.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "bcd_text.h"
#include "client_values.h"
#include "quovex/dates.h"

namespace quovex::inf {
namespace {

// A zero-filled buffer of `size` bytes as the record's value; false when it
// cannot be allocated (the record then holds no value).
bool allocateValue(ParameterRecord& record, std::size_t size) {
  record.value.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]());
  record.length = record.value ? static_cast<std::uint32_t>(size) : 0;
  return static_cast<bool>(record.value);
}

template <typename T>
ResultCode bindFixed(ParameterRecord& record, const void* value, std::uint16_t clientType) {
  record.clientType = clientType;
  if (!allocateValue(record, sizeof(T))) return RESULT_NO_MEMORY;
  std::memcpy(record.value.get(), value, sizeof(T));
  return RESULT_OK;
}

template <typename T>
void writeOut(void* buffer, const std::uint8_t* stored) {
  std::memcpy(buffer, stored, sizeof(T));
}

}  // namespace

std::uint16_t parameterClientType(std::uint16_t fieldType, std::uint16_t subtype, std::uint32_t length,
                                  std::uint16_t current) {
  switch (fieldType) {
    case FIELD_STRING: return subtype == SUBTYPE_FIXED ? CT_CHAR : CT_VARCHAR;
    case FIELD_DATE: return CT_DATE;
    case FIELD_BLOB:
      switch (subtype) {
        case SUBTYPE_MEMO: return CT_TEXT;
        case SUBTYPE_BINARY: return CT_BYTE;
        case SUBTYPE_CHAR_LOB: return CT_CLOB;
        case SUBTYPE_BINARY_LOB: return CT_BLOB;
        default: return current;
      }
    case FIELD_INT16: return CT_SMALLINT;
    case FIELD_INT32: return CT_INTEGER;
    case FIELD_FLOAT: return length == 4 ? CT_SMALLFLOAT : CT_FLOAT;
    case FIELD_BCD: return CT_DECIMAL;
    case FIELD_TIME:
    case FIELD_TIMESTAMP: return CT_DATETIME;
    default: return current;
  }
}

ResultCode bindStringValue(ParameterRecord& record, const void* value, std::uint32_t length) {
  record.clientType = record.subtype == SUBTYPE_FIXED ? CT_CHAR : CT_VARCHAR;
  const char* text = static_cast<const char*>(value);
  const std::size_t textLength = std::strlen(text);
  // A length beyond what the runtime's 32-bit lengths hold cannot be sent.
  const std::size_t size = std::max<std::size_t>(length, textLength);
  if (size >= INT32_MAX) {
    record.value.reset();
    record.length = 0;
    return RESULT_NO_MEMORY;
  }
  if (!allocateValue(record, size + 1)) return RESULT_NO_MEMORY;
  std::memcpy(record.value.get(), text, textLength);
  record.length = static_cast<std::uint32_t>(size);
  return RESULT_OK;
}

ResultCode bindDateValue(ParameterRecord& record, const void* value) {
  record.clientType = CT_DATE;
  std::int32_t number = 0;
  std::memcpy(&number, value, sizeof number);
  const DateParts parts = datePartsFromNumber(number);
  if (!allocateValue(record, kClientDateSize)) return RESULT_NO_MEMORY;
  if (clientDateFromParts(parts.year, parts.month, parts.day, record.value.get()) != 0) {
    return RESULT_INVALID_CONVERSION;
  }
  return RESULT_OK;
}

ResultCode bindBlobValue(ParameterRecord& record, const void* value, std::uint32_t length) {
  record.clientType = parameterClientType(FIELD_BLOB, record.subtype, length, record.clientType);
  if (!allocateValue(record, length)) return RESULT_NO_MEMORY;
  if (length > 0) std::memcpy(record.value.get(), value, length);
  return RESULT_OK;
}

ResultCode bindInt16Value(ParameterRecord& record, const void* value) {
  return bindFixed<std::int16_t>(record, value, CT_SMALLINT);
}

ResultCode bindInt32Value(ParameterRecord& record, const void* value) {
  return bindFixed<std::int32_t>(record, value, CT_INTEGER);
}

ResultCode bindFloatValue(ParameterRecord& record, const void* value, std::uint32_t length) {
  record.clientType = length == 4 ? CT_SMALLFLOAT : CT_FLOAT;
  if (length != sizeof(float) && length != sizeof(double)) return RESULT_INVALID_PARAMETER;
  if (!allocateValue(record, length)) return RESULT_NO_MEMORY;
  std::memcpy(record.value.get(), value, length);
  return RESULT_OK;
}

ResultCode bindBcdValue(ParameterRecord& record, const void* value) {
  record.clientType = CT_DECIMAL;
  BcdRecord bcd;
  std::memcpy(&bcd, value, sizeof bcd);
  std::string text;
  if (bcdToDecimalText(bcd, text) != RESULT_OK) return RESULT_INVALID_CONVERSION;
  if (!allocateValue(record, kClientDecimalSize)) return RESULT_NO_MEMORY;
  record.decimalPlaces = bcd.signAndPlaces & BCD_PLACES_MASK;
  return clientDecimalFromText(text.c_str(), record.value.get());
}

ResultCode bindTimeValue(ParameterRecord& record, const void* value) {
  record.clientType = CT_DATETIME;
  std::int32_t number = 0;
  std::memcpy(&number, value, sizeof number);
  TimeOfDayParts parts{};
  if (timeOfDayToParts(number, &parts) != RESULT_OK) return RESULT_INVALID_TIME;
  char text[32];
  std::snprintf(text, sizeof text, "%02u:%02u:%02u.%03u", parts.hour, parts.minute,
                parts.millisecondsInMinute / 1000, parts.millisecondsInMinute % 1000);
  if (!allocateValue(record, kClientDatetimeSize)) return RESULT_NO_MEMORY;
  record.timeOfDay = number;
  return clientDatetimeFromText(text, kQualifierHourToFraction3, record.value.get());
}

ResultCode bindTimestampValue(ParameterRecord& record, const void* value) {
  record.clientType = CT_DATETIME;
  TimestampRecord stamp;
  std::memcpy(&stamp, value, sizeof stamp);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", stamp.year, stamp.month, stamp.day,
                stamp.hour, stamp.minute, stamp.second, static_cast<int>(stamp.fraction % 1000));
  if (!allocateValue(record, kClientDatetimeSize)) return RESULT_NO_MEMORY;
  std::uint8_t converted[kClientDatetimeSize] = {};
  const std::int32_t result = clientDatetimeFromText(text, kQualifierYearToFraction3, converted);
  if (result == 0) std::memcpy(record.value.get(), converted, sizeof converted);
  return result;
}

ResultCode readParameterValue(const ParameterRecord& record, void* buffer, std::int32_t bufferLength) {
  const std::uint8_t* stored = record.value.get();
  switch (record.fieldType) {
    case FIELD_STRING: {
      // The stored text, cut so that it and its NUL fit the buffer.
      if (bufferLength < 1) return RESULT_INVALID_PARAMETER;
      const char* text = reinterpret_cast<const char*>(stored);
      const std::size_t length = std::min(strnlen(text, record.length), static_cast<std::size_t>(bufferLength - 1));
      std::memcpy(buffer, text, length);
      static_cast<char*>(buffer)[length] = '\0';
      return RESULT_OK;
    }
    case FIELD_DATE: {
      int year = 0, month = 0, day = 0;
      const std::int32_t result = clientDateToParts(stored, year, month, day);
      if (result != 0) return result;
      const std::int32_t number = dateNumberFromParts(year, month, day);
      std::memcpy(buffer, &number, sizeof number);
      return RESULT_OK;
    }
    case FIELD_INT16: writeOut<std::int16_t>(buffer, stored); return RESULT_OK;
    case FIELD_INT32: writeOut<std::int32_t>(buffer, stored); return RESULT_OK;
    case FIELD_FLOAT:
      if (record.length == sizeof(float) || record.length == sizeof(double)) std::memcpy(buffer, stored, record.length);
      return RESULT_OK;
    case FIELD_BCD: {
      if (bufferLength <= 33) return RESULT_INVALID_CONVERSION;
      BcdRecord bcd{};
      const ResultCode result = clientDecimalToBcd(stored, record.decimalPlaces, bcd);
      std::memcpy(buffer, &bcd, sizeof bcd);
      return result;
    }
    case FIELD_TIME: std::memcpy(buffer, &record.timeOfDay, sizeof record.timeOfDay); return RESULT_OK;
    case FIELD_TIMESTAMP: {
      if (bufferLength <= 15) return RESULT_INVALID_CONVERSION;
      TimestampRecord stamp{};
      clientDatetimeToTimestamp(stored, stamp);
      std::memcpy(buffer, &stamp, sizeof stamp);
      return RESULT_OK;
    }
    default: return RESULT_INVALID_FIELD_TYPE;
  }
}

}  // namespace quovex::inf
