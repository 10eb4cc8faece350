#include "value_binding.h"

#include <sqlite3.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "column_values.h"
#include "exact_number.h"
#include "lob_store.h"
#include "status_codes.h"
#include "time_values.h"

namespace ifxrt {
namespace {

constexpr int kMaxExactIntegerDigits = 18;  // always within int64
constexpr int kMaxExactDoubleDigits = 15;   // a double gives these back unchanged
constexpr int32_t kMaxIndicator = 32767;
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

int lowType(int type) { return type & 0xFF; }

bool isCharacterType(int type) {
  return type == IFX_TYPE_CHAR || type == IFX_TYPE_NCHAR || type == IFX_TYPE_VARCHAR || type == IFX_TYPE_NVARCHAR;
}
bool isFixedCharType(int type) { return type == IFX_TYPE_CHAR || type == IFX_TYPE_NCHAR; }
bool isDecimalType(int type) { return type == IFX_TYPE_DECIMAL || type == IFX_TYPE_MONEY; }

// The fixed scale of a DECIMAL or MONEY column; -1 for a floating decimal or
// another type.
int fixedScale(const ColumnType& type) {
  if (!isDecimalType(lowType(type.type))) return -1;
  const int scale = type.length & 0xFF;
  return scale == 0xFF ? -1 : scale;
}

template <typename T>
T readPlace(const void* place) {
  T value;
  std::memcpy(&value, place, sizeof value);
  return value;
}

template <typename T>
void writePlace(void* place, const T& value) {
  std::memcpy(place, &value, sizeof value);
}

void setIndicator(IfxDescriptorEntry& entry, int32_t value) {
  if (entry.indicator == nullptr) return;
  const auto indicator = static_cast<int16_t>(value > kMaxIndicator ? kMaxIndicator : value);
  std::memcpy(entry.indicator, &indicator, sizeof indicator);
}

std::string_view valueBytes(sqlite3_stmt* statement, int index) {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, index));
  const int size = sqlite3_column_bytes(statement, index);
  return bytes != nullptr ? std::string_view(bytes, static_cast<size_t>(size)) : std::string_view();
}

int32_t valueExact(sqlite3_stmt* statement, int index, ExactNumber& number) {
  switch (sqlite3_column_type(statement, index)) {
    case SQLITE_INTEGER:
      return parseExactNumber(std::to_string(sqlite3_column_int64(statement, index)), number) ? 0 : kNotANumber;
    case SQLITE_FLOAT: {
      const double value = sqlite3_column_double(statement, index);
      if (!std::isfinite(value)) return kDecimalOverflow;
      return parseExactNumber(shortestDoubleText(value), number) ? 0 : kNotANumber;
    }
    default:
      return parseExactNumber(valueBytes(statement, index), number) ? 0 : kNotANumber;
  }
}

bool isPlainDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

int32_t valueDayCount(sqlite3_stmt* statement, int index, int32_t& dayCount) {
  int year = 0;
  int month = 0;
  int day = 0;
  if (sqlite3_column_type(statement, index) == SQLITE_INTEGER) {
    const sqlite3_int64 stored = sqlite3_column_int64(statement, index);
    if (stored < INT32_MIN || stored > INT32_MAX) return kBadDayCount;
    dayCount = static_cast<int32_t>(stored);
    return dayCountToDate(dayCount, year, month, day);
  }
  const std::string_view stored = valueBytes(statement, index);
  if (isPlainDate(stored)) {  // "yyyy-mm-dd", as a DATE column stores it
    auto number = [&](size_t at, size_t width) {
      int value = 0;
      for (size_t i = at; i < at + width; ++i) value = value * 10 + (stored[i] - '0');
      return value;
    };
    return dateToDayCount(number(0, 4), number(5, 2), number(8, 2), dayCount);
  }
  const std::string text(stored);
  TimeFields fields;
  int16_t qualifier = 0;
  if (parseStoredDatetime(text, IFX_QUALIFIER(8, IFX_TU_YEAR, IFX_TU_DAY), fields, qualifier) == 0 &&
      Qualifier(qualifier).lastField() >= kDay) {
    return dateToDayCount(static_cast<int>(fields.value[kYear]), static_cast<int>(fields.value[kMonth]),
                          static_cast<int>(fields.value[kDay]), dayCount);
  }
  char extra = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d%c", &month, &day, &year, &extra) == 3) {  // mm/dd/yyyy
    return dateToDayCount(year, month, day, dayCount);
  }
  return kNotADigit;
}

