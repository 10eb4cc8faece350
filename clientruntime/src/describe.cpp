#include "describe.h"

#include <sqlite3.h>

#include <cctype>
#include <climits>
#include <string>

#include "ifxrt/client.h"
#include "sqlite_statement.h"

namespace ifxrt {
namespace {

constexpr int kExpressionTextLength = 255;
constexpr int kWideIntegerPrecision = 32;

bool notNullColumn(sqlite3_stmt* statement, int index) {
  const char* database = sqlite3_column_database_name(statement, index);
  const char* table = sqlite3_column_table_name(statement, index);
  const char* column = sqlite3_column_origin_name(statement, index);
  if (database == nullptr || table == nullptr || column == nullptr) return false;
  int notNull = 0;
  const int rc = sqlite3_table_column_metadata(sqlite3_db_handle(statement), database, table, column, nullptr, nullptr,
                                               &notNull, nullptr, nullptr);
  return rc == SQLITE_OK && notNull != 0;
}

// Types the untyped columns from the first row of a fresh run of the same
// statement; only for statements that change nothing.
void typeFromFirstRow(sqlite3_stmt* statement, std::vector<ResultColumn>& columns, const std::vector<bool>& untyped) {
  if (!sqlite3_stmt_readonly(statement)) return;
  SqliteStatement peek;
  if (peek.prepare(sqlite3_db_handle(statement), sqlite3_sql(statement)) != SQLITE_OK || !peek) return;
  if (sqlite3_step(peek.get()) != SQLITE_ROW) return;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (!untyped[i]) continue;
    const int index = static_cast<int>(i);
    columns[i].type = typeOfStoredValue(sqlite3_column_type(peek.get(), index), sqlite3_column_int64(peek.get(), index));
  }
}

std::string upperWords(std::string_view sql, int count) {
  std::string out;
  size_t i = 0;
  for (int word = 0; word < count; ++word) {
    while (i < sql.size() && !std::isalpha(static_cast<unsigned char>(sql[i]))) {
      if (!std::isspace(static_cast<unsigned char>(sql[i])) && sql[i] != '(') return out;
      ++i;
    }
    if (i >= sql.size()) break;
    if (!out.empty()) out += ' ';
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i]))) {
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    }
  }
  return out;
}

bool startsWith(const std::string& text, std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

}  // namespace

ColumnType typeOfStoredValue(int storage, long long integer) {
  switch (storage) {
    case SQLITE_INTEGER:
      if (integer >= INT32_MIN && integer <= INT32_MAX) return ColumnType{IFX_TYPE_INTEGER, 4, 0};
      return ColumnType{IFX_TYPE_DECIMAL, kWideIntegerPrecision * 256, 0};
    case SQLITE_FLOAT: return ColumnType{IFX_TYPE_FLOAT, 8, 0};
    case SQLITE_BLOB: return ColumnType{IFX_TYPE_BYTE, 56, 0};
    default: return ColumnType{IFX_TYPE_VARCHAR, kExpressionTextLength, 0};
  }
}

void describeColumns(sqlite3_stmt* statement, std::vector<ResultColumn>& columns) {
  const int count = sqlite3_column_count(statement);
  columns.assign(static_cast<size_t>(count), ResultColumn{});
  std::vector<bool> untyped(static_cast<size_t>(count), false);
  bool anyUntyped = false;
  for (int i = 0; i < count; ++i) {
    ResultColumn& column = columns[static_cast<size_t>(i)];
    const char* name = sqlite3_column_name(statement, i);
    column.name = name != nullptr ? name : "";
    const char* declared = sqlite3_column_decltype(statement, i);
    const std::optional<ColumnType> type = declared != nullptr ? columnTypeOf(declared) : std::nullopt;
    column.type = type.value_or(typeOfStoredValue(SQLITE_NULL, 0));
    untyped[static_cast<size_t>(i)] = !type;
    anyUntyped = anyUntyped || !type;
    column.notNull = type && notNullColumn(statement, i);
  }
  if (anyUntyped) typeFromFirstRow(statement, columns, untyped);
}

int32_t statementKind(std::string_view sql, size_t columnCount) {
  const std::string words = upperWords(sql, 3);
  if (startsWith(words, "EXECUTE PROCEDURE") || startsWith(words, "EXECUTE FUNCTION")) return IFX_KIND_EXECUTE_PROCEDURE;
  if (columnCount > 0) return IFX_KIND_SELECT;
  if (startsWith(words, "INSERT") || startsWith(words, "REPLACE")) return IFX_KIND_INSERT;
  if (startsWith(words, "UPDATE")) return IFX_KIND_UPDATE;
  if (startsWith(words, "DELETE")) return IFX_KIND_DELETE;
  if (startsWith(words, "CREATE TABLE") || startsWith(words, "CREATE TEMP")) return IFX_KIND_CREATE_TABLE;
  if (startsWith(words, "DROP TABLE")) return IFX_KIND_DROP_TABLE;
  if (startsWith(words, "CREATE INDEX") || startsWith(words, "CREATE UNIQUE INDEX")) return IFX_KIND_CREATE_INDEX;
  if (startsWith(words, "DROP INDEX")) return IFX_KIND_DROP_INDEX;
  return IFX_KIND_OTHER;
}

}  // namespace ifxrt
