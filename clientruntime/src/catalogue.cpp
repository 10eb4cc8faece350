#include "catalogue.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "column_types.h"
#include "ifxrt/statements.h"
#include "sqlite_errors.h"
#include "sqlite_statement.h"

namespace ifxrt {
namespace {

constexpr const char* kOwner = "informix";
constexpr int kFirstUserTable = 100;
constexpr int kFirstRoutine = 176;
constexpr int kIndexParts = 16;
constexpr size_t kViewTextWidth = 64;        // sysviews.viewtext
constexpr size_t kProcedureTextWidth = 256;  // sysprocbody.data

// The catalogue's own tables, with their numbers and Informix column layouts.
struct CatalogueTable {
  int tabid;
  const char* name;
  const char* columns;
  // Whether systables and syscolumns list it. The text tables are not
  // listed yet: hosts' listings of the catalogue's own tables (the driver's
  // tests among them) know the nine tables above.
  bool listed = true;
};

constexpr CatalogueTable kTables[] = {
    {1, "systables", "tabname VARCHAR(128), owner CHAR(32), tabid INTEGER, tabtype CHAR(1), ncols SMALLINT"},
    {2, "syscolumns",
     "colname VARCHAR(128), tabid INTEGER, colno SMALLINT, coltype SMALLINT, collength SMALLINT, "
     "extended_id INTEGER"},
    {3, "sysindexes",
     "idxname VARCHAR(128), owner CHAR(32), tabid INTEGER, idxtype CHAR(1), part1 SMALLINT, part2 SMALLINT, "
     "part3 SMALLINT, part4 SMALLINT, part5 SMALLINT, part6 SMALLINT, part7 SMALLINT, part8 SMALLINT, "
     "part9 SMALLINT, part10 SMALLINT, part11 SMALLINT, part12 SMALLINT, part13 SMALLINT, part14 SMALLINT, "
     "part15 SMALLINT, part16 SMALLINT"},
    {7, "sysusers", "username CHAR(32), usertype CHAR(1)"},
    {11, "sysconstraints",
     "constrid INTEGER, constrname VARCHAR(128), owner CHAR(32), tabid INTEGER, constrtype CHAR(1), "
     "idxname VARCHAR(128)"},
    {16, "sysprocedures",
     "procname VARCHAR(128), owner CHAR(32), procid INTEGER, isproc CHAR(1), numargs INTEGER, "
     "paramtypes VARCHAR(255), rettypes VARCHAR(255)"},
    {20, "sysroleauth", "rolename CHAR(32), grantee CHAR(32)"},
    {21, "sysxtdtypes", "extended_id INTEGER, name VARCHAR(128), owner CHAR(32)"},
    {22, "sysdatabases", "name VARCHAR(128), owner CHAR(32)"},
    {23, "sysviews", "tabid INTEGER, seqno SMALLINT, viewtext CHAR(64)", false},
    {24, "sysprocbody", "procid INTEGER, datakey CHAR(1), seqno INTEGER, data CHAR(256)", false},
};

// What the catalogue was built from; a build is current while all match.
constexpr const char* kStateTable = "informix.ifxrt_catalogue_state";

// ---- small SQLite helpers ----

Status failure(sqlite3* db, int rc) { return statusFromSqlite(db, rc); }

Status exec(sqlite3* db, const std::string& sql) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::ok() : failure(db, rc);
}

// Runs `sql` and calls row(statement) for each row. Returns the status.
template <typename Row>
Status forEachRow(sqlite3* db, const std::string& sql, Row&& row) {
  SqliteStatement query;
  int rc = query.prepare(db, sql);
  if (rc != SQLITE_OK) return failure(db, rc);
  while ((rc = sqlite3_step(query.get())) == SQLITE_ROW) row(query.get());
  return rc == SQLITE_DONE ? Status::ok() : failure(db, rc);
}

std::string columnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return text != nullptr ? text : "";
}

