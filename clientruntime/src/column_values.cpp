// Converting a value to what its column stores, or refusing it.
#include "column_values.h"

#include <sqlite3.h>

#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "exact_number.h"
#include "ifxrt/statements.h"
#include "status_codes.h"
#include "time_values.h"

namespace ifxrt {
namespace {

constexpr int kBigintType = 52;
constexpr int kBigserialType = 53;
constexpr int kMaxExactIntegerDigits = 18;  // always within int64
constexpr int kMaxExactDoubleDigits = 15;   // a double gives these back unchanged
constexpr size_t kMaxArgument = 60;
constexpr const char kNegativeZero[] = "-0";

std::string_view textOf(sqlite3_value* value) {
  const auto* bytes = static_cast<const char*>(sqlite3_value_blob(value));
  const int size = sqlite3_value_bytes(value);
  return bytes != nullptr ? std::string_view(bytes, static_cast<size_t>(size)) : std::string_view();
}

// The value as a refusal names it: a text quoted (and shortened), a number
// as its text.
std::string nameOf(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: return std::to_string(sqlite3_value_int64(value));
    case SQLITE_FLOAT: return doubleName(sqlite3_value_double(value));
    default: {
      std::string text(textOf(value).substr(0, kMaxArgument));
      for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
      }
      return "'" + text + "'";
    }
  }
}

bool refuse(int32_t code, sqlite3_value* value, Refusal& refusal) {
  refusal.code = code;
  refusal.argument = nameOf(value);
  return false;
}

// The value as an exact number; false (with -1213) when it is none.
bool exactOf(sqlite3_value* value, ExactNumber& number, Refusal& refusal) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: parseExactNumber(std::to_string(sqlite3_value_int64(value)), number); return true;
    case SQLITE_FLOAT: {
      const double d = sqlite3_value_double(value);
      if (!std::isfinite(d)) return refuse(code::kNotANumber, value, refusal);
      parseExactNumber(shortestDoubleText(d), number);
      return true;
    }
    default:
      if (!parseExactNumber(textOf(value), number)) return refuse(code::kNotANumber, value, refusal);
      return true;
  }
}

bool isIntegerType(int type) {
  return type == IFX_TYPE_SMALLINT || type == IFX_TYPE_INTEGER || type == IFX_TYPE_SERIAL ||
         type == IFX_TYPE_INT8 || type == IFX_TYPE_SERIAL8 || type == kBigintType || type == kBigserialType;
}

// Whole numbers: a fraction is dropped (toward zero), as Informix turns a
// decimal into an integer; out of the type's range is refused.
bool storeInteger(int type, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  int64_t whole = 0;
  if (sqlite3_value_type(value) == SQLITE_INTEGER) {
    whole = sqlite3_value_int64(value);
  } else {
    ExactNumber number;
    if (!exactOf(value, number, refusal)) return false;
    number = truncateExact(number);
    const int32_t tooLarge = type == IFX_TYPE_SMALLINT ? code::kSmallintOverflow : code::kIntegerOverflow;
    if (significantDigits(number) + number.exponent > kMaxExactIntegerDigits + 1) return refuse(tooLarge, value, refusal);
    const std::string text = formatExact(number, 0);
    errno = 0;
    whole = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE) return refuse(tooLarge, value, refusal);
  }
  // The ranges of the host's 16- and 32-bit integers (the driver's value
  // forms reach the most negative value too).
  if (type == IFX_TYPE_SMALLINT && (whole < INT16_MIN || whole > INT16_MAX)) return refuse(code::kSmallintOverflow, value, refusal);
  const bool fourBytes = type == IFX_TYPE_INTEGER || type == IFX_TYPE_SERIAL;
  if (fourBytes && (whole < INT32_MIN || whole > INT32_MAX)) return refuse(code::kIntegerOverflow, value, refusal);
  sqlite3_result_int64(context, whole);
  return true;
}

