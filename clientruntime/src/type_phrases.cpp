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
