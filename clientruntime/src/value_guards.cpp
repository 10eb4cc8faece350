// The conversion function and the temporary triggers that apply it.
#include "value_guards.h"

#include <sqlite3.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sqlite_errors.h"
#include "sqlite_statement.h"

namespace ifxrt {
namespace {

constexpr std::string_view kRefusalPrefix = "ifxrt refusal ";
constexpr const char* kTriggerPrefix = "ifxrt_store_";

// ifxrt_store(value, type, length, refuse): see value_guards.h.
void storeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  if (argc != 4) {
    sqlite3_result_error(context, "ifxrt_store takes four arguments", -1);
    return;
  }
  ColumnType type;
  type.type = static_cast<int16_t>(sqlite3_value_int(argv[1]));
  type.length = sqlite3_value_int(argv[2]);
  const LongText longText = sqlite3_value_int(argv[3]) != 0 ? LongText::Refuse : LongText::Cut;
  Refusal refusal;
  try {
    if (storeForColumn(type, longText, argv[0], context, refusal)) return;
    const std::string message = std::string(kRefusalPrefix) + std::to_string(refusal.code) + " " + refusal.argument;
    sqlite3_result_error(context, message.c_str(), static_cast<int>(message.size()));
  } catch (...) {
    sqlite3_result_error_nomem(context);
  }
}

std::string quoted(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string text(sqlite3_stmt* statement, int column) {
  const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return value != nullptr ? value : "";
}

int64_t schemaVersion(sqlite3* db, const char* schema) {
  SqliteStatement query;
  if (query.prepare(db, std::string("PRAGMA ") + schema + ".schema_version") != SQLITE_OK ||
      sqlite3_step(query.get()) != SQLITE_ROW) {
    return -1;
  }
  return sqlite3_column_int64(query.get(), 0);
}

Status run(sqlite3* db, const std::string& sql) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::ok() : statusFromSqlite(db, rc);
}

Status dropTriggers(sqlite3* db) {
  std::vector<std::string> names;
  SqliteStatement query;
  int rc = query.prepare(db, "SELECT name FROM temp.sqlite_master WHERE type = 'trigger' AND name LIKE 'ifxrt\\_store\\_%' ESCAPE '\\'");
  while (rc == SQLITE_OK && sqlite3_step(query.get()) == SQLITE_ROW) names.push_back(text(query.get(), 0));
  for (const std::string& name : names) {
    Status status = run(db, "DROP TRIGGER temp." + quoted(name));
    if (status.failed()) return status;
  }
  return Status::ok();
}

// The tables of the database whose rows the triggers can reach by rowid.
std::vector<std::string> guardedTables(sqlite3* db) {
  std::vector<std::string> tables;
  SqliteStatement query;
  if (query.prepare(db, "SELECT name FROM pragma_table_list WHERE schema = 'main' AND type = 'table' AND wr = 0 "
                        "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'ifxrt\\_%' ESCAPE '\\'") != SQLITE_OK) {
    return tables;
  }
  while (sqlite3_step(query.get()) == SQLITE_ROW) tables.push_back(text(query.get(), 0));
  return tables;
}

// "c" = ifxrt_store("c", type, length, refuse) for every column with an
// Informix type, joined by commas; the column names go to `names`.
std::string assignments(sqlite3* db, const std::string& table, LongText longText, std::string& names) {
  std::string out;
  SqliteStatement columns;
  if (columns.prepare(db, "SELECT name, type FROM pragma_table_info(?1, 'main')") != SQLITE_OK) return out;
  sqlite3_bind_text(columns.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(columns.get()) == SQLITE_ROW) {
    const std::string name = text(columns.get(), 0);
    const std::optional<ColumnType> type = columnTypeOf(text(columns.get(), 1));
    if (!type) continue;
    if (!out.empty()) {
      out += ", ";
      names += ", ";
    }
    names += quoted(name);
    out += quoted(name) + " = ifxrt_store(" + quoted(name) + ", " + std::to_string(type->type) + ", " +
           std::to_string(type->length) + ", " + (longText == LongText::Refuse ? "1" : "0") + ")";
  }
  return out;
}

Status makeTriggers(sqlite3* db, const std::string& table, LongText longText) {
  std::string names;
  const std::string set = assignments(db, table, longText, names);
  if (set.empty()) return Status::ok();
  const std::string body = " BEGIN UPDATE " + quoted(table) + " SET " + set + " WHERE rowid = NEW.rowid; END";
  Status status = run(db, "CREATE TEMP TRIGGER " + quoted(kTriggerPrefix + std::string("i_") + table) +
                              " AFTER INSERT ON main." + quoted(table) + " FOR EACH ROW" + body);
  if (status.failed()) return status;
  return run(db, "CREATE TEMP TRIGGER " + quoted(kTriggerPrefix + std::string("u_") + table) + " AFTER UPDATE OF " +
                     names + " ON main." + quoted(table) + " FOR EACH ROW" + body);
}

}  // namespace

Status registerValueFunctions(sqlite3* db) {
  const int rc = sqlite3_create_function(db, "ifxrt_store", 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                         &storeFunction, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::ok() : statusFromSqlite(db, rc);
}

Status refreshValueGuards(sqlite3* db, LongText longText, SchemaVersions& seen) {
  // The temporary schema's version tells whether a rollback took the
  // triggers made inside its transaction with it.
  const SchemaVersions now{schemaVersion(db, "main"), schemaVersion(db, "temp")};
  if (now == seen && now.main != -1) return Status::ok();
  Status status = dropTriggers(db);
  for (const std::string& table : guardedTables(db)) {
    if (!status.failed()) status = makeTriggers(db, table, longText);
  }
  if (!status.failed()) seen = SchemaVersions{now.main, schemaVersion(db, "temp")};
  return status;
}

bool refusalOfMessage(std::string_view message, Refusal& refusal) {
  if (message.substr(0, kRefusalPrefix.size()) != kRefusalPrefix) return false;
  message.remove_prefix(kRefusalPrefix.size());
  const size_t blank = message.find(' ');
  refusal.code = static_cast<int32_t>(std::strtol(std::string(message.substr(0, blank)).c_str(), nullptr, 10));
  refusal.argument = blank == std::string_view::npos ? std::string() : std::string(message.substr(blank + 1));
  return refusal.code < 0;
}

}  // namespace ifxrt