// `text` as an SQL literal.
std::string literal(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

std::int64_t pragmaNumber(sqlite3* db, const char* pragma) {
  std::int64_t value = -1;
  forEachRow(db, pragma, [&](sqlite3_stmt* row) { value = sqlite3_column_int64(row, 0); });
  return value;
}

bool mainTableExists(sqlite3* db, const char* table) {
  bool found = false;
  forEachRow(db, std::string("SELECT 1 FROM main.sqlite_master WHERE type = 'table' AND name = ") + literal(table),
             [&](sqlite3_stmt*) { found = true; });
  return found;
}

bool mentionsCatalogue(std::string_view sql) {
  constexpr std::string_view kSchema = "informix";
  auto it = std::search(sql.begin(), sql.end(), kSchema.begin(), kSchema.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
  return it != sql.end();
}

// ---- types ----

// Lower-case names of the Informix type numbers, as the server's type
// functions give them.
std::string typeNameOf(const ColumnType& type) {
  switch (type.type) {
    case IFX_TYPE_CHAR: return "char";
    case IFX_TYPE_SMALLINT: return "smallint";
    case IFX_TYPE_INTEGER: return "integer";
    case IFX_TYPE_FLOAT: return "float";
    case IFX_TYPE_SMALLFLOAT: return "smallfloat";
    case IFX_TYPE_DECIMAL: return "decimal";
    case IFX_TYPE_SERIAL: return "serial";
    case IFX_TYPE_DATE: return "date";
    case IFX_TYPE_MONEY: return "money";
    case IFX_TYPE_DATETIME: return "datetime";
    case IFX_TYPE_BYTE: return "byte";
    case IFX_TYPE_TEXT: return "text";
    case IFX_TYPE_VARCHAR: return "varchar";
    case IFX_TYPE_INTERVAL: return "interval";
    case IFX_TYPE_NCHAR: return "nchar";
    case IFX_TYPE_NVARCHAR: return "nvarchar";
    case IFX_TYPE_INT8: return "int8";
    case IFX_TYPE_SERIAL8: return "serial8";
    case IFX_TYPE_LVARCHAR: return "lvarchar";
    case IFX_TYPE_BOOLEAN: return "boolean";
    case IFX_TYPE_OPAQUE: return type.extendedType == IFX_XID_CLOB ? "clob" : "blob";
    default: return "";
  }
}

// A column without an Informix type (a view's expression) is shown as
// VARCHAR(255), as describing it does.
ColumnType typeOfDeclared(std::string_view declared) {
  if (std::optional<ColumnType> type = columnTypeOf(declared)) return *type;
  ColumnType text;
  text.type = IFX_TYPE_VARCHAR;
  text.length = 255;
  return text;
}

// Splits "a INTEGER, b DECIMAL(16,2)" at the commas outside parentheses,
// each item without surrounding blanks; empty items are dropped.
std::vector<std::string> splitList(const std::string& list) {
  std::vector<std::string> items;
  std::string item;
  int depth = 0;
  auto flush = [&] {
    const auto first = item.find_first_not_of(" \t\r\n");
    if (first != std::string::npos) items.push_back(item.substr(first, item.find_last_not_of(" \t\r\n") - first + 1));
    item.clear();
  };
  for (char c : list) {
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      flush();
    } else {
      item += c;
    }
  }
  flush();
  return items;
}

// "p_id INTEGER" -> "INTEGER": the type follows the parameter's name.
std::string parameterType(const std::string& parameter) {
  const auto blank = parameter.find_first_of(" \t");
  return blank == std::string::npos ? std::string() : parameter.substr(blank + 1);
}

std::string typeList(const std::vector<std::string>& types) {
  std::string list;
  for (const std::string& type : types) {
    if (!list.empty()) list += ',';
    list += catalogueTypeName(type);
  }
  return list;
}

// ---- building the tables ----

struct UserTable {
  std::string name;
  std::string kind;  // "T" or "V"
  int tabid = 0;
  std::string sql;   // a view's CREATE VIEW text
};

// Pieces of a text as the catalogue keeps long texts: rows of `width`
// characters, numbered from 0.
std::vector<std::string> piecesOf(const std::string& text, size_t width) {
  std::vector<std::string> pieces;
  for (size_t at = 0; at < text.size(); at += width) pieces.push_back(text.substr(at, width));
  return pieces;
}

class Builder {
 public:
  explicit Builder(sqlite3* db) : db_(db) {}

  Status build() {
    Status status = clear();
    if (!status.failed()) status = catalogueTables();
    if (!status.failed()) status = userTables();
    for (const UserTable& table : tables_) {
      if (!status.failed()) status = columns(table.name, table.tabid, "main");
      if (!status.failed() && table.kind == "T") status = indexes(table);
    }
    for (const CatalogueTable& table : kTables) {
      if (!status.failed() && table.listed) status = columns(table.name, table.tabid, "informix");
    }
    if (!status.failed()) status = synonyms();
    if (!status.failed()) status = procedures();
    if (!status.failed()) status = users();
    if (!status.failed()) status = databaseAndTypes();
    return status;
  }

 private:
  Status clear() {
    for (const CatalogueTable& table : kTables) {
      Status status = exec(db_, std::string("DELETE FROM informix.") + table.name);
      if (status.failed()) return status;
    }
    return Status::ok();
  }

  Status insert(const char* table, const std::string& values) {
    return exec(db_, std::string("INSERT INTO informix.") + table + " VALUES (" + values + ")");
  }

  Status catalogueTables() {
    for (const CatalogueTable& table : kTables) {
      if (!table.listed) continue;
      Status status = insert("systables", literal(table.name) + ", " + literal(kOwner) + ", " +
                                              std::to_string(table.tabid) + ", 'T', 0");
      if (status.failed()) return status;
    }
    return Status::ok();
  }

  Status userTables() {
    int next = kFirstUserTable;
    Status status = forEachRow(db_,
                               "SELECT name, type, sql FROM main.sqlite_master WHERE type IN ('table', 'view') AND "
                               "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'ifxrt\\_%' ESCAPE '\\' "
                               "ORDER BY rowid",
                               [&](sqlite3_stmt* row) {
                                 tables_.push_back({columnText(row, 0),
                                                    columnText(row, 1) == "view" ? "V" : "T", next++,
                                                    columnText(row, 2)});
                               });
    if (status.failed()) return status;
    for (const UserTable& table : tables_) {
      status = insert("systables", literal(table.name) + ", " + literal(kOwner) + ", " +
                                       std::to_string(table.tabid) + ", " + literal(table.kind) + ", 0");
      if (status.failed()) return status;
      if (table.kind != "V") continue;
      int seqno = 0;
      for (const std::string& piece : piecesOf(table.sql, kViewTextWidth)) {
        status = insert("sysviews", std::to_string(table.tabid) + ", " + std::to_string(seqno++) + ", " + literal(piece));
        if (status.failed()) return status;
      }
    }
    nextTabid_ = next;
    return Status::ok();
  }

  Status columns(const std::string& table, int tabid, const char* schema) {
    struct Column {
      std::string name;
      std::string declared;
      bool notNull;
    };
    std::vector<Column> found;
    Status status = forEachRow(
        db_, std::string("SELECT name, type, \"notnull\", pk FROM pragma_table_info(") + literal(table) + ", " +
                 literal(schema) + ") ORDER BY cid",
        [&](sqlite3_stmt* row) {
          found.push_back({columnText(row, 0), columnText(row, 1),
                           sqlite3_column_int(row, 2) != 0 || sqlite3_column_int(row, 3) != 0});
        });
    for (std::size_t i = 0; i < found.size() && !status.failed(); ++i) {
      const ColumnType type = typeOfDeclared(found[i].declared);
      const int coltype = type.type + (found[i].notNull ? IFX_TYPE_NOT_NULL : 0);
      status = insert("syscolumns", literal(found[i].name) + ", " + std::to_string(tabid) + ", " +
                                        std::to_string(i + 1) + ", " + std::to_string(coltype) + ", " +
                                        std::to_string(static_cast<std::int16_t>(type.length)) + ", " +
                                        std::to_string(type.extendedType));
    }
    return status;
  }

  // One index: its kind, the constraint it backs ('P', 'U' or none) and its
  // parts (column numbers from 1, negative when descending).
  struct Index {
    std::string name;
    bool unique = false;
    std::string constraint;
    std::vector<int> parts;
  };

  Status indexes(const UserTable& table) {
    std::vector<Index> found;
    Status status = forEachRow(
        db_, "SELECT name, \"unique\", origin FROM pragma_index_list(" + literal(table.name) + ", 'main') ORDER BY seq DESC",
        [&](sqlite3_stmt* row) {
          const std::string origin = columnText(row, 2);
          found.push_back({columnText(row, 0), sqlite3_column_int(row, 1) != 0,
                           origin == "pk" ? "P" : origin == "u" ? "U" : "", {}});
        });
    for (Index& index : found) {
      if (status.failed()) return status;
      status = forEachRow(db_,
                          "SELECT cid, \"desc\" FROM pragma_index_xinfo(" + literal(index.name) +
                              ", 'main') WHERE key = 1 AND cid >= 0 ORDER BY seqno",
                          [&](sqlite3_stmt* row) {
                            const int colno = sqlite3_column_int(row, 0) + 1;
                            index.parts.push_back(sqlite3_column_int(row, 1) != 0 ? -colno : colno);
                          });
    }
    if (status.failed()) return status;
    if (std::none_of(found.begin(), found.end(), [](const Index& index) { return index.constraint == "P"; })) {
      status = rowidPrimaryKey(table, found);
      if (status.failed()) return status;
    }
    int constraintNumber = 0;
    for (Index& index : found) {
      if (!index.constraint.empty()) {
        ++constraintNumber;
        index.name = " " + std::to_string(table.tabid) + "_" + std::to_string(constraintNumber);
        status = insert("sysconstraints", std::to_string(nextConstraint_++) + ", " +
                                              literal("u" + std::to_string(table.tabid) + "_" +
                                                      std::to_string(constraintNumber)) +
                                              ", " + literal(kOwner) + ", " + std::to_string(table.tabid) + ", " +
                                              literal(index.constraint) + ", " + literal(index.name));
        if (status.failed()) return status;
      }
      std::string values = literal(index.name) + ", " + literal(kOwner) + ", " + std::to_string(table.tabid) +
                           ", " + literal(index.unique ? "U" : "D");
      for (int part = 0; part < kIndexParts; ++part) {
        values += ", " + std::to_string(part < static_cast<int>(index.parts.size()) ? index.parts[part] : 0);
      }
      status = insert("sysindexes", values);
      if (status.failed()) return status;
    }
    return Status::ok();
  }

  // An INTEGER PRIMARY KEY is SQLite's row id and has no index of its own;
  // Informix keeps a unique index for every primary key.
  Status rowidPrimaryKey(const UserTable& table, std::vector<Index>& found) {
    Index key{"", true, "P", {}};
    Status status = forEachRow(db_,
                               "SELECT cid FROM pragma_table_info(" + literal(table.name) +
                                   ", 'main') WHERE pk > 0 ORDER BY pk",
                               [&](sqlite3_stmt* row) { key.parts.push_back(sqlite3_column_int(row, 0) + 1); });
    if (!status.failed() && !key.parts.empty()) found.insert(found.begin(), key);
    return status;
  }

  Status synonyms() {
    if (!mainTableExists(db_, "ifxrt_synonyms")) return Status::ok();
    std::vector<std::string> names;
    Status status = forEachRow(db_, "SELECT name FROM main.ifxrt_synonyms ORDER BY rowid",
                               [&](sqlite3_stmt* row) { names.push_back(columnText(row, 0)); });
    for (const std::string& name : names) {
      if (status.failed()) break;
      status = insert("systables",
                      literal(name) + ", " + literal(kOwner) + ", " + std::to_string(nextTabid_++) + ", 'P', 0");
    }
    return status;
  }

  Status procedures() {
    if (!mainTableExists(db_, "ifxrt_procedures")) return Status::ok();
    struct Routine {
      std::string name;
      std::vector<std::string> parameters;
      std::vector<std::string> returns;
      std::string text;  // the routine as Informix would list it
    };
    std::vector<Routine> routines;
    Status status = forEachRow(db_, "SELECT name, parameters, returns, body FROM main.ifxrt_procedures ORDER BY rowid",
                               [&](sqlite3_stmt* row) {
                                 const std::string returns = columnText(row, 2);
                                 const char* kind = returns.empty() ? "PROCEDURE" : "FUNCTION";
                                 std::string text = std::string("CREATE ") + kind + " " + columnText(row, 0) + " (" +
                                                    columnText(row, 1) + ")";
                                 if (!returns.empty()) text += " RETURNING " + returns;
                                 text += "\n  " + columnText(row, 3) + ";\nEND " + kind + ";";
                                 routines.push_back({columnText(row, 0), splitList(columnText(row, 1)),
                                                     splitList(returns), text});
                               });
    int procid = kFirstRoutine;
    for (const Routine& routine : routines) {
      if (status.failed()) break;
      std::vector<std::string> parameterTypes;
      for (const std::string& parameter : routine.parameters) parameterTypes.push_back(parameterType(parameter));
      int seqno = 0;
      for (const std::string& piece : piecesOf(routine.text, kProcedureTextWidth)) {
        if (!status.failed()) {
          status = insert("sysprocbody", std::to_string(procid) + ", 'T', " + std::to_string(seqno++) + ", " + literal(piece));
        }
      }
      if (status.failed()) break;
      status = insert("sysprocedures", literal(routine.name) + ", " + literal(kOwner) + ", " +
                                           std::to_string(procid++) + ", " +
                                           literal(routine.returns.empty() ? "t" : "f") + ", " +
                                           std::to_string(routine.parameters.size()) + ", " +
                                           literal(typeList(parameterTypes)) + ", " + literal(typeList(routine.returns)));
    }
    return status;
  }

  Status users() {
    if (!mainTableExists(db_, "ifxrt_users")) return Status::ok();
    return exec(db_, "INSERT INTO informix.sysusers SELECT name, 'C' FROM main.ifxrt_users ORDER BY name");
  }

  Status databaseAndTypes() {
    std::string file;
    Status status = forEachRow(db_, "SELECT file FROM pragma_database_list WHERE name = 'main'",
                               [&](sqlite3_stmt* row) { file = columnText(row, 0); });
    if (status.failed()) return status;
    status = insert("sysdatabases", literal(std::filesystem::path(file).stem().string()) + ", " + literal(kOwner));
    if (status.failed()) return status;
    return exec(db_,
                "INSERT INTO informix.sysxtdtypes VALUES (1, 'lvarchar', 'informix'), (5, 'boolean', 'informix'), "
                "(10, 'blob', 'informix'), (11, 'clob', 'informix')");
  }

  sqlite3* db_;
  std::vector<UserTable> tables_;
  int nextTabid_ = kFirstUserTable;
  int nextConstraint_ = 1;
};

// ---- staleness ----

// What the catalogue shows besides the schema: the registered procedures,
// users and synonyms, as one text. Rows of other tables do not matter, so
// changing them does not rebuild the catalogue under an open catalogue cursor.
std::string registryText(sqlite3* db) {
  std::string text;
  const struct {
    const char* table;
    const char* row;
  } kRegistries[] = {{"ifxrt_procedures", "name || '|' || parameters || '|' || returns || '|' || body"},
                     {"ifxrt_users", "name"},
                     {"ifxrt_synonyms", "name || '|' || tabname"}};
  for (const auto& registry : kRegistries) {
    text += '#';
    if (!mainTableExists(db, registry.table)) continue;
    forEachRow(db,
               std::string("SELECT group_concat(") + registry.row + ", ';') FROM (SELECT * FROM main." +
                   registry.table + " ORDER BY rowid)",
               [&](sqlite3_stmt* row) { text += columnText(row, 0); });
  }
  return text;
}

struct Fingerprint {
  std::int64_t schemaVersion = -1;
  std::int64_t dataVersion = -1;  // changes another connection committed
  std::string registries;
  bool operator==(const Fingerprint&) const = default;
};

Fingerprint currentFingerprint(sqlite3* db) {
  return {pragmaNumber(db, "PRAGMA main.schema_version"), pragmaNumber(db, "PRAGMA main.data_version"),
          registryText(db)};
}

Fingerprint storedFingerprint(sqlite3* db) {
  Fingerprint stored;
  forEachRow(db, std::string("SELECT schema_version, data_version, registries FROM ") + kStateTable,
             [&](sqlite3_stmt* row) {
               stored = {sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1), columnText(row, 2)};
             });
  return stored;
}

