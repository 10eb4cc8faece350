// The parameter records of a command: what setParameter stores for each
// declared parameter (types, the value in the runtime's form in a buffer the
// record owns, the null indicator), the per-type binders that fill them, and
// getParameter's way back to the host's forms.
#pragma once

#include <cstdint>
#include <memory>

#include "quovex/types.h"

namespace quovex::inf {

struct ParameterRecord {
  static constexpr std::int16_t kNull = -1;

  std::uint8_t direction = 0;
  std::uint16_t fieldType = 0;
  std::uint16_t clientType = 0;
  std::uint16_t subtype = 0;
  std::int32_t precision = 0;
  std::int32_t scale = 0;
  std::unique_ptr<std::uint8_t[]> value;  // the runtime's form of the value
  std::uint32_t length = 0;               // bytes of `value` the value takes
  std::int32_t timeOfDay = 0;             // a time parameter's number, for getParameter
  std::int32_t decimalPlaces = 0;         // a BCD parameter's digits after the point
  std::int16_t nullIndicator = 0;         // -1 null, 0 not null
  bool set = false;                       // a value was given since the last close

  // Drops the value (close): the parameter must be set again.
  void clear() {
    value.reset();
    length = 0;
    set = false;
  }
};

// The binders, one per field type: each turns the host's value into the
// runtime's form in record.value and sets record.clientType. 0 on success;
// RESULT_NO_MEMORY when the buffer cannot be allocated (the record keeps no
// value); other results as the field type's rules say.
ResultCode bindStringValue(ParameterRecord& record, const void* value, std::uint32_t length);
ResultCode bindDateValue(ParameterRecord& record, const void* value);
ResultCode bindBlobValue(ParameterRecord& record, const void* value, std::uint32_t length);
ResultCode bindInt16Value(ParameterRecord& record, const void* value);
ResultCode bindInt32Value(ParameterRecord& record, const void* value);
ResultCode bindFloatValue(ParameterRecord& record, const void* value, std::uint32_t length);
ResultCode bindBcdValue(ParameterRecord& record, const void* value);
ResultCode bindTimeValue(ParameterRecord& record, const void* value);
ResultCode bindTimestampValue(ParameterRecord& record, const void* value);

// The client type a parameter of `fieldType` and `subtype` is sent as (for a
// NULL value, which calls no binder); `current` when the type names none.
std::uint16_t parameterClientType(std::uint16_t fieldType, std::uint16_t subtype, std::uint32_t length,
                                  std::uint16_t current);

// getParameter's conversion of a set, non-null value into the host's buffer.
ResultCode readParameterValue(const ParameterRecord& record, void* buffer, std::int32_t bufferLength);

}  // namespace quovex::inf