// The stored date-time's fields in `target` qualifier (0: the column's).
int32_t valueDatetime(sqlite3_stmt* statement, int index, const ColumnType& column, int16_t target, TimeFields& out) {
  const int16_t columnQualifier =
      lowType(column.type) == IFX_TYPE_DATETIME ? static_cast<int16_t>(column.length) : fullDatetimeQualifier();
  if (!Qualifier(target).validDatetime()) target = columnQualifier;
  TimeFields fields;
  int16_t stored = 0;
  int32_t rc = 0;
  if (sqlite3_column_type(statement, index) == SQLITE_INTEGER && lowType(column.type) == IFX_TYPE_DATE) {
    int32_t dayCount = 0;
    rc = valueDayCount(statement, index, dayCount);
    int year = 0, month = 0, day = 0;
    if (rc == 0) rc = dayCountToDate(dayCount, year, month, day);
    fields.value[kYear] = year;
    fields.value[kMonth] = month;
    fields.value[kDay] = day;
    stored = IFX_QUALIFIER(8, IFX_TU_YEAR, IFX_TU_DAY);
  } else {
    rc = parseStoredDatetime(std::string(valueBytes(statement, index)), columnQualifier, fields, stored);
  }
  if (rc != 0) return rc;
  return extendFields(fields, stored, target, out);
}

int16_t intervalQualifierFor(const ColumnType& column, int16_t place) {
  if (Qualifier(place).validInterval()) return place;
  return static_cast<int16_t>(column.length);
}

int32_t valueInterval(sqlite3_stmt* statement, int index, const ColumnType& column, TimeFields& fields) {
  if (lowType(column.type) != IFX_TYPE_INTERVAL) return kBadQualifier;
  return parseInterval(std::string(valueBytes(statement, index)), static_cast<int16_t>(column.length), fields);
}

// A value as the text a character place receives.
int32_t valueText(sqlite3_stmt* statement, int index, const ColumnType& column, std::string& text) {
  const int source = lowType(column.type);
  const int storage = sqlite3_column_type(statement, index);
  if (isDecimalType(source)) {
    ExactNumber number;
    const int32_t rc = valueExact(statement, index, number);
    if (rc != 0) return rc;
    text = formatExact(number, fixedScale(column));
    return 0;
  }
  if (source == IFX_TYPE_DATETIME) {
    TimeFields fields;
    const int32_t rc = valueDatetime(statement, index, column, 0, fields);
    if (rc == 0) text = datetimeText(fields, static_cast<int16_t>(column.length));
    return rc;
  }
  if (source == IFX_TYPE_INTERVAL) {
    TimeFields fields;
    const int32_t rc = valueInterval(statement, index, column, fields);
    if (rc == 0) text = intervalText(fields, static_cast<int16_t>(column.length));
    return rc;
  }
  if (source == IFX_TYPE_DATE && storage == SQLITE_INTEGER) {
    int32_t dayCount = 0;
    int year = 0, month = 0, day = 0;
    int32_t rc = valueDayCount(statement, index, dayCount);
    if (rc == 0) rc = dayCountToDate(dayCount, year, month, day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    if (rc == 0) text = buffer;
    return rc;
  }
  if (storage == SQLITE_FLOAT) {
    text = shortestDoubleText(sqlite3_column_double(statement, index));
    return 0;
  }
  if (source == IFX_TYPE_BOOLEAN && storage == SQLITE_INTEGER) {
    text = sqlite3_column_int64(statement, index) != 0 ? "t" : "f";  // Informix's boolean literals
    return 0;
  }
  text = valueBytes(statement, index);
  return 0;
}

int32_t fetchText(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry, int place) {
  if (entry.length < 1) return code::kHostVariableCount;
  if (sqlite3_column_type(statement, index) == SQLITE_NULL) {
    entry.data[0] = '\0';
    setIndicator(entry, -1);
    return 0;
  }
  std::string text;
  const int source = lowType(column.type.type);
  if (isCharacterType(source) || source == IFX_TYPE_LVARCHAR) {
    // A text column's text is copied straight from SQLite's storage.
    const std::string_view stored = sqlite3_column_type(statement, index) == SQLITE_TEXT
                                        ? std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(statement, index)),
                                                           static_cast<size_t>(sqlite3_column_bytes(statement, index)))
                                        : std::string_view();
    if (!stored.empty() && !(isFixedCharType(place) && isFixedCharType(source)) &&
        stored.size() < static_cast<size_t>(entry.length)) {
      std::memcpy(entry.data, stored.data(), stored.size());
      entry.data[stored.size()] = '\0';
      setIndicator(entry, 0);
      return 0;
    }
  }
  const int32_t rc = valueText(statement, index, column.type, text);
  if (rc != 0) return rc;
  // A fixed-length column keeps its blanks up to its width, as Informix
  // stores CHAR values padded.
  if (isFixedCharType(place) && isFixedCharType(lowType(column.type.type)) &&
      text.size() < static_cast<size_t>(column.type.length)) {
    text.append(static_cast<size_t>(column.type.length) - text.size(), ' ');
  }
  const size_t room = static_cast<size_t>(entry.length) - 1;
  const size_t copied = text.size() < room ? text.size() : room;
  std::memcpy(entry.data, text.data(), copied);
  entry.data[copied] = '\0';
  if (copied < text.size()) {
    setIndicator(entry, static_cast<int32_t>(text.size() > INT32_MAX ? INT32_MAX : text.size()));
    return code::kValueTruncated;
  }
  setIndicator(entry, 0);
  return 0;
}