bool storeFloat(int type, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  double number = 0;
  if (sqlite3_value_type(value) == SQLITE_BLOB && textOf(value) == kNegativeZero) {
    number = -0.0;
  } else if (sqlite3_value_type(value) == SQLITE_INTEGER || sqlite3_value_type(value) == SQLITE_FLOAT) {
    number = sqlite3_value_double(value);
  } else {
    ExactNumber exact;
    if (!exactOf(value, exact, refusal)) return false;
    number = std::strtod(formatExact(exact, -1).c_str(), nullptr);
  }
  if (!std::isfinite(number)) return refuse(code::kNotANumber, value, refusal);
  if (type == IFX_TYPE_SMALLFLOAT) {
    const float narrow = static_cast<float>(number);
    if (!std::isfinite(narrow)) return refuse(code::kNotANumber, value, refusal);
    number = narrow;
  }
  if (number == 0 && std::signbit(number)) {
    // A column of REAL affinity keeps a whole double as an integer and
    // would lose the sign of -0.0; its text in a blob keeps it.
    sqlite3_result_blob(context, kNegativeZero, 2, SQLITE_STATIC);
    return true;
  }
  sqlite3_result_double(context, number);
  return true;
}

// Stores an exact number so that SQLite keeps every digit: whole numbers as
// integers, up to 15 digits as a double (which gives them back unchanged),
// longer numbers as their text in a blob, which no column affinity converts.
void resultExact(sqlite3_context* context, const ExactNumber& number) {
  const int digits = significantDigits(number);
  if (number.exponent >= 0 && digits + number.exponent <= kMaxExactIntegerDigits) {
    sqlite3_result_int64(context, std::strtoll(formatExact(number, 0).c_str(), nullptr, 10));
    return;
  }
  const std::string text = formatExact(number, -1);
  if (digits <= kMaxExactDoubleDigits) {
    sqlite3_result_double(context, std::strtod(text.c_str(), nullptr));
    return;
  }
  sqlite3_result_blob(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// DECIMAL(p,s) and MONEY(p,s): rounded to s places, at most p - s integer
// digits; DECIMAL(p) keeps p significant digits.
bool storeDecimal(const ColumnType& type, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  ExactNumber number;
  if (!exactOf(value, number, refusal)) return false;
  const int precision = (type.length >> 8) & 0xFF;
  const int scale = type.length & 0xFF;
  if (scale == 0xFF) {
    number = roundSignificant(number, precision);
  } else {
    number = roundExact(number, scale);
    if (!number.isZero() && significantDigits(number) + number.exponent > precision - scale) {
      return refuse(code::kColumnPrecision, value, refusal);
    }
  }
  resultExact(context, number);
  return true;
}

void resultText(sqlite3_context* context, const std::string& text) {
  sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A date from a day count, "yyyy-mm-dd" or "mm/dd/yyyy" (Informix's default
// DBDATE order); -1218 for any other text.
bool storeDate(sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  int year = 0, month = 0, day = 0;
  int32_t dayCount = 0;
  if (sqlite3_value_type(value) == SQLITE_INTEGER) {
    const int64_t count = sqlite3_value_int64(value);
    if (count < INT32_MIN || count > INT32_MAX || dayCountToDate(static_cast<int32_t>(count), year, month, day) != 0) {
      return refuse(code::kBadDayCount, value, refusal);
    }
  } else {
    const std::string text(textOf(value));
    char extra = 0;
    const bool iso = std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &extra) == 3;
    const bool mdy = !iso && std::sscanf(text.c_str(), "%2d/%2d/%4d%c", &month, &day, &year, &extra) == 3;
    if (sqlite3_value_type(value) == SQLITE_FLOAT || (!iso && !mdy) || dateToDayCount(year, month, day, dayCount) != 0) {
      return refuse(code::kDateConversion, value, refusal);
    }
  }
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  resultText(context, text);
  return true;
}

std::string valueText(sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_INTEGER) return std::to_string(sqlite3_value_int64(value));
  if (sqlite3_value_type(value) == SQLITE_FLOAT) return shortestDoubleText(sqlite3_value_double(value));
  return std::string(textOf(value));
}

// A date-time in the column's qualifier: the text of exactly its fields, or
// a longer or shorter date-time text, which is extended to them.
bool storeDatetime(int16_t qualifier, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  const std::string text = valueText(value);
  TimeFields fields;
  const int32_t exact = parseDatetime(text, qualifier, fields);
  if (exact != 0) {
    TimeFields loose;
    int16_t found = 0;
    if (parseStoredDatetime(text, qualifier, loose, found) != 0 || extendFields(loose, found, qualifier, fields) != 0) {
      return refuse(exact, value, refusal);
    }
  }
  resultText(context, datetimeText(fields, qualifier));
  return true;
}

bool storeInterval(int16_t qualifier, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  TimeFields fields;
  const int32_t rc = parseInterval(valueText(value), qualifier, fields);
  if (rc != 0) return refuse(rc, value, refusal);
  std::string text = intervalText(fields, qualifier);
  text.erase(0, text.find_first_not_of(' '));
  resultText(context, text);
  return true;
}

// CHAR, VARCHAR and LVARCHAR: a longer text is cut at a character boundary,
// or refused in an ANSI database unless only blanks are cut.
bool storeText(size_t width, LongText longText, sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  if (sqlite3_value_type(value) == SQLITE_BLOB) {
    sqlite3_result_value(context, value);
    return true;
  }
  const std::string text = valueText(value);
  if (text.size() <= width) {
    sqlite3_result_value(context, value);
    return true;
  }
  const size_t kept = utf8Prefix(text, width);
  if (longText == LongText::Refuse && text.find_first_not_of(' ', kept) != std::string::npos) {
    return refuse(code::kTextTooLong, value, refusal);
  }
  resultText(context, text.substr(0, kept));
  return true;
}

// BOOLEAN: 't' or 'f' (either case), 1 or 0; stored as 1 or 0.
bool storeBoolean(sqlite3_value* value, sqlite3_context* context, Refusal& refusal) {
  if (sqlite3_value_type(value) == SQLITE_INTEGER) {
    const int64_t number = sqlite3_value_int64(value);
    if (number != 0 && number != 1) return refuse(code::kNoConversion, value, refusal);
    sqlite3_result_int(context, static_cast<int>(number));
    return true;
  }
  const std::string_view text = textOf(value);
  if (sqlite3_value_type(value) == SQLITE_TEXT && text.size() == 1) {
    const char c = text[0];
    if (c == 't' || c == 'T' || c == '1' || c == 'f' || c == 'F' || c == '0') {
      sqlite3_result_int(context, c == 't' || c == 'T' || c == '1' ? 1 : 0);
      return true;
    }
  }
  return refuse(code::kNoConversion, value, refusal);
}

}  // namespace

std::string doubleName(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  return shortestDoubleText(value);
}

size_t utf8Prefix(const std::string& text, size_t bytes) {
  if (bytes >= text.size()) return text.size();
  size_t end = bytes;
  // Back over continuation bytes to the start of the character cut in two.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

bool storeForColumn(const ColumnType& type, LongText longText, sqlite3_value* value, sqlite3_context* context,
                    Refusal& refusal) {
  if (sqlite3_value_type(value) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return true;
  }
  const int low = type.type & 0xFF;
  if (isIntegerType(low)) return storeInteger(low, value, context, refusal);
  switch (low) {
    case IFX_TYPE_FLOAT:
    case IFX_TYPE_SMALLFLOAT: return storeFloat(low, value, context, refusal);
    case IFX_TYPE_DECIMAL:
    case IFX_TYPE_MONEY: return storeDecimal(type, value, context, refusal);
    case IFX_TYPE_DATE: return storeDate(value, context, refusal);
    case IFX_TYPE_DATETIME: return storeDatetime(static_cast<int16_t>(type.length), value, context, refusal);
    case IFX_TYPE_INTERVAL: return storeInterval(static_cast<int16_t>(type.length), value, context, refusal);
    case IFX_TYPE_CHAR:
    case IFX_TYPE_NCHAR: return storeText(static_cast<size_t>(type.length), longText, value, context, refusal);
    case IFX_TYPE_VARCHAR:
    case IFX_TYPE_NVARCHAR: return storeText(static_cast<size_t>(type.length & 0xFF), longText, value, context, refusal);
    case IFX_TYPE_LVARCHAR: return storeText(static_cast<size_t>(type.length), longText, value, context, refusal);
    case IFX_TYPE_BOOLEAN: return storeBoolean(value, context, refusal);
    default: sqlite3_result_value(context, value); return true;
  }
}

}  // namespace ifxrt
