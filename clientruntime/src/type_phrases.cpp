#include "type_phrases.h"

#include <cctype>
#include <optional>

namespace ifxrt {
namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool isUnit(std::string_view word) {
  for (std::string_view unit : {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND", "FRACTION"}) {
    if (sameWord(word, unit)) return true;
  }
  return false;
}

// Reads the word starting at `at` after blanks; empty when none.
std::string_view wordAt(std::string_view sql, size_t& at) {
  while (at < sql.size() && std::isspace(static_cast<unsigned char>(sql[at]))) ++at;
  const size_t start = at;
  while (at < sql.size() && isWordChar(sql[at])) ++at;
  return sql.substr(start, at - start);
}

// Skips "(digits)" after blanks; leaves `at` alone when there is none.
void skipDigitsList(std::string_view sql, size_t& at) {
  size_t i = at;
  while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
  if (i >= sql.size() || sql[i] != '(') return;
  ++i;
  while (i < sql.size() && (std::isdigit(static_cast<unsigned char>(sql[i])) || sql[i] == ' ')) ++i;
  if (i < sql.size() && sql[i] == ')') at = i + 1;
}

// End of the qualifier phrase "unit [(n)] [TO unit [(n)]]" that starts at
// `at`, or nothing when no unit follows.
std::optional<size_t> qualifierEnd(std::string_view sql, size_t at) {
  size_t i = at;
  if (!isUnit(wordAt(sql, i))) return std::nullopt;
  skipDigitsList(sql, i);
  size_t j = i;
  if (sameWord(wordAt(sql, j), "TO")) {
    size_t k = j;
    if (isUnit(wordAt(sql, k))) {
      skipDigitsList(sql, k);
      i = k;
    }
  }
  return i;
}

// One blank between words, none inside the digit lists.
std::string tidy(std::string_view phrase) {
  std::string out;
  bool blank = false;
  for (char c : phrase) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      blank = true;
      continue;
    }
    if (blank && !out.empty() && c != '(' && c != ')' && out.back() != '(') out += ' ';
    blank = false;
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

// Index just past a quoted part or comment starting at `at`, or `at` when
// none starts there.
size_t skipQuotedOrComment(std::string_view sql, size_t at) {
  const char c = sql[at];
  if (c == '\'' || c == '"' || c == '`' || c == '[') {
    const char close = c == '[' ? ']' : c;
    size_t i = at + 1;
    while (i < sql.size()) {
      if (sql[i] == close) {
        if (close != ']' && i + 1 < sql.size() && sql[i + 1] == close) {
          i += 2;  // a doubled quote stays inside
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return sql.size();
  }
  if (c == '-' && at + 1 < sql.size() && sql[at + 1] == '-') {
    const size_t end = sql.find('\n', at);
    return end == std::string_view::npos ? sql.size() : end;
  }
  if (c == '/' && at + 1 < sql.size() && sql[at + 1] == '*') {
    const size_t end = sql.find("*/", at + 2);
    return end == std::string_view::npos ? sql.size() : end + 2;
  }
  return at;
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// End of the number literal starting at `at` (digits, a fraction, an
// exponent), or `at` when none starts there.
size_t numberEnd(std::string_view sql, size_t at) {
  if (at > 0 && (isWordChar(sql[at - 1]) || sql[at - 1] == '.')) return at;
  size_t i = at;
  while (i < sql.size() && isDigit(sql[i])) ++i;
  if (i < sql.size() && sql[i] == '.') {
    ++i;
    while (i < sql.size() && isDigit(sql[i])) ++i;
  }
  if (i == at || (i == at + 1 && sql[at] == '.')) return at;
  if (i < sql.size() && (sql[i] == 'e' || sql[i] == 'E')) {
    size_t j = i + 1;
    if (j < sql.size() && (sql[j] == '+' || sql[j] == '-')) ++j;
    if (j < sql.size() && isDigit(sql[j])) {
      while (j < sql.size() && isDigit(sql[j])) ++j;
      i = j;
    }
  }
  if (i < sql.size() && isWordChar(sql[i])) return at;  // part of a name
  return i;
}

// A literal SQLite would read as a double and round: more than 15
// significant digits, and not a whole number within 19 digits.
bool losesDigits(std::string_view literal) {
  const bool whole = literal.find_first_of(".eE") == std::string_view::npos;
  const size_t first = literal.find_first_not_of("0.");
  if (first == std::string_view::npos) return false;
  size_t significant = 0;
  size_t trailingZeros = 0;
  for (size_t i = first; i < literal.size() && literal[i] != 'e' && literal[i] != 'E'; ++i) {
    if (!isDigit(literal[i])) continue;
    ++significant;
    trailingZeros = literal[i] == '0' ? trailingZeros + 1 : 0;
  }
  if (whole) return significant > 19;  // beyond every 64-bit integer
  return significant - trailingZeros > 15;
}

// The literal's text as a blob literal, which SQLite stores as it is; the
// column's conversion reads every digit of it.
std::string blobLiteral(std::string_view literal) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "X'";
  for (char c : literal) {
    out += kHex[static_cast<unsigned char>(c) >> 4];
    out += kHex[static_cast<unsigned char>(c) & 0xF];
  }
  return out + "'";
}

}  // namespace

std::string rewriteTypePhrases(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 8);
  size_t i = 0;
  while (i < sql.size()) {
    const size_t skipped = skipQuotedOrComment(sql, i);
    if (skipped != i) {
      out.append(sql.substr(i, skipped - i));
      i = skipped;
      continue;
    }
    if (const size_t end = numberEnd(sql, i); end != i) {
      const std::string_view literal = sql.substr(i, end - i);
      if (losesDigits(literal)) {
        out += blobLiteral(literal);
      } else {
        out.append(literal);
      }
      i = end;
      continue;
    }
    if (!isWordChar(sql[i])) {
      out += sql[i++];
      continue;
    }
    size_t end = i;
    while (end < sql.size() && isWordChar(sql[end])) ++end;
    const std::string_view word = sql.substr(i, end - i);
    const bool startsWord = i == 0 || !isWordChar(sql[i - 1]);
    if (startsWord && (sameWord(word, "DATETIME") || sameWord(word, "INTERVAL"))) {
      if (const std::optional<size_t> phraseEnd = qualifierEnd(sql, end)) {
        out += '"';
        out += tidy(sql.substr(i, *phraseEnd - i));
        out += '"';
        i = *phraseEnd;
        continue;
      }
    }
    out.append(word);
    i = end;
  }
  return out;
}

}  // namespace ifxrt