int32_t fetchInteger(sqlite3_stmt* statement, int index, IfxDescriptorEntry& entry, int place) {
  int64_t value = 0;
  if (sqlite3_column_type(statement, index) == SQLITE_INTEGER) {
    value = sqlite3_column_int64(statement, index);
  } else {
    ExactNumber number;
    const int32_t rc = valueExact(statement, index, number);
    if (rc != 0) return rc;
    // Whole part only, as a decimal is turned into an integer.
    if (number.exponent < 0) {
      const size_t drop = static_cast<size_t>(-number.exponent);
      number.digits = drop < number.digits.size() ? number.digits.substr(0, number.digits.size() - drop) : "";
      number.exponent = 0;
      if (number.digits.empty()) number = ExactNumber{};
    }
    if (significantDigits(number) + number.exponent > kMaxExactIntegerDigits) {
      return place == IFX_TYPE_SMALLINT ? code::kSmallintOverflow : code::kIntegerOverflow;
    }
    value = std::strtoll(formatExact(number, 0).c_str(), nullptr, 10);
  }
  if (place == IFX_TYPE_SMALLINT) {
    if (value < INT16_MIN || value > INT16_MAX) return code::kSmallintOverflow;
    writePlace(entry.data, static_cast<int16_t>(value));
  } else {
    if (value < INT32_MIN || value > INT32_MAX) return code::kIntegerOverflow;
    writePlace(entry.data, static_cast<int32_t>(value));
  }
  setIndicator(entry, 0);
  return 0;
}

int32_t fetchFloat(sqlite3_stmt* statement, int index, IfxDescriptorEntry& entry, int place) {
  double value = 0;
  const int storage = sqlite3_column_type(statement, index);
  if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
    value = sqlite3_column_double(statement, index);
  } else if (valueBytes(statement, index) == "-0") {
    value = -0.0;  // how a FLOAT column keeps the sign of a negative zero
  } else {
    ExactNumber number;
    const int32_t rc = valueExact(statement, index, number);
    if (rc != 0) return rc;
    value = std::strtod(formatExact(number, -1).c_str(), nullptr);
  }
  if (place == IFX_TYPE_SMALLFLOAT) {
    writePlace(entry.data, static_cast<float>(value));
  } else {
    writePlace(entry.data, value);
  }
  setIndicator(entry, 0);
  return 0;
}