// Records what the build saw, inside the build: a build that is rolled back
// takes its record with it.
Status storeFingerprint(sqlite3* db, const Fingerprint& seen) {
  Status status = exec(db, std::string("DELETE FROM ") + kStateTable);
  if (status.failed()) return status;
  return exec(db, std::string("INSERT INTO ") + kStateTable + " VALUES (" + std::to_string(seen.schemaVersion) +
                      ", " + std::to_string(seen.dataVersion) + ", " + literal(seen.registries) + ")");
}

Status rebuild(sqlite3* db) {
  const Fingerprint seen = currentFingerprint(db);
  Status status = exec(db, "SAVEPOINT ifxrt_catalogue");
  if (status.failed()) return status;
  status = Builder(db).build();
  if (!status.failed()) status = storeFingerprint(db, seen);
  if (status.failed()) {
    exec(db, "ROLLBACK TO ifxrt_catalogue");
    exec(db, "RELEASE ifxrt_catalogue");
    return status;
  }
  return exec(db, "RELEASE ifxrt_catalogue");
}

// ifx_ret_types(procid) and ifx_param_types(procid).
void routineTypes(sqlite3_context* context, int argc, sqlite3_value** argv, const char* column) {
  if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  sqlite3* db = sqlite3_context_db_handle(context);
  SqliteStatement query;
  const std::string sql = std::string("SELECT ") + column + " FROM informix.sysprocedures WHERE procid = ?1";
  if (query.prepare(db, sql) != SQLITE_OK ||
      sqlite3_bind_int64(query.get(), 1, sqlite3_value_int64(argv[0])) != SQLITE_OK) {
    sqlite3_result_error(context, "cannot read informix.sysprocedures", -1);
    return;
  }
  const int rc = sqlite3_step(query.get());
  if (rc == SQLITE_ROW) {
    sqlite3_result_value(context, sqlite3_column_value(query.get(), 0));
  } else if (rc == SQLITE_DONE) {
    sqlite3_result_null(context);
  } else {
    sqlite3_result_error(context, sqlite3_errmsg(db), -1);
  }
}

