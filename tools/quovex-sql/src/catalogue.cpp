#include "catalogue.h"

#include <algorithm>
#include <functional>
#include <set>
#include <sstream>
#include <utility>

#include "session.h"
#include "table_schema.h"

namespace quovexsql {

using namespace quovex;

namespace {

// Object kinds of listObjects.
constexpr std::int32_t kObjectDatabases = 0;
constexpr std::int32_t kObjectViews = 3;
constexpr std::int32_t kObjectSynonyms = 4;
constexpr std::int32_t kObjectUsers = 6;
constexpr std::int32_t kObjectRoles = 7;

// listTables mask: user tables, views and synonyms (system catalogue tables
// are left out).
constexpr std::uint32_t kUserTablesViewsSynonyms = 1 | 2 | 8;
// listProcedures mask: the database's own routines, functions and the
// procedures numbered as system ones (all the three kinds).
constexpr std::uint32_t kAllRoutines = 1 | 2 | 8;

constexpr std::size_t kMany = 1000;

const CommandSpec kCommands[] = {
    {"\\databases", "", "list the databases", 0, 0, CommandKind::Databases, "\\databases"},
    {"\\tables", "[pattern]", "list tables, views and synonyms with their type (pattern: SQL LIKE)", 0, 1,
     CommandKind::Tables, "\\tables prop%"},
    {"\\views", "", "list the views", 0, 0, CommandKind::Views, "\\views"},
    {"\\synonyms", "", "list the synonyms", 0, 0, CommandKind::Synonyms, "\\synonyms"},
    {"\\procedures", "[pattern]", "list procedures and functions", 0, 1, CommandKind::Procedures,
     "\\procedures reajusta%"},
    {"\\users", "", "list the users", 0, 0, CommandKind::Users, "\\users"},
    {"\\roles", "", "list the roles", 0, 0, CommandKind::Roles, "\\roles"},
    {"\\describe", "table", "columns (types by name) and indexes of a table", 1, 1, CommandKind::Describe,
     "\\describe proposta"},
    {"\\procedure", "name", "parameters of a procedure or function", 1, 1, CommandKind::Parameters,
     "\\procedure propostas_acima"},
    {"\\schema", "[table]", "CREATE statements of the tables, views, indexes and procedures", 0, 1,
     CommandKind::Schema, "\\schema lote"},
    {"\\begin", "", "begin a transaction", 0, 0, CommandKind::Begin, "\\begin"},
    {"\\commit", "", "commit the transaction", 0, 0, CommandKind::Commit, "\\commit"},
    {"\\rollback", "", "roll back the transaction", 0, 0, CommandKind::Rollback, "\\rollback"},
    {"\\isolation", "[committed|repeatable|dirty]", "show or set the isolation level", 0, 1,
     CommandKind::Isolation, "\\isolation dirty"},
    {"\\timing", "[on|off]", "show the time each statement took", 0, 1, CommandKind::Timing, "\\timing on"},
    {"\\x", "[on|off|auto]", "expanded display: one block per row (auto: when wider than the terminal)", 0, 1,
     CommandKind::Expanded, "\\x auto"},
    {"\\pset", "max_width N", "cut values longer than N characters in the table (0: never)", 2, 2,
     CommandKind::Pset, "\\pset max_width 40"},
    {"\\o", "[file]", "send results to a file; without one, back to the screen", 0, 1, CommandKind::Output,
     "\\o lotes.txt"},
    {"\\i", "file", "run the statements and commands of a script file", 1, 1, CommandKind::Include,
     "\\i carga.sql"},
    {"\\e", "", "edit the last statement in $EDITOR, then run it", 0, 0, CommandKind::Edit, "\\e"},
    {"\\connect", "database", "connect to another database (same user and password)", 1, 1,
     CommandKind::Connect, "\\connect /dados/outro.db"},
    {"\\set", "[name [value]]", "set a variable used as :name in statements (no value: unset; none: list)", 0,
     kMany, CommandKind::Set, "\\set lote 2  then  select * from lote where nro_lote = :lote;"},
    {"\\help", "[command]", "this list, or the use of one command", 0, 1, CommandKind::Help, "\\help describe"},
    {"\\quit", "", "leave (also \\q or Ctrl-D on an empty line)", 0, 0, CommandKind::Quit, "\\q"},
};

using Mapper = std::function<Cell(const Cell&)>;

// A column of a listing shown under a plain title.
struct Shown {
  const char* source;
  const char* title;
  bool alignRight = false;
  Mapper map = nullptr;
};

// Maps a number text to a name, keeping the number when it is not listed.
Mapper names(std::vector<std::pair<std::string, std::string>> table) {
  return [table = std::move(table)](const Cell& cell) -> Cell {
    if (!cell) return cell;
    for (const auto& [code, name] : table) {
      if (*cell == code) return name;
    }
    return cell;
  };
}

const Mapper kTableType = names({{"1", "table"}, {"2", "view"}, {"4", "system table"}, {"8", "synonym"}});
const Mapper kRoutineType = names({{"1", "procedure"}, {"2", "function"}, {"8", "system procedure"}});
const Mapper kYesNo = names({{"1", "yes"}, {"0", "no"}});
const Mapper kIndexType = names({{"1", "duplicates"}, {"2", "unique"}, {"4", "primary key"}});
const Mapper kSortOrder = names({{"A", "ascending"}, {"D", "descending"}});
const Mapper kDirection = names({{"1", "in"}, {"2", "out"}});

}  // namespace

const CommandSpec* findCommand(const std::string& name) {
  if (name == "\\q") return findCommand("\\quit");
  if (name == "\\?" || name == "\\h") return findCommand("\\help");
  for (const CommandSpec& spec : kCommands) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

const CommandSpec* findCommandOfKind(CommandKind kind) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.kind == kind) return &spec;
  }
  return nullptr;
}

