#include "serial_columns.h"

#include <sqlite3.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "column_types.h"
#include "ifxrt/statements.h"
#include "sqlite_statement.h"

namespace ifxrt {
namespace {

constexpr int kBigserialType = 53;

std::string quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

bool changesSchema(std::string_view sql) {
  size_t i = 0;
  while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
  std::string word;
  while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i]))) {
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
  }
  return word == "CREATE" || word == "ALTER";
}

bool isSerial(const char* declared) {
  if (declared == nullptr) return false;
  const std::optional<ColumnType> type = columnTypeOf(declared);
  return type && (type->type == IFX_TYPE_SERIAL || type->type == IFX_TYPE_SERIAL8 || type->type == kBigserialType);
}

std::vector<std::pair<std::string, std::string>> serialColumns(sqlite3* db) {
  std::vector<std::pair<std::string, std::string>> found;
  SqliteStatement tables;
  if (tables.prepare(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'") != SQLITE_OK) {
    return found;
  }
  while (sqlite3_step(tables.get()) == SQLITE_ROW) {
    const std::string table = reinterpret_cast<const char*>(sqlite3_column_text(tables.get(), 0));
    SqliteStatement columns;
    if (columns.prepare(db, "SELECT name, type FROM pragma_table_info(?1)") != SQLITE_OK) continue;
    sqlite3_bind_text(columns.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(columns.get()) == SQLITE_ROW) {
      if (isSerial(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)))) {
        found.emplace_back(table, reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0)));
      }
    }
  }
  return found;
}

}  // namespace

void numberSerialColumns(sqlite3* db, std::string_view sql) {
  if (!changesSchema(sql)) return;
  for (const auto& [table, column] : serialColumns(db)) {
    const std::string t = quoted(table);
    const std::string c = quoted(column);
    const std::string trigger = "CREATE TRIGGER IF NOT EXISTS " + quoted("ifxrt_serial_" + table + "_" + column) +
                                " AFTER INSERT ON " + t + " FOR EACH ROW WHEN NEW." + c + " IS NULL OR NEW." + c +
                                " = 0 BEGIN UPDATE " + t + " SET " + c + " = (SELECT coalesce(max(" + c + "), 0) + 1 FROM " +
                                t + ") WHERE rowid = NEW.rowid; END";
    sqlite3_exec(db, trigger.c_str(), nullptr, nullptr, nullptr);  // a table without rowid keeps plain integers
  }
}

}  // namespace ifxrt
