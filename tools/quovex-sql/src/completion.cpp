// Completion candidates and the catalogue listings they come from.
#include "completion.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "catalogue.h"
#include "session.h"

namespace quovexsql {

using namespace quovex;

namespace {

constexpr std::uint32_t kTablesViewsSynonyms = 1 | 2 | 8;

const char* const kKeywords[] = {
    "ALTER", "AND", "AS", "ASC", "BEGIN", "BETWEEN", "BY", "COMMIT", "COUNT", "CREATE", "DATABASE", "DELETE",
    "DELIMITER", "DESC", "DISTINCT", "DROP", "EXECUTE", "FIRST", "FROM", "FUNCTION", "GRANT", "GROUP", "HAVING",
    "IN", "INDEX", "INSERT", "INTO", "IS", "JOIN", "LEFT", "LIKE", "LOAD", "MATCHES", "NOT", "NULL", "ON", "OR",
    "ORDER", "OUTER", "PROCEDURE", "REVOKE", "ROLLBACK", "SELECT", "SET", "SKIP", "TABLE", "TO", "UNION", "UNIQUE",
    "UNLOAD", "UPDATE", "VALUES", "VIEW", "WHERE", "WORK"};

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool startsWithIgnoringCase(const std::string& candidate, const std::string& prefix) {
  return candidate.size() >= prefix.size() && lower(candidate.substr(0, prefix.size())) == lower(prefix);
}

// Every value of column `name` in a catalogue listing.
template <typename List>
std::vector<std::string> listed(List list, const char* name, const char* tableColumn = nullptr,
                                const std::string& table = {}) {
  std::vector<std::string> values;
  Ref<SQLCursor> cursor;
  if (list(cursor.out()) != RESULT_OK || !cursor) return values;
  std::vector<ColumnInfo> columns;
  if (readColumns(*cursor, &columns) != RESULT_OK) return values;
  std::size_t wanted = columns.size();
  std::size_t tableAt = columns.size();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].name == name) wanted = i;
    if (tableColumn != nullptr && columns[i].name == tableColumn) tableAt = i;
  }
  if (wanted == columns.size()) return values;
  readRows(*cursor, columns, [&](Row&& row) {
    // A name given to the listing is a LIKE pattern: keep only its own rows.
    if (tableAt < row.size() && row[tableAt] != table) return;
    if (row[wanted]) values.push_back(*row[wanted]);
  });
  return values;
}

}  // namespace

void Completer::forgetOnReconnect() {
  if (connection_ == session_.connectionNumber()) return;
  connection_ = session_.connectionNumber();
  tables_.reset();
  columns_.clear();
}

const std::vector<std::string>& Completer::tables() {
  forgetOnReconnect();
  if (!tables_) {
    SQLMetaData* catalogue = session_.catalogue("");
    tables_ = catalogue == nullptr ? std::vector<std::string>{}
                                   : listed([&](SQLCursor** cursor) {
                                       return catalogue->listTables("", kTablesViewsSynonyms, cursor);
                                     }, "TABLE_NAME");
  }
  return *tables_;
}

const std::vector<std::string>& Completer::columnsOf(const std::string& table) {
  forgetOnReconnect();
  const auto found = columns_.find(table);
  if (found != columns_.end()) return found->second;
  SQLMetaData* catalogue = session_.catalogue("");
  std::vector<std::string> names;
  if (catalogue != nullptr) {
    names = listed([&](SQLCursor** cursor) { return catalogue->listColumns(table.c_str(), "", 0, cursor); },
                   "COLUMN_NAME", "TABLE_NAME", table);
  }
  return columns_[table] = std::move(names);
}

std::vector<std::string> Completer::candidates(const std::string& line, std::size_t wordStart,
                                               const std::string& word) {
  std::set<std::string> found;
  const std::string before = line.substr(0, wordStart);
  const bool lineStart = before.find_first_not_of(" \t") == std::string::npos;
  if (lineStart && word.starts_with("\\")) {
    for (const std::string& name : commandNames()) {
      if (name.starts_with(word)) found.insert(name);
    }
    return {found.begin(), found.end()};
  }
  const bool command = before.find_first_not_of(" \t") != std::string::npos &&
                       before[before.find_first_not_of(" \t")] == '\\';
  for (const std::string& table : tables()) {
    if (startsWithIgnoringCase(table, word)) found.insert(table);
  }
  if (!command) {
    // Keywords in the letter case the user types them.
    const bool upperCase = !word.empty() && std::isupper(static_cast<unsigned char>(word[0])) != 0;
    for (const char* keyword : kKeywords) {
      if (startsWithIgnoringCase(keyword, word)) found.insert(upperCase ? keyword : lower(keyword));
    }
    // Columns of every table the line names.
    std::istringstream words(line);
    const std::vector<std::string>& known = tables();
    for (std::string token; words >> token;) {
      token.erase(std::remove_if(token.begin(), token.end(),
                                 [](char c) { return c == ',' || c == '(' || c == ')' || c == ';'; }),
                  token.end());
      if (std::find(known.begin(), known.end(), lower(token)) == known.end()) continue;
      for (const std::string& column : columnsOf(lower(token))) {
        if (startsWithIgnoringCase(column, word)) found.insert(column);
      }
    }
  }
  return {found.begin(), found.end()};
}

}  // namespace quovexsql
