// Date-times as stored: milliseconds since 0001-01-01T00:00:00.000 in the
// proleptic Gregorian calendar, so that ordering and validation are integer
// comparisons.
#pragma once

#include <cstdint>

#include "recordtable/field.h"

namespace recordtable::detail {

inline constexpr std::int64_t kMillisPerDay = 86'400'000;
// 9999-12-31T23:59:59.999
inline constexpr std::int64_t kMaxDateTimeMillis = 3'652'059LL * kMillisPerDay - 1;

// `value` must be valid (isValidDateTime).
std::int64_t toMillis(const DateTime& value);
// `millis` must lie in [0, kMaxDateTimeMillis].
DateTime fromMillis(std::int64_t millis);

}  // namespace recordtable::detail
