#include "type_phrases.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

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

// strftime's format for the fields of a qualifier phrase ("YEAR TO
// SECOND"; none is YEAR TO FRACTION); a fraction is given to milliseconds.
std::string currentFormat(std::string_view phrase) {
  static const char* const kUnits[] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND", "FRACTION"};
  static const char* const kFields[] = {"%Y", "%m", "%d", "%H", "%M", "%S", "%f"};
  static const char kSeparators[] = {' ', '-', '-', ' ', ':', ':', '.'};
  auto unitIndex = [](std::string_view word) {
    for (int i = 0; i < 7; ++i) {
      if (sameWord(word, kUnits[i])) return i;
    }
    return 6;
  };
  int first = 0;
  int last = 6;
  size_t at = 0;
  const std::string_view start = wordAt(phrase, at);
  if (!start.empty()) {
    first = last = unitIndex(start);
    skipDigitsList(phrase, at);
    if (sameWord(wordAt(phrase, at), "TO")) last = unitIndex(wordAt(phrase, at));
  }
  std::string format;
  for (int i = first; i <= last; ++i) {
    if (i == 6) {
      // %f is the seconds with their fraction: it takes the place of %S.
      if (format.size() >= 2 && format.compare(format.size() - 2, 2, "%S") == 0) format.erase(format.size() - 2);
      else if (!format.empty()) format += ':';
      format += kFields[6];
      continue;
    }
    if (i != first) format += kSeparators[i];
    format += kFields[i];
  }
  return format;
}

// Index of the ")" closing the "(" at `open`, or npos.
size_t closingParenthesis(std::string_view sql, size_t open) {
  const size_t close = sql.find(')', open);
  return close;
}

// SQL for a word of Informix's dialect starting at `at` (TODAY, CURRENT
// [qualifier], MATCHES, DATETIME (...) qualifier, INTERVAL (...)
// qualifier); `end` receives where the phrase ends. False for any other.
bool dialectWord(std::string_view sql, size_t at, std::string_view word, size_t& end, std::string& out) {
  if (sameWord(word, "TODAY")) {
    out = "date('now', 'localtime')";
    return true;
  }
  if (sameWord(word, "MATCHES")) {
    out = "GLOB";  // the same wild cards: * any text, ? one character, [...] one of
    return true;
  }
  if (sameWord(word, "CURRENT")) {
    const std::optional<size_t> phraseEnd = qualifierEnd(sql, end);
    const std::string_view phrase = phraseEnd ? sql.substr(end, *phraseEnd - end) : std::string_view();
    out = "strftime('" + currentFormat(phrase) + "', 'now', 'localtime')";
    if (phraseEnd) end = *phraseEnd;
    return true;
  }
  if (sameWord(word, "DATETIME") || sameWord(word, "INTERVAL")) {
    size_t open = end;
    while (open < sql.size() && std::isspace(static_cast<unsigned char>(sql[open]))) ++open;
    if (open >= sql.size() || sql[open] != '(') return false;
    const size_t close = closingParenthesis(sql, open);
    if (close == std::string_view::npos) return false;
    const std::optional<size_t> phraseEnd = qualifierEnd(sql, close + 1);
    if (!phraseEnd) return false;
    std::string value(sql.substr(open + 1, close - open - 1));
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    out = "'" + value + "'";
    end = *phraseEnd;
    return true;
  }
  (void)at;
  return false;
}

// A { ... } comment as an SQL comment.
std::string braceComment(std::string_view sql, size_t at, size_t& end) {
  const size_t close = sql.find('}', at + 1);
  end = close == std::string_view::npos ? sql.size() : close + 1;
  std::string inside(sql.substr(at + 1, (close == std::string_view::npos ? sql.size() : close) - at - 1));
  for (size_t star = inside.find("*/"); star != std::string::npos; star = inside.find("*/", star)) inside[star] = ' ';
  return "/*" + inside + "*/";
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
    if (sql[i] == '{') {
      size_t end = i;
      out += braceComment(sql, i, end);
      i = end;
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
    std::string dialect;
    size_t dialectEnd = end;
    if (startsWord && dialectWord(sql, i, word, dialectEnd, dialect)) {
      out += dialect;
      i = dialectEnd;
      continue;
    }
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

namespace ifxrt {
namespace {

struct Token {
  size_t start;
  size_t end;
  std::string upper;  // the word in upper case; empty for anything else
  int depth;          // parentheses around it
};

// The words of a statement outside quotes and comments, with their places.
std::vector<Token> wordsOf(std::string_view sql) {
  std::vector<Token> tokens;
  int depth = 0;
  size_t i = 0;
  while (i < sql.size()) {
    const size_t skipped = skipQuotedOrComment(sql, i);
    if (skipped != i) {
      tokens.push_back({i, skipped, "", depth});
      i = skipped;
      continue;
    }
    if (isWordChar(sql[i])) {
      size_t end = i;
      std::string upper;
      while (end < sql.size() && isWordChar(sql[end])) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[end])));
        ++end;
      }
      tokens.push_back({i, end, upper, depth});
      i = end;
      continue;
    }
    if (sql[i] == '(') ++depth;
    if (sql[i] == ')') --depth;
    if (!std::isspace(static_cast<unsigned char>(sql[i]))) tokens.push_back({i, i + 1, "", depth});
    ++i;
  }
  return tokens;
}

bool isNumberWord(const Token& token) {
  return !token.upper.empty() && std::all_of(token.upper.begin(), token.upper.end(), [](char c) { return isDigit(c); });
}

}  // namespace

std::string rewriteInformixStatement(std::string_view sql) {
  std::string text = rewriteTypePhrases(sql);
  const std::vector<Token> tokens = wordsOf(text);
  if (tokens.empty() || tokens[0].upper != "SELECT") return text;
  // SELECT [SKIP m] [FIRST n] ...: SQLite's LIMIT and OFFSET at the end.
  std::string skip;
  std::string first;
  size_t clauseEnd = tokens[0].end;
  size_t at = 1;
  for (int round = 0; round < 2 && at + 1 < tokens.size(); ++round) {
    const Token& keyword = tokens[at];
    if ((keyword.upper == "SKIP" || keyword.upper == "FIRST" || keyword.upper == "LIMIT") && isNumberWord(tokens[at + 1])) {
      (keyword.upper == "SKIP" ? skip : first) = tokens[at + 1].upper;
      clauseEnd = tokens[at + 1].end;
      at += 2;
    }
  }
  // ... INTO TEMP name [WITH NO LOG]: a temporary table made from the rows.
  std::string tempTable;
  size_t selectEnd = text.size();
  for (size_t i = at; i + 2 < tokens.size(); ++i) {
    if (tokens[i].depth == 0 && tokens[i].upper == "INTO" && tokens[i + 1].upper == "TEMP" && !tokens[i + 2].upper.empty()) {
      tempTable = text.substr(tokens[i + 2].start, tokens[i + 2].end - tokens[i + 2].start);
      selectEnd = tokens[i].start;
      break;
    }
  }
  if (skip.empty() && first.empty() && tempTable.empty()) return text;
  std::string select = "SELECT" + text.substr(clauseEnd, selectEnd - clauseEnd);
  while (!select.empty() && (std::isspace(static_cast<unsigned char>(select.back())) || select.back() == ';')) select.pop_back();
  if (!first.empty() || !skip.empty()) {
    select += " LIMIT " + (first.empty() ? std::string("-1") : first);
    if (!skip.empty()) select += " OFFSET " + skip;
  }
  if (!tempTable.empty()) select = "CREATE TEMP TABLE " + tempTable + " AS " + select;
  return select;
}

}  // namespace ifxrt