// A double stored for a column of fixed scale holds at most 15 significant
// digits (what the column stored): scaled to a whole number below 10^15 it
// rounds back to those digits exactly, without a text of the double.
bool scaledDouble(double value, int scale, ExactNumber& number) {
  constexpr double kLimit = 1e15;
  if (scale < 0 || scale > 15 || !std::isfinite(value)) return false;
  const double scaled = value * kPowersOfTen[scale];
  if (!(std::fabs(scaled) < kLimit)) return false;
  const long long whole = std::llround(scaled);
  number = ExactNumber{};
  if (whole == 0) return true;
  number.negative = whole < 0;
  std::string digits = std::to_string(whole < 0 ? -whole : whole);
  int exponent = -scale;
  while (digits.size() > 1 && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  number.digits = std::move(digits);
  number.exponent = exponent;
  return true;
}

int32_t fetchDecimal(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry) {
  ExactNumber number;
  const int scale = fixedScale(column.type);
  int32_t rc = 0;
  if (sqlite3_column_type(statement, index) != SQLITE_FLOAT ||
      !scaledDouble(sqlite3_column_double(statement, index), scale, number)) {
    rc = valueExact(statement, index, number);
  }
  if (rc != 0) return rc;
  if (scale >= 0) number = roundExact(number, scale);
  IfxDecimal value;
  rc = exactToDecimal(number, value);
  if (rc != 0) return rc;
  writePlace(entry.data, value);
  setIndicator(entry, 0);
  return 0;
}

int32_t fetchLocator(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry) {
  auto locator = readPlace<IfxLocator>(entry.data);
  locator.status = 0;
  locator.type = lowType(column.type.type) == IFX_TYPE_TEXT ? IFX_TYPE_TEXT : IFX_TYPE_BYTE;
  if (sqlite3_column_type(statement, index) == SQLITE_NULL) {
    locator.indicator = -1;
    locator.size = 0;
    writePlace(entry.data, locator);
    setIndicator(entry, -1);
    return 0;
  }
  const std::string_view bytes = valueBytes(statement, index);
  int32_t rc = 0;
  size_t copied = bytes.size();
  if (locator.bufferSize == -1 || (locator.memoryFlags & IFX_LOC_RUNTIME_BUFFER) != 0) {
    // Only a buffer the runtime allocated itself is reallocated; any other
    // pointer in a locator asking for allocation is the caller's business.
    void* own = (locator.memoryFlags & IFX_LOC_RUNTIME_BUFFER) != 0 ? locator.buffer : nullptr;
    void* buffer = std::realloc(own, bytes.empty() ? 1 : bytes.size());
    if (buffer == nullptr) return code::kOutOfMemory;
    locator.buffer = static_cast<char*>(buffer);
    locator.bufferSize = static_cast<int32_t>(bytes.size());
    locator.memoryFlags |= IFX_LOC_RUNTIME_BUFFER;
  } else if (static_cast<size_t>(locator.bufferSize) < bytes.size() || locator.buffer == nullptr) {
    copied = locator.buffer == nullptr ? 0 : static_cast<size_t>(locator.bufferSize);
    rc = code::kValueTruncated;
    locator.status = rc;
  }
  if (copied > 0) std::memcpy(locator.buffer, bytes.data(), copied);
  locator.size = static_cast<int32_t>(copied);
  locator.indicator = 0;
  writePlace(entry.data, locator);
  setIndicator(entry, 0);
  return rc;
}

int32_t fetchHandle(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry) {
  // The column holds the object's id; a CLOB column's text affinity keeps it
  // as a text.
  ExactNumber id;
  if (valueExact(statement, index, id) != 0 || id.negative || id.exponent < 0 ||
      significantDigits(id) + id.exponent > kMaxExactIntegerDigits) {
    return code::kLobNotFound;
  }
  const int32_t kind = column.type.extendedType == IFX_XID_CLOB ? IFX_XID_CLOB : IFX_XID_BLOB;
  IfxLobHandle handle;
  const int64_t number = std::strtoll(formatExact(id, 0).c_str(), nullptr, 10);
  writeLobHandle(lobNameFor(sqlite3_db_handle(statement), number, kind), handle);
  writePlace(entry.data, handle);
  setIndicator(entry, 0);
  return 0;
}

void writeNull(IfxDescriptorEntry& entry, int place) {
  if (isDecimalType(place)) {
    IfxDecimal value;
    setDecimalNull(value);
    writePlace(entry.data, value);
  } else if (place == IFX_TYPE_DATETIME || place == IFX_TYPE_INTERVAL) {
    auto value = readPlace<IfxDatetime>(entry.data);
    setDecimalNull(value.value);
    writePlace(entry.data, value);
  }
  setIndicator(entry, -1);
}

// Binds an exact number so that SQLite keeps every digit: integers as
// integers, up to 15 digits as a double (which gives them back unchanged),
// longer numbers as the text in a blob, which no column affinity converts.
int bindExact(sqlite3_stmt* statement, int index, const ExactNumber& number) {
  const int digits = significantDigits(number);
  if (number.exponent >= 0 && digits + number.exponent <= kMaxExactIntegerDigits) {
    return sqlite3_bind_int64(statement, index, std::strtoll(formatExact(number, 0).c_str(), nullptr, 10));
  }
  const std::string text = formatExact(number, -1);
  if (digits <= kMaxExactDoubleDigits) return sqlite3_bind_double(statement, index, std::strtod(text.c_str(), nullptr));
  return sqlite3_bind_blob(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

int bindText(sqlite3_stmt* statement, int index, const std::string& text) {
  return sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// SQLite would keep NaN as NULL: a value that is no number goes as its name,
// which every numeric column refuses (-1213) when it is written.
int bindDouble(sqlite3_stmt* statement, int index, double value) {
  // -0.0 goes as its text in a blob, which no column affinity turns into 0.
  if (value == 0 && std::signbit(value)) return sqlite3_bind_blob(statement, index, "-0", 2, SQLITE_STATIC);
  if (std::isfinite(value)) return sqlite3_bind_double(statement, index, value);
  return bindText(statement, index, doubleName(value));
}

int32_t toCode(int rc) { return rc == SQLITE_OK ? 0 : (rc == SQLITE_NOMEM ? code::kOutOfMemory : code::kHostVariableCount); }

}  // namespace

int32_t bindParameter(sqlite3_stmt* statement, int index, const IfxDescriptorEntry& entry) {
  const int type = lowType(entry.type);
  int16_t indicator = 0;
  if (entry.indicator != nullptr) std::memcpy(&indicator, entry.indicator, sizeof indicator);
  if (indicator == -1 || entry.data == nullptr) return toCode(sqlite3_bind_null(statement, index));
  switch (type) {
    case IFX_TYPE_CHAR:
    case IFX_TYPE_NCHAR:
    case IFX_TYPE_VARCHAR:
    case IFX_TYPE_NVARCHAR: {
      const size_t size = entry.length > 0 ? strnlen(entry.data, static_cast<size_t>(entry.length)) : std::strlen(entry.data);
      return toCode(bindText(statement, index, std::string(entry.data, size)));
    }
    case IFX_TYPE_SMALLINT: return toCode(sqlite3_bind_int(statement, index, readPlace<int16_t>(entry.data)));
    case IFX_TYPE_INTEGER:
    case IFX_TYPE_SERIAL: return toCode(sqlite3_bind_int(statement, index, readPlace<int32_t>(entry.data)));
    case IFX_TYPE_FLOAT: return toCode(bindDouble(statement, index, readPlace<double>(entry.data)));
    case IFX_TYPE_SMALLFLOAT: return toCode(bindDouble(statement, index, readPlace<float>(entry.data)));
    case IFX_TYPE_DECIMAL:
    case IFX_TYPE_MONEY: {
      const auto value = readPlace<IfxDecimal>(entry.data);
      if (decimalIsNull(value)) return toCode(sqlite3_bind_null(statement, index));
      return toCode(bindExact(statement, index, decimalToExact(value)));
    }
    case IFX_TYPE_DATE: {
      int year = 0, month = 0, day = 0;
      const int32_t rc = dayCountToDate(readPlace<int32_t>(entry.data), year, month, day);
      if (rc != 0) return rc;
      char text[16];
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
      return toCode(bindText(statement, index, text));
    }
    case IFX_TYPE_DATETIME: {
      const auto value = readPlace<IfxDatetime>(entry.data);
      if (value.qualifier == 0 || decimalIsNull(value.value)) return toCode(sqlite3_bind_null(statement, index));
      TimeFields fields;
      const int32_t rc = datetimeFields(value, fields);
      if (rc != 0) return rc;
      return toCode(bindText(statement, index, datetimeText(fields, value.qualifier)));
    }
    case IFX_TYPE_INTERVAL: {
      const auto value = readPlace<IfxInterval>(entry.data);
      if (value.qualifier == 0 || decimalIsNull(value.value)) return toCode(sqlite3_bind_null(statement, index));
      TimeFields fields;
      const int32_t rc = intervalFields(value, fields);
      if (rc != 0) return rc;
      std::string text = intervalText(fields, value.qualifier);
      text.erase(0, text.find_first_not_of(' '));
      return toCode(bindText(statement, index, text));
    }
    case IFX_TYPE_BYTE:
    case IFX_TYPE_TEXT: {
      const auto locator = readPlace<IfxLocator>(entry.data);
      if (locator.indicator == -1) return toCode(sqlite3_bind_null(statement, index));
      if (locator.size < 0 || (locator.buffer == nullptr && locator.size > 0)) return code::kHostVariableCount;
      return toCode(sqlite3_bind_blob(statement, index, locator.buffer != nullptr ? locator.buffer : "", locator.size,
                                      SQLITE_TRANSIENT));
    }
    case IFX_TYPE_OPAQUE: {
      LobName name;
      if (!readLobHandle(readPlace<IfxLobHandle>(entry.data), name)) return code::kLobBadDescriptor;
      if (!lobBelongsTo(name, sqlite3_db_handle(statement))) return code::kLobNotFound;
      return toCode(sqlite3_bind_int64(statement, index, name.id));
    }
    default: return code::kHostVariableCount;
  }
}

int32_t fetchColumn(sqlite3_stmt* statement, int index, const ResultColumn& column, IfxDescriptorEntry& entry) {
  if (entry.data == nullptr) return 0;
  const int place = lowType(entry.type);
  if (isCharacterType(place)) return fetchText(statement, index, column, entry, place);
  const bool known = place == IFX_TYPE_SMALLINT || place == IFX_TYPE_INTEGER || place == IFX_TYPE_SERIAL ||
                     place == IFX_TYPE_FLOAT || place == IFX_TYPE_SMALLFLOAT || isDecimalType(place) ||
                     place == IFX_TYPE_DATE || place == IFX_TYPE_DATETIME || place == IFX_TYPE_INTERVAL ||
                     place == IFX_TYPE_BYTE || place == IFX_TYPE_TEXT || place == IFX_TYPE_OPAQUE;
  if (!known) return code::kHostVariableCount;
  if (place == IFX_TYPE_BYTE || place == IFX_TYPE_TEXT) return fetchLocator(statement, index, column, entry);
  if (sqlite3_column_type(statement, index) == SQLITE_NULL) {
    writeNull(entry, place);
    return 0;
  }
  switch (place) {
    case IFX_TYPE_SMALLINT:
    case IFX_TYPE_INTEGER:
    case IFX_TYPE_SERIAL: return fetchInteger(statement, index, entry, place);
    case IFX_TYPE_FLOAT:
    case IFX_TYPE_SMALLFLOAT: return fetchFloat(statement, index, entry, place);
    case IFX_TYPE_DECIMAL:
    case IFX_TYPE_MONEY: return fetchDecimal(statement, index, column, entry);
    case IFX_TYPE_DATE: {
      int32_t dayCount = 0;
      const int32_t rc = valueDayCount(statement, index, dayCount);
      if (rc != 0) return rc;
      writePlace(entry.data, dayCount);
      setIndicator(entry, 0);
      return 0;
    }
    case IFX_TYPE_DATETIME: {
      auto value = readPlace<IfxDatetime>(entry.data);
      int16_t target = value.qualifier;
      if (!Qualifier(target).validDatetime()) {
        target = lowType(column.type.type) == IFX_TYPE_DATETIME ? static_cast<int16_t>(column.type.length)
                                                                 : fullDatetimeQualifier();
      }
      TimeFields fields;
      int32_t rc = valueDatetime(statement, index, column.type, target, fields);
      if (rc == 0) rc = makeDatetime(fields, target, value);
      if (rc != 0) return rc;
      writePlace(entry.data, value);
      setIndicator(entry, 0);
      return 0;
    }
    case IFX_TYPE_INTERVAL: {
      auto value = readPlace<IfxInterval>(entry.data);
      TimeFields fields;
      int32_t rc = valueInterval(statement, index, column.type, fields);
      if (rc == 0) rc = makeInterval(fields, intervalQualifierFor(column.type, value.qualifier), value);
      if (rc != 0) return rc;
      writePlace(entry.data, value);
      setIndicator(entry, 0);
      return 0;
    }
    default: return fetchHandle(statement, index, column, entry);
  }
}

}  // namespace ifxrt
