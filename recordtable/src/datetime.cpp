#include "datetime_millis.h"
#include "recordtable/field.h"

namespace recordtable {
namespace {

// Days since 0001-01-01 (Howard Hinnant's days_from_civil, shifted).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 306;  // 0001-01-01 is day 0
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 306;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

}  // namespace

std::optional<DateTime> parseIsoDateTime(std::string_view text) {
  return formats::readIsoDateTime(text);
}

namespace detail {

std::int64_t toMillis(const DateTime& v) {
  const std::int64_t days = daysFromCivil(v.year, v.month, v.day);
  return days * kMillisPerDay +
         ((static_cast<std::int64_t>(v.hour) * 60 + v.minute) * 60 + v.second) * 1000 +
         v.millisecond;
}

DateTime fromMillis(std::int64_t millis) {
  DateTime v;
  civilFromDays(millis / kMillisPerDay, v.year, v.month, v.day);
  std::int64_t rest = millis % kMillisPerDay;
  v.millisecond = static_cast<int>(rest % 1000);
  rest /= 1000;
  v.second = static_cast<int>(rest % 60);
  rest /= 60;
  v.minute = static_cast<int>(rest % 60);
  v.hour = static_cast<int>(rest / 60);
  return v;
}

}  // namespace detail
}  // namespace recordtable