std::vector<std::string> commandNames() {
  std::vector<std::string> names{"\\q"};
  for (const CommandSpec& spec : kCommands) names.emplace_back(spec.name);
  return names;
}

std::string commandHelp(const std::string& name) {
  const CommandSpec* spec = findCommand(name.starts_with("\\") ? name : "\\" + name);
  if (spec == nullptr) return "no command " + name + " (\\help lists the commands)\n";
  std::string usage = std::string(spec->name) + (*spec->arguments ? " " : "") + spec->arguments;
  return usage + "\n  " + spec->description + "\n  example: " + spec->example + "\n";
}

std::string helpText() {
  std::ostringstream text;
  text << "SQL statements end with \";\". Commands (one per line, no \";\"; \\help COMMAND shows one):\n";
  for (const CommandSpec& spec : kCommands) {
    std::string usage = std::string(spec.name) + (*spec.arguments ? " " : "") + spec.arguments;
    text << "  " << usage << std::string(usage.size() < 40 ? 40 - usage.size() : 1, ' ') << spec.description << "\n";
  }
  return text.str();
}

struct Catalogue::Listing {
  std::vector<ColumnInfo> columns;
  std::vector<Row> rows;

  // The cell of column `name` in `row`; absent when the listing has no such
  // column.
  Cell value(const Row& row, const std::string& name) const {
    for (std::size_t i = 0; i < columns.size() && i < row.size(); ++i) {
      if (columns[i].name == name) return row[i];
    }
    return std::nullopt;
  }

  // Keeps the rows whose column `name` is exactly `wanted`: a name given
  // to the listing is matched with LIKE, where "_" and "%" match more.
  void keepExactly(const std::string& name, const std::string& wanted) {
    std::erase_if(rows, [&](const Row& row) { return value(row, name) != wanted; });
  }
};

template <typename List>
bool Catalogue::read(List list, Listing* listing) {
  Ref<SQLCursor> cursor;
  ResultCode result = list(cursor.out());
  if (result != RESULT_OK || !cursor) {
    session_.reportError(where_, "the catalogue listing failed: " + failureText(metadata_, result));
    return false;
  }
  result = readColumns(*cursor, &listing->columns);
  if (result == RESULT_OK) {
    result = readRows(*cursor, listing->columns, [&](Row&& row) { listing->rows.push_back(std::move(row)); });
  }
  if (result != RESULT_OK) {
    session_.reportError(where_, failureText(*cursor, result));
    return false;
  }
  return true;
}

namespace {

void show(Session& session, const std::vector<ColumnInfo>& columns, const std::vector<Row>& rows,
          const std::vector<Shown>& shown) {
  std::vector<TableColumn> titles;
  for (const Shown& column : shown) titles.push_back({column.title, column.alignRight});
  std::vector<Row> projected;
  for (const Row& row : rows) {
    Row out;
    for (const Shown& column : shown) {
      Cell cell;
      for (std::size_t i = 0; i < columns.size() && i < row.size(); ++i) {
        if (columns[i].name == column.source) cell = row[i];
      }
      out.push_back(column.map ? column.map(cell) : cell);
    }
    projected.push_back(std::move(out));
  }
  session.printRows(titles, projected);
}

}  // namespace

