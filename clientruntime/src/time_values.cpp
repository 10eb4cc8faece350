#include "time_values.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "exact_number.h"

namespace ifxrt {
namespace {

constexpr int kFractionUnits = 5;  // fractions are kept in 10^-5 seconds
constexpr int kMaxIntervalFirstDigits = 9;
constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

int64_t power10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

bool validUnit(int code) { return (code <= IFX_TU_SECOND && code % 2 == 0) || (code > IFX_TU_SECOND && code <= IFX_TU_F5); }
int fieldOfUnit(int code) { return code <= IFX_TU_SECOND ? code / 2 : kFraction; }

char separatorBefore(int field) {
  switch (field) {
    case kMonth:
    case kDay: return '-';
    case kHour: return ' ';
    case kMinute:
    case kSecond: return ':';
    default: return '.';
  }
}

// Digits of each field of a qualifier; the first may be wider (intervals).
int fieldWidth(const Qualifier& q, int field, int firstWidth) {
  if (field == q.firstField()) return firstWidth;
  if (field == kFraction) return q.fractionDigits();
  return field == kYear ? 4 : 2;
}

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 1 January 1970 (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t kDayZero = daysFromCivil(1899, 12, 31);

// Range check of the fields a date-time qualifier holds.
int32_t checkDatetime(const TimeFields& f, const Qualifier& q) {
  const int first = q.firstField();
  const int last = q.lastField();
  auto has = [&](int field) { return field >= first && field <= last; };
  if (has(kYear) && (f.value[kYear] < kMinYear || f.value[kYear] > kMaxYear)) return kFieldOutOfRange;
  if (has(kMonth) && (f.value[kMonth] < 1 || f.value[kMonth] > 12)) return kFieldOutOfRange;
  if (has(kDay)) {
    int max = 31;
    if (has(kMonth)) max = daysInMonth(has(kYear) ? static_cast<int>(f.value[kYear]) : 2000, static_cast<int>(f.value[kMonth]));
    if (f.value[kDay] < 1 || f.value[kDay] > max) return kFieldOutOfRange;
  }
  if (has(kHour) && (f.value[kHour] < 0 || f.value[kHour] > 23)) return kFieldOutOfRange;
  if (has(kMinute) && (f.value[kMinute] < 0 || f.value[kMinute] > 59)) return kFieldOutOfRange;
  if (has(kSecond) && (f.value[kSecond] < 0 || f.value[kSecond] > 59)) return kFieldOutOfRange;
  return 0;
}

int32_t checkInterval(const TimeFields& f, const Qualifier& q) {
  const int first = q.firstField();
  const int limits[kFieldCount] = {0, 12, 0, 24, 60, 60, 0};
  for (int field = first; field <= q.lastField(); ++field) {
    if (f.value[field] < 0) return kFieldOutOfRange;
    if (field == first) {
      if (f.value[field] >= power10(q.firstFieldDigits())) return kFieldOutOfRange;
    } else if (limits[field] != 0 && f.value[field] >= limits[field]) {
      return kFieldOutOfRange;
    }
  }
  return 0;
}

// The fields as one digit string, each at its width.
std::string fieldDigits(const TimeFields& f, const Qualifier& q, int firstWidth) {
  std::string digits;
  char piece[24];
  for (int field = q.firstField(); field <= q.lastField(); ++field) {
    const int width = fieldWidth(q, field, firstWidth);
    int64_t value = f.value[field];
    if (field == kFraction) value /= power10(kFractionUnits - width);
    std::snprintf(piece, sizeof piece, "%0*lld", width, static_cast<long long>(value));
    digits += piece;
  }
  return digits;
}

int32_t fieldsFromDigits(const std::string& digits, const Qualifier& q, int firstWidth, TimeFields& f) {
  size_t at = 0;
  for (int field = q.firstField(); field <= q.lastField(); ++field) {
    const int width = fieldWidth(q, field, firstWidth);
    if (at + static_cast<size_t>(width) > digits.size()) return kFieldOutOfRange;
    int64_t value = std::stoll(digits.substr(at, static_cast<size_t>(width)));
    if (field == kFraction) value *= power10(kFractionUnits - width);
    f.value[field] = value;
    at += static_cast<size_t>(width);
  }
  return 0;
}

int32_t toValue(const TimeFields& f, const Qualifier& q, int firstWidth, int16_t* qualifierOut, IfxDecimal& out) {
  ExactNumber n;
  if (!parseExactNumber(fieldDigits(f, q, firstWidth), n)) return kFieldOutOfRange;
  n.negative = f.negative && !n.isZero();
  const int32_t rc = exactToDecimal(n, out);
  if (rc != 0) return rc;
  *qualifierOut = q.code();
  return 0;
}

int32_t fromValue(const IfxDecimal& value, const Qualifier& q, int firstWidth, TimeFields& f) {
  const ExactNumber n = decimalToExact(value);
  if (n.exponent < 0) return kFieldOutOfRange;
  std::string digits = formatExact(n, 0);
  if (!digits.empty() && digits[0] == '-') digits.erase(0, 1);
  if (digits.size() > static_cast<size_t>(q.digits)) return kFieldOutOfRange;
  digits.insert(0, static_cast<size_t>(q.digits) - digits.size(), '0');
  f = TimeFields{};
  f.negative = n.negative;
  return fieldsFromDigits(digits, q, firstWidth, f);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// Reads 1 to `width` digits at `at`; the fraction is scaled to 10^-5.
int32_t readField(std::string_view text, size_t& at, int field, int width, int64_t& value) {
  size_t end = at;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
  if (end == at) return kNotADigit;
  if (end - at > static_cast<size_t>(width)) return kTooManyDigits;
  value = std::stoll(std::string(text.substr(at, end - at)));
  if (field == kFraction) value *= power10(kFractionUnits - static_cast<int>(end - at));
  at = end;
  return 0;
}

int32_t parseFields(std::string_view text, const Qualifier& q, int firstWidth, TimeFields& f) {
  text = trimmed(text);
  f = TimeFields{};
  size_t at = 0;
  for (int field = q.firstField(); field <= q.lastField(); ++field) {
    if (field != q.firstField()) {
      if (at >= text.size() || text[at] != separatorBefore(field)) {
        return at >= text.size() ? kNotADigit : (std::isdigit(static_cast<unsigned char>(text[at])) ? kTooManyDigits : kNotADigit);
      }
      ++at;
    }
    const int32_t rc = readField(text, at, field, fieldWidth(q, field, firstWidth), f.value[field]);
    if (rc != 0) return rc;
  }
  return at == text.size() ? 0 : kExtraCharacters;
}

// Fields from `start` on, as many as the text holds (see parseStoredDatetime).
bool parseLoose(std::string_view text, int start, TimeFields& f, int16_t& qualifier) {
  f = TimeFields{};
  size_t at = 0;
  int field = start;
  int fractionDigits = 0;
  while (true) {
    size_t end = at;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    const size_t width = end - at;
    const size_t maxWidth = field == kYear ? 4 : (field == kFraction ? 9 : 2);
    if (width == 0 || width > maxWidth) return false;
    if (field == kFraction) {
      const size_t kept = width < kFractionUnits ? width : kFractionUnits;
      f.value[kFraction] = std::stoll(std::string(text.substr(at, kept))) * power10(kFractionUnits - static_cast<int>(kept));
      fractionDigits = static_cast<int>(kept);
    } else {
      f.value[field] = std::stoll(std::string(text.substr(at, width)));
    }
    at = end;
    if (at == text.size() || field == kFraction) break;
    const char sep = text[at];
    const bool next = sep == separatorBefore(field + 1) || (field == kDay && sep == 'T');
    if (!next) break;
    ++at;
    ++field;
  }
  if (at != text.size()) return false;
  const int startCode = start * 2;
  const int endCode = field == kFraction ? IFX_TU_SECOND + fractionDigits : field * 2;
  qualifier = IFX_QUALIFIER(endCode - startCode + (startCode == IFX_TU_YEAR ? 4 : 2), startCode, endCode);
  return true;
}

}  // namespace

Qualifier::Qualifier(int16_t code)
    : start((code >> 4) & 0xF), end(code & 0xF), digits((static_cast<uint16_t>(code) >> 8) & 0xFF) {}

bool Qualifier::validDatetime() const {
  if (!validUnit(start) || start > IFX_TU_SECOND || !validUnit(end) || end < start) return false;
  return digits == end - start + (start == IFX_TU_YEAR ? 4 : 2);
}

bool Qualifier::validInterval() const {
  if (!validUnit(start) || start > IFX_TU_SECOND || !validUnit(end) || end < start) return false;
  if ((start <= IFX_TU_MONTH) != (end <= IFX_TU_MONTH)) return false;
  const int first = firstFieldDigits();
  return first >= 1 && first <= kMaxIntervalFirstDigits;
}

int Qualifier::firstField() const { return fieldOfUnit(start); }
int Qualifier::lastField() const { return fieldOfUnit(end); }
int Qualifier::fractionDigits() const { return end > IFX_TU_SECOND ? end - IFX_TU_SECOND : 0; }
int Qualifier::firstFieldDigits() const { return digits - (end - start); }
int16_t Qualifier::code() const { return IFX_QUALIFIER(digits, start, end); }

int16_t fullDatetimeQualifier() { return IFX_QUALIFIER(19, IFX_TU_YEAR, IFX_TU_F5); }

int daysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

int32_t dayCountToDate(int32_t dayCount, int& year, int& month, int& day) {
  civilFromDays(kDayZero + dayCount, year, month, day);
  if (year < kMinYear || year > kMaxYear) return kBadDayCount;
  return 0;
}

int32_t dateToDayCount(int year, int month, int day, int32_t& dayCount) {
  if (year < kMinYear || year > kMaxYear) return kInvalidYear;
  if (month < 1 || month > 12) return kInvalidMonth;
  if (day < 1 || day > daysInMonth(year, month)) return kInvalidDay;
  dayCount = static_cast<int32_t>(daysFromCivil(year, month, day) - kDayZero);
  return 0;
}

int32_t datetimeFields(const IfxDatetime& value, TimeFields& fields) {
  const Qualifier q(value.qualifier);
  if (!q.validDatetime()) return kBadQualifier;
  const int32_t rc = fromValue(value.value, q, q.firstField() == kYear ? 4 : 2, fields);
  if (rc != 0) return rc;
  return checkDatetime(fields, q);
}

int32_t makeDatetime(const TimeFields& fields, int16_t qualifier, IfxDatetime& value) {
  const Qualifier q(qualifier);
  if (!q.validDatetime()) return kBadQualifier;
  const int32_t rc = checkDatetime(fields, q);
  if (rc != 0) return rc;
  TimeFields positive = fields;
  positive.negative = false;
  return toValue(positive, q, q.firstField() == kYear ? 4 : 2, &value.qualifier, value.value);
}

int32_t intervalFields(const IfxInterval& value, TimeFields& fields) {
  const Qualifier q(value.qualifier);
  if (!q.validInterval()) return kBadQualifier;
  const int32_t rc = fromValue(value.value, q, q.firstFieldDigits(), fields);
  if (rc != 0) return rc;
  return checkInterval(fields, q);
}

int32_t makeInterval(const TimeFields& fields, int16_t qualifier, IfxInterval& value) {
  const Qualifier q(qualifier);
  if (!q.validInterval()) return kBadQualifier;
  const int32_t rc = checkInterval(fields, q);
  if (rc != 0) return rc;
  return toValue(fields, q, q.firstFieldDigits(), &value.qualifier, value.value);
}

std::string datetimeText(const TimeFields& fields, int16_t qualifier) {
  const Qualifier q(qualifier);
  std::string text;
  char piece[24];
  for (int field = q.firstField(); field <= q.lastField(); ++field) {
    if (field != q.firstField()) text += separatorBefore(field);
    const int width = fieldWidth(q, field, field == kYear ? 4 : 2);
    int64_t value = fields.value[field];
    if (field == kFraction) value /= power10(kFractionUnits - width);
    std::snprintf(piece, sizeof piece, "%0*lld", width, static_cast<long long>(value));
    text += piece;
  }
  return text;
}

int32_t parseDatetime(std::string_view text, int16_t qualifier, TimeFields& fields) {
  const Qualifier q(qualifier);
  if (!q.validDatetime()) return kBadQualifier;
  const int32_t rc = parseFields(text, q, q.firstField() == kYear ? 4 : 2, fields);
  if (rc != 0) return rc;
  return checkDatetime(fields, q);
}

std::string intervalText(const TimeFields& fields, int16_t qualifier) {
  const Qualifier q(qualifier);
  std::string text;
  char piece[32];
  for (int field = q.firstField(); field <= q.lastField(); ++field) {
    int64_t value = fields.value[field];
    if (field == q.firstField()) {
      // A sign place, then the first field right-aligned in its digits.
      std::snprintf(piece, sizeof piece, "%c%*lld", fields.negative ? '-' : ' ', q.firstFieldDigits(),
                    static_cast<long long>(value));
      text += piece;
      continue;
    }
    text += separatorBefore(field);
    const int width = fieldWidth(q, field, 2);
    if (field == kFraction) value /= power10(kFractionUnits - width);
    std::snprintf(piece, sizeof piece, "%0*lld", width, static_cast<long long>(value));
    text += piece;
  }
  return text;
}

int32_t parseInterval(std::string_view text, int16_t qualifier, TimeFields& fields) {
  const Qualifier q(qualifier);
  if (!q.validInterval()) return kBadQualifier;
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int32_t rc = parseFields(text, q, q.firstFieldDigits(), fields);
  if (rc != 0) return rc;
  fields.negative = negative;
  rc = checkInterval(fields, q);
  if (rc != 0) return rc;
  bool zero = true;
  for (int64_t v : fields.value) zero = zero && v == 0;
  if (zero) fields.negative = false;
  return 0;
}

int32_t parseStoredDatetime(std::string_view text, int16_t fallback, TimeFields& fields, int16_t& qualifier) {
  text = trimmed(text);
  const Qualifier q(fallback);
  if (!parseLoose(text, kYear, fields, qualifier) &&
      !(q.validDatetime() && parseLoose(text, q.firstField(), fields, qualifier))) {
    return kNotADigit;
  }
  return checkDatetime(fields, Qualifier(qualifier));
}

int32_t extendFields(const TimeFields& in, int16_t from, int16_t to, TimeFields& out) {
  const Qualifier source(from);
  const Qualifier target(to);
  if (!source.validDatetime() || !target.validDatetime()) return kBadQualifier;
  // The clock is read only when a field above the source's comes from it
  // (a fetch of many rows extends every value).
  int64_t current[kFieldCount] = {0, 0, 0, 0, 0, 0, 0};
  if (target.firstField() < source.firstField()) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int64_t fields[kFieldCount] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                         local.tm_min,         local.tm_sec,     0};
    std::copy(fields, fields + kFieldCount, current);
  }
  out = TimeFields{};
  for (int field = target.firstField(); field <= target.lastField(); ++field) {
    if (field >= source.firstField() && field <= source.lastField()) {
      out.value[field] = in.value[field];
    } else if (field < source.firstField()) {
      out.value[field] = current[field];
    } else {
      out.value[field] = field == kMonth || field == kDay ? 1 : 0;
    }
  }
  const int kept = target.fractionDigits();
  if (kept > 0) out.value[kFraction] -= out.value[kFraction] % power10(kFractionUnits - kept);
  return checkDatetime(out, target);
}

}  // namespace ifxrt
