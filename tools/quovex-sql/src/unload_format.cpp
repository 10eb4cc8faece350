// Reading and writing the delimited unload format; parsing UNLOAD and LOAD.
#include "unload_format.h"

#include <cctype>

namespace quovexsql {

namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void skipBlanks(const std::string& text, std::size_t* at) {
  while (*at < text.size() && std::isspace(static_cast<unsigned char>(text[*at])) != 0) ++*at;
}

std::string word(const std::string& text, std::size_t* at) {
  skipBlanks(text, at);
  const std::size_t start = *at;
  while (*at < text.size() && (std::isalnum(static_cast<unsigned char>(text[*at])) != 0 || text[*at] == '_')) ++*at;
  return lower(text.substr(start, *at - start));
}

// A quoted text ('...' or "...", doubled quotes inside).
bool quoted(const std::string& text, std::size_t* at, std::string* value) {
  skipBlanks(text, at);
  if (*at >= text.size() || (text[*at] != '\'' && text[*at] != '"')) return false;
  const char quote = text[(*at)++];
  value->clear();
  while (*at < text.size()) {
    const char c = text[(*at)++];
    if (c != quote) {
      *value += c;
    } else if (*at < text.size() && text[*at] == quote) {
      *value += quote;
      ++*at;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<TransferStatement> parseTransfer(const std::string& sql, std::string* error) {
  std::size_t at = 0;
  const std::string first = word(sql, &at);
  if (first != "unload" && first != "load") return std::nullopt;
  TransferStatement statement;
  statement.kind = first == "unload" ? TransferStatement::Kind::Unload : TransferStatement::Kind::Load;
  const char* preposition = statement.kind == TransferStatement::Kind::Unload ? "to" : "from";
  const char* usage = statement.kind == TransferStatement::Kind::Unload
                          ? "usage: UNLOAD TO 'file' [DELIMITER 'c'] SELECT ..."
                          : "usage: LOAD FROM 'file' [DELIMITER 'c'] INSERT INTO table [(columns)]";
  if (word(sql, &at) != preposition || !quoted(sql, &at, &statement.file) || statement.file.empty()) {
    *error = usage;
    return statement;
  }
  std::size_t next = at;
  if (word(sql, &next) == "delimiter") {
    std::string delimiter;
    if (!quoted(sql, &next, &delimiter) || delimiter.size() != 1 || delimiter == "\\" || delimiter == "\n" ||
        std::isxdigit(static_cast<unsigned char>(delimiter[0])) != 0) {
      *error = "the delimiter is one character, not a backslash, a line feed or a hexadecimal digit";
      return statement;
    }
    statement.delimiter = delimiter[0];
    at = next;
  }
  skipBlanks(sql, &at);
  statement.rest = sql.substr(at);
  std::size_t check = 0;
  const std::string verb = word(statement.rest, &check);
  if (statement.kind == TransferStatement::Kind::Unload ? verb != "select" : verb != "insert") *error = usage;
  return statement;
}

std::string unloadRecord(const Row& cells, char delimiter) {
  std::string record;
  for (const Cell& cell : cells) {
    if (cell) {
      for (char c : *cell) {
        if (c == delimiter || c == '\\' || c == '\n') record += '\\';
        record += c;
      }
    }
    record += delimiter;
  }
  return record + "\n";
}

bool readUnloadRecord(std::istream& in, char delimiter, std::vector<Cell>* fields, int* line) {
  fields->clear();
  std::string raw;
  if (!std::getline(in, raw)) return false;
  ++*line;
  // A line that ends in an escaping backslash goes on in the next line.
  std::string field;
  bool any = false;
  for (;;) {
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    bool continues = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const char c = raw[i];
      if (c == '\\') {
        if (i + 1 < raw.size()) {
          field += raw[++i];
          any = true;
        } else {
          continues = true;
        }
      } else if (c == delimiter) {
        fields->push_back(any || !field.empty() ? Cell(field) : Cell{});
        field.clear();
        any = false;
      } else {
        field += c;
      }
    }
    if (!continues) break;
    field += '\n';
    any = true;
    if (!std::getline(in, raw)) break;
    ++*line;
  }
  // Text after the last delimiter (a record missing its final one) is a field too.
  if (any || !field.empty()) fields->push_back(Cell(field));
  return true;
}

std::optional<std::string> bytesFromHex(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    if (std::isxdigit(static_cast<unsigned char>(hex[i])) == 0 ||
        std::isxdigit(static_cast<unsigned char>(hex[i + 1])) == 0) {
      return std::nullopt;
    }
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

bool parseInsertTarget(const std::string& insert, std::string* table, std::vector<std::string>* columns) {
  std::size_t at = 0;
  if (word(insert, &at) != "insert" || word(insert, &at) != "into") return false;
  skipBlanks(insert, &at);
  const std::size_t start = at;
  while (at < insert.size() && (std::isalnum(static_cast<unsigned char>(insert[at])) != 0 || insert[at] == '_' ||
                                insert[at] == '.')) {
    ++at;
  }
  *table = insert.substr(start, at - start);
  if (table->empty()) return false;
  columns->clear();
  skipBlanks(insert, &at);
  if (at >= insert.size()) return true;
  if (insert[at] != '(') return false;
  ++at;
  for (;;) {
    std::string name = word(insert, &at);
    if (name.empty()) return false;
    columns->push_back(name);
    skipBlanks(insert, &at);
    if (at < insert.size() && insert[at] == ',') {
      ++at;
      continue;
    }
    if (at < insert.size() && insert[at] == ')') ++at;
    skipBlanks(insert, &at);
    return at == insert.size();
  }
}

}  // namespace quovexsql