void returnTypes(sqlite3_context* context, int argc, sqlite3_value** argv) {
  routineTypes(context, argc, argv, "rettypes");
}

void parameterTypes(sqlite3_context* context, int argc, sqlite3_value** argv) {
  routineTypes(context, argc, argv, "paramtypes");
}

}  // namespace

std::string catalogueTypeName(std::string_view declared) {
  const std::optional<ColumnType> type = columnTypeOf(declared);
  return type ? typeNameOf(*type) : std::string();
}

Status attachCatalogue(sqlite3* db) {
  Status status = exec(db, "ATTACH DATABASE ':memory:' AS informix");
  for (const CatalogueTable& table : kTables) {
    if (!status.failed()) status = exec(db, std::string("CREATE TABLE informix.") + table.name + " (" + table.columns + ")");
  }
  if (!status.failed()) {
    status = exec(db, std::string("CREATE TABLE ") + kStateTable +
                          " (schema_version INTEGER, data_version INTEGER, registries TEXT)");
  }
  if (status.failed()) return status;
  const int flags = SQLITE_UTF8;  // reads a table: not deterministic
  int rc = sqlite3_create_function(db, "ifx_ret_types", 1, flags, nullptr, &returnTypes, nullptr, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_create_function(db, "ifx_param_types", 1, flags, nullptr, &parameterTypes, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::ok() : failure(db, rc);
}

Status prepareCatalogue(sqlite3* db, std::string_view sql) {
  if (!mentionsCatalogue(sql)) return Status::ok();
  if (storedFingerprint(db) == currentFingerprint(db)) return Status::ok();
  return rebuild(db);
}

}  // namespace ifxrt
