#include "column_types.h"

#include <cctype>
#include <string>
#include <vector>

#include "ifxrt/statements.h"

namespace ifxrt {
namespace {

constexpr int kDefaultCharLength = 1;
constexpr int kDefaultDecimalPrecision = 16;
constexpr int kDefaultMoneyScale = 2;
constexpr int kMaxDecimalPrecision = 32;
constexpr int kMaxCharLength = 32767;
constexpr int kMaxVarcharLength = 255;
constexpr int kDefaultLvarcharLength = 2048;
constexpr int kBlobLocatorLength = 56;
constexpr int kLobHandleLength = 72;
constexpr int kBigintType = 52;
constexpr int kBigserialType = 53;
constexpr int kMaxIntervalFirstDigits = 9;

// The words of a type phrase, upper case, with "(", ")" and "," as words of
// their own.
std::vector<std::string> words(std::string_view text) {
  std::vector<std::string> out;
  std::string word;
  auto flush = [&] {
    if (!word.empty()) out.push_back(word);
    word.clear();
  };
  for (char c : text) {
    if (c == '(' || c == ')' || c == ',') {
      flush();
      out.emplace_back(1, c);
    } else if (std::isspace(static_cast<unsigned char>(c)) || c == '"' || c == '\'' || c == '`' ||
               c == '[' || c == ']') {
      flush();
    } else {
      word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  flush();
  return out;
}

bool isNumber(const std::string& word) {
  if (word.empty() || word.size() > 6) return false;
  for (char c : word) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Reads "(a)" or "(a, b)" at `at`; the numbers stay -1 when absent. False
// for a malformed list.
bool readArguments(const std::vector<std::string>& w, size_t& at, int& first, int& second) {
  first = second = -1;
  if (at >= w.size() || w[at] != "(") return true;
  if (at + 2 >= w.size() || !isNumber(w[at + 1])) return false;
  first = std::stoi(w[at + 1]);
  at += 2;
  if (w[at] == ",") {
    if (at + 2 >= w.size() || !isNumber(w[at + 1])) return false;
    second = std::stoi(w[at + 1]);
    at += 2;
  }
  if (w[at] != ")") return false;
  ++at;
  return true;
}

// The time unit of a qualifier word; FRACTION takes its digits (1 to 5,
// default 3) from `digits`.
std::optional<int> timeUnit(const std::string& word, int digits) {
  if (word == "YEAR") return IFX_TU_YEAR;
  if (word == "MONTH") return IFX_TU_MONTH;
  if (word == "DAY") return IFX_TU_DAY;
  if (word == "HOUR") return IFX_TU_HOUR;
  if (word == "MINUTE") return IFX_TU_MINUTE;
  if (word == "SECOND") return IFX_TU_SECOND;
  if (word == "FRACTION") {
    if (digits == -1) digits = 3;
    if (digits < 1 || digits > 5) return std::nullopt;
    return IFX_TU_SECOND + digits;
  }
  return std::nullopt;
}

struct QualifierPhrase {
  int start;
  int startDigits;  // -1 when not given
  int end;
};

std::optional<QualifierPhrase> readQualifier(const std::vector<std::string>& w, size_t at) {
  if (at >= w.size()) return std::nullopt;
  const std::string& startWord = w[at++];
  int startDigits = -1;
  int unused = -1;
  if (!readArguments(w, at, startDigits, unused) || unused != -1) return std::nullopt;
  if (startWord == "FRACTION") return std::nullopt;  // a fraction never starts a qualifier
  const std::optional<int> start = timeUnit(startWord, -1);
  if (!start) return std::nullopt;
  std::optional<int> end = start;
  if (at < w.size()) {
    if (w[at] != "TO" || at + 1 >= w.size()) return std::nullopt;
    const std::string& endWord = w[at + 1];
    at += 2;
    int endDigits = -1;
    if (!readArguments(w, at, endDigits, unused) || unused != -1) return std::nullopt;
    if (endWord != "FRACTION" && endDigits != -1) return std::nullopt;
    end = timeUnit(endWord, endDigits);
  }
  if (!end || at != w.size() || *end < *start) return std::nullopt;
  return QualifierPhrase{*start, startDigits, *end};
}

std::optional<int16_t> datetimeQualifier(const std::vector<std::string>& w, size_t at) {
  const std::optional<QualifierPhrase> q = readQualifier(w, at);
  if (!q || q->startDigits != -1) return std::nullopt;
  const int digits = q->end - q->start + (q->start == IFX_TU_YEAR ? 4 : 2);
  return IFX_QUALIFIER(digits, q->start, q->end);
}

std::optional<int16_t> intervalQualifier(const std::vector<std::string>& w, size_t at) {
  const std::optional<QualifierPhrase> q = readQualifier(w, at);
  if (!q) return std::nullopt;
  // Intervals count either years and months or days and smaller units.
  const bool yearMonth = q->start <= IFX_TU_MONTH;
  if (yearMonth != (q->end <= IFX_TU_MONTH)) return std::nullopt;
  int first = q->startDigits;
  if (first == -1) first = q->start == IFX_TU_YEAR ? 4 : 2;
  if (first < 1 || first > kMaxIntervalFirstDigits) return std::nullopt;
  return IFX_QUALIFIER(first + q->end - q->start, q->start, q->end);
}

ColumnType make(int type, int length, int extendedType = 0) {
  return ColumnType{static_cast<int16_t>(type), length, extendedType};
}

std::optional<ColumnType> characterType(const std::string& name, int first, int second) {
  const bool national = name == "NCHAR" || name == "NVARCHAR";
  if (name == "CHAR" || name == "CHARACTER" || name == "NCHAR") {
    if (second != -1) return std::nullopt;
    const int n = first == -1 ? kDefaultCharLength : first;
    if (n < 1 || n > kMaxCharLength) return std::nullopt;
    return make(national ? IFX_TYPE_NCHAR : IFX_TYPE_CHAR, n);
  }
  // VARCHAR(max [, reserved])
  const int max = first == -1 ? 1 : first;
  const int reserve = second == -1 ? 0 : second;
  if (max < 1 || max > kMaxVarcharLength || reserve > max) return std::nullopt;
  return make(national ? IFX_TYPE_NVARCHAR : IFX_TYPE_VARCHAR, max + 256 * reserve);
}

std::optional<ColumnType> decimalType(const std::string& name, int first, int second) {
  const bool money = name == "MONEY";
  const int precision = first == -1 ? kDefaultDecimalPrecision : first;
  // DECIMAL without a scale is a floating decimal (scale 255); MONEY always
  // has a scale.
  const int scale = second != -1 ? second : (money ? kDefaultMoneyScale : 255);
  if (precision < 1 || precision > kMaxDecimalPrecision) return std::nullopt;
  if (scale != 255 && scale > precision) return std::nullopt;
  return make(money ? IFX_TYPE_MONEY : IFX_TYPE_DECIMAL, decimalLength(precision, scale));
}

// Types written as one or two words with an optional argument list.
std::optional<ColumnType> simpleType(std::string name, const std::vector<std::string>& w, size_t at) {
  int first = -1;
  int second = -1;
  if (!readArguments(w, at, first, second) || at != w.size()) return std::nullopt;
  const bool noArguments = first == -1 && second == -1;
  if (name == "CHAR" || name == "CHARACTER" || name == "NCHAR" || name == "VARCHAR" || name == "NVARCHAR" ||
      name == "CHARACTER VARYING") {
    return characterType(name == "CHARACTER VARYING" ? "VARCHAR" : name, first, second);
  }
  if (name == "DECIMAL" || name == "DEC" || name == "NUMERIC" || name == "MONEY") {
    return decimalType(name, first, second);
  }
  if (name == "LVARCHAR") {
    if (second != -1) return std::nullopt;
    return make(IFX_TYPE_LVARCHAR, first == -1 ? kDefaultLvarcharLength : first);
  }
  if (name == "FLOAT" || name == "DOUBLE PRECISION") {
    if (second != -1) return std::nullopt;
    return make(IFX_TYPE_FLOAT, 8);
  }
  if (name == "SERIAL") return second == -1 ? std::optional(make(IFX_TYPE_SERIAL, 4)) : std::nullopt;
  if (name == "SERIAL8") return second == -1 ? std::optional(make(IFX_TYPE_SERIAL8, 10)) : std::nullopt;
  if (name == "BIGSERIAL") return second == -1 ? std::optional(make(kBigserialType, 8)) : std::nullopt;
  if (!noArguments) return std::nullopt;
  if (name == "SMALLINT") return make(IFX_TYPE_SMALLINT, 2);
  if (name == "INTEGER" || name == "INT") return make(IFX_TYPE_INTEGER, 4);
  if (name == "SMALLFLOAT" || name == "REAL") return make(IFX_TYPE_SMALLFLOAT, 4);
  if (name == "DATE") return make(IFX_TYPE_DATE, 4);
  if (name == "BYTE") return make(IFX_TYPE_BYTE, kBlobLocatorLength);
  if (name == "TEXT") return make(IFX_TYPE_TEXT, kBlobLocatorLength);
  if (name == "BLOB") return make(IFX_TYPE_OPAQUE, kLobHandleLength, IFX_XID_BLOB);
  if (name == "CLOB") return make(IFX_TYPE_OPAQUE, kLobHandleLength, IFX_XID_CLOB);
  if (name == "INT8") return make(IFX_TYPE_INT8, 10);
  if (name == "BIGINT") return make(kBigintType, 8);
  if (name == "BOOLEAN") return make(IFX_TYPE_BOOLEAN, 1);
  return std::nullopt;
}

}  // namespace

std::optional<int16_t> datetimeQualifierOf(std::string_view phrase) { return datetimeQualifier(words(phrase), 0); }

std::optional<int16_t> intervalQualifierOf(std::string_view phrase) { return intervalQualifier(words(phrase), 0); }

std::optional<ColumnType> columnTypeOf(std::string_view declared) {
  const std::vector<std::string> w = words(declared);
  if (w.empty()) return std::nullopt;
  if (w[0] == "DATETIME") {
    const std::optional<int16_t> q = datetimeQualifier(w, 1);
    if (!q) return std::nullopt;
    return make(IFX_TYPE_DATETIME, *q);
  }
  if (w[0] == "INTERVAL") {
    const std::optional<int16_t> q = intervalQualifier(w, 1);
    if (!q) return std::nullopt;
    return make(IFX_TYPE_INTERVAL, *q);
  }
  if (w.size() >= 2 && ((w[0] == "CHARACTER" && w[1] == "VARYING") || (w[0] == "DOUBLE" && w[1] == "PRECISION"))) {
    return simpleType(w[0] + " " + w[1], w, 2);
  }
  return simpleType(w[0], w, 1);
}

}  // namespace ifxrt
