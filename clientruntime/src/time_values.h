// Dates, date-times and intervals: their fields, texts and the 24-byte
// IfxDatetime / IfxInterval form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ifxrt/client.h"
#include "status_codes.h"

namespace ifxrt {

// Informix codes of the date and date-time conversions.
using code::kBadDayCount;
using code::kBadQualifier;
using code::kExtraCharacters;
using code::kFieldOutOfRange;
using code::kInvalidDay;
using code::kInvalidMonth;
using code::kInvalidYear;
using code::kNotADigit;
using code::kTooManyDigits;

// Field positions: year, month, day, hour, minute, second, fraction (the
// fraction in hundred-thousandths of a second).
enum Field { kYear, kMonth, kDay, kHour, kMinute, kSecond, kFraction, kFieldCount };

struct TimeFields {
  int64_t value[kFieldCount] = {0, 0, 0, 0, 0, 0, 0};
  bool negative = false;  // intervals only
};

// A qualifier split into its parts; valid() tells whether the code is one.
struct Qualifier {
  int start = 0;   // IFX_TU_ code
  int end = 0;     // IFX_TU_ code
  int digits = 0;  // all digits from start to end
  explicit Qualifier(int16_t code);
  Qualifier(int start, int end, int digits) : start(start), end(end), digits(digits) {}
  bool validDatetime() const;
  bool validInterval() const;
  int firstField() const;
  int lastField() const;  // kFraction when the qualifier ends in a fraction
  int fractionDigits() const;
  int firstFieldDigits() const;  // intervals: the first field's own digits
  int16_t code() const;
};

// The date-time qualifier YEAR TO FRACTION(5), widest of all.
int16_t fullDatetimeQualifier();

// Day counts (0 = 31 December 1899) and calendar dates, years 1 to 9999.
int32_t dayCountToDate(int32_t dayCount, int& year, int& month, int& day);
int32_t dateToDayCount(int year, int month, int day, int32_t& dayCount);
int daysInMonth(int year, int month);

// IfxDatetime and IfxInterval values and their fields (value.qualifier set).
int32_t datetimeFields(const IfxDatetime& value, TimeFields& fields);
int32_t makeDatetime(const TimeFields& fields, int16_t qualifier, IfxDatetime& value);
int32_t intervalFields(const IfxInterval& value, TimeFields& fields);
int32_t makeInterval(const TimeFields& fields, int16_t qualifier, IfxInterval& value);

// Texts. Parsing takes exactly the fields of the qualifier (leading and
// trailing blanks allowed, fewer fraction digits allowed).
std::string datetimeText(const TimeFields& fields, int16_t qualifier);
int32_t parseDatetime(std::string_view text, int16_t qualifier, TimeFields& fields);
std::string intervalText(const TimeFields& fields, int16_t qualifier);
int32_t parseInterval(std::string_view text, int16_t qualifier, TimeFields& fields);

// A stored date-time text of any extent: "yyyy-mm-dd", "yyyy-mm-dd
// hh:mm[:ss[.fffff]]" (a "T" may stand for the blank), or the fields of
// `fallback` as written by datetimeText. The fields found are in `fields`
// and `qualifier` says which.
int32_t parseStoredDatetime(std::string_view text, int16_t fallback, TimeFields& fields, int16_t& qualifier);

// Moves fields of qualifier `from` to qualifier `to`: fields above `from`'s
// first come from the current local date and time, those below its last are
// 1 (month, day) or 0; a fraction is cut to `to`'s digits.
int32_t extendFields(const TimeFields& in, int16_t from, int16_t to, TimeFields& out);

}  // namespace ifxrt