bool Catalogue::run(CommandKind kind, const std::vector<std::string>& args) {
  const std::string first = args.empty() ? std::string() : args.front();
  switch (kind) {
    case CommandKind::Databases:
      return listObjects(kObjectDatabases, "database");
    case CommandKind::Tables:
      return listTables(first);
    case CommandKind::Views:
      return listObjects(kObjectViews, "view");
    case CommandKind::Synonyms:
      return listObjects(kObjectSynonyms, "synonym");
    case CommandKind::Procedures:
      return listProcedures(first);
    case CommandKind::Users:
      return listObjects(kObjectUsers, "user");
    case CommandKind::Roles:
      return listObjects(kObjectRoles, "role");
    case CommandKind::Describe:
      return describeTable(first);
    case CommandKind::Parameters:
      return describeProcedure(first);
    default:
      return false;
  }
}

bool Catalogue::listObjects(std::int32_t kind, const char* title) {
  Listing listing;
  if (!read([&](SQLCursor** cursor) { return metadata_.listObjects(kind, cursor); }, &listing)) return false;
  const bool owned = kind != kObjectUsers && kind != kObjectRoles;
  std::vector<Shown> shown{{"OBJECT_NAME", title}};
  if (owned) shown.push_back({"SCHEMA", "owner"});
  show(session_, listing.columns, listing.rows, shown);
  return true;
}

bool Catalogue::listTables(const std::string& pattern) {
  Listing listing;
  if (!read([&](SQLCursor** cursor) { return metadata_.listTables(pattern.c_str(), kUserTablesViewsSynonyms, cursor); },
            &listing)) {
    return false;
  }
  show(session_, listing.columns, listing.rows,
       {{"TABLE_NAME", "table"}, {"TABLE_TYPE", "type", false, kTableType}, {"SCHEMA_NAME", "owner"}});
  return true;
}

bool Catalogue::listProcedures(const std::string& pattern) {
  Listing listing;
  if (!read([&](SQLCursor** cursor) { return metadata_.listProcedures(pattern.c_str(), kAllRoutines, cursor); },
            &listing)) {
    return false;
  }
  show(session_, listing.columns, listing.rows,
       {{"PROC_NAME", "procedure"},
        {"PROC_TYPE", "type", false, kRoutineType},
        {"IN_PARAMS", "parameters", true},
        {"OUT_PARAMS", "results", true},
        {"SCHEMA_NAME", "owner"}});
  return true;
}

bool Catalogue::describeTable(const std::string& table) {
  TableSchema schema;
  if (!readTableSchema(session_, table, where_, &schema)) return false;
  std::vector<Row> columns;
  for (const SchemaColumn& column : schema.columns) {
    columns.push_back({column.name, column.type, std::string(column.notNull ? "no" : "yes")});
  }
  session_.printRows({{"column"}, {"type"}, {"nullable"}}, columns);
  std::vector<Row> indexes;
  for (const SchemaIndex& index : schema.indexes) {
    std::string keys;
    for (const std::string& column : index.columns) keys += (keys.empty() ? "" : ", ") + column;
    indexes.push_back({index.name, keys, std::string(index.unique ? "yes" : "no"),
                       index.primaryKey.empty() ? Cell{} : Cell("primary key " + index.primaryKey)});
  }
  session_.printRows({{"index"}, {"columns"}, {"unique"}, {"constraint"}}, indexes);
  return true;
}

bool Catalogue::describeProcedure(const std::string& procedure) {
  Listing listing;
  if (!read([&](SQLCursor** cursor) { return metadata_.listProcedureParameters(procedure.c_str(), "", cursor); },
            &listing)) {
    return false;
  }
  listing.keepExactly("PROCEDURE_NAME", procedure);
  show(session_, listing.columns, listing.rows,
       {{"PARAM_POSITION", "position", true},
        {"PARAM_TYPENAME", "type"},
        {"PARAM_TYPE", "direction", false, kDirection},
        {"PARAM_LENGTH", "length", true}});
  return true;
}

}  // namespace quovexsql
