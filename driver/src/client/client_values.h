// Value conversions of the client access layer: the host's forms (date
// numbers, decimal text, timestamp records) to and from the client runtime's
// own value forms (4-byte day count, 22-byte decimal, 24-byte date-time).
// Each returns the runtime conversion's own result: 0 on success, else its
// negative code, which may reach the host unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quovex/types.h"

namespace quovex::inf {

inline constexpr std::size_t kClientDateSize = 4;
inline constexpr std::size_t kClientDecimalSize = 22;
inline constexpr std::size_t kClientDatetimeSize = 24;

// Date-time qualifiers: the runtime's encoding of length, first and last field.
inline constexpr std::uint16_t kQualifierYearToFraction3 = 0x110D;
inline constexpr std::uint16_t kQualifierHourToFraction3 = 0x096D;

// A date number's calendar parts into a client date.
std::int32_t clientDateFromParts(int year, int month, int day, void* date);
// A client date's calendar parts; on failure `year`, `month`, `day` are untouched.
std::int32_t clientDateToParts(const void* date, int& year, int& month, int& day);

// The date number (quovex/dates.h) of a runtime date (a day count from
// 31 December 1899): computed straight from the count for the years 1 to
// 9999, through the runtime's split into month, day and year otherwise.
// 0 or the split's failure code.
std::int32_t clientDateToNumber(const void* date, std::int32_t& number);

std::int32_t clientDecimalFromText(const char* text, void* decimal);
// Text of a client decimal with `scale` fraction digits, NUL-terminated within `size`.
std::int32_t clientDecimalToText(const void* decimal, int scale, char* text, std::size_t size);

// A client decimal as a BCD record, through its text with `scale` fraction
// digits. RESULT_INVALID_CONVERSION when the text cannot be made or has an
// exponent (the record is then all zero).
ResultCode clientDecimalToBcd(const void* decimal, int scale, BcdRecord& bcd);

// Date-time of `qualifier` from its text ("2003-07-04 13:05:09.234" for
// YEAR TO FRACTION(3), "13:05:09.234" for HOUR TO FRACTION(3)).
std::int32_t clientDatetimeFromText(const char* text, std::uint16_t qualifier, void* datetime);
// The qualifier held in a client date-time's first 16 bits.
std::uint16_t clientDatetimeQualifier(const void* datetime);
// Extends a client date-time to YEAR TO FRACTION(3) and reads its fields.
// Failures of the runtime conversions are not reported: the fields of a text
// that could not be made read as 0.
void clientDatetimeToTimestamp(const void* datetime, TimestampRecord& timestamp);

}  // namespace quovex::inf
