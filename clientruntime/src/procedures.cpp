#include "procedures.h"

#include <sqlite3.h>

#include <cctype>
#include <climits>

#include "column_types.h"
#include "database.h"
#include "sqlite_errors.h"
#include "sqlite_statement.h"
#include "status_codes.h"
#include "value_binding.h"

namespace ifxrt {
namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && (std::isspace(static_cast<unsigned char>(text.back())) || text.back() == ';')) {
    text.remove_suffix(1);
  }
  return text;
}

// Reads the next word (letters, digits, "_", ".") at `at` after blanks.
std::string_view nextWord(std::string_view text, size_t& at) {
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  const size_t start = at;
  while (at < text.size() &&
         (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_' || text[at] == '.')) {
    ++at;
  }
  return text.substr(start, at - start);
}

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

struct Registration {
  std::string parameters;
  std::string returns;
  std::string body;
};

// -674 when the database has no such procedure (or no procedures at all).
Status loadRegistration(sqlite3* db, const std::string& name, Registration& found) {
  SqliteStatement query;
  const std::string sql = std::string("SELECT parameters, returns, body FROM ") + kProceduresTable +
                          " WHERE lower(name) = lower(?1)";
  int rc = query.prepare(db, sql);
  if (rc != SQLITE_OK) return Status::error(code::kRoutineNotResolved, 0, name);
  rc = sqlite3_bind_text(query.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_step(query.get());
  if (rc == SQLITE_DONE) return Status::error(code::kRoutineNotResolved, 0, name);
  if (rc != SQLITE_ROW) return statusFromSqlite(db, rc);
  auto text = [&](int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(query.get(), column));
    return std::string(value != nullptr ? value : "");
  };
  found = Registration{text(0), text(1), text(2)};
  return Status::ok();
}

Status badRegistration(const std::string& name, const std::string& what) {
  return Status::error(code::kRuntimeError, 0, "(procedure " + name + ": " + what + ") ");
}

// Removes `word` (any case, a whole word) from the end of `text`.
bool dropLastWord(std::string_view& text, std::string_view word) {
  text = trim(text);
  if (text.size() < word.size() || !sameWord(text.substr(text.size() - word.size()), word)) return false;
  const size_t start = text.size() - word.size();
  if (start > 0 && (std::isalnum(static_cast<unsigned char>(text[start - 1])) || text[start - 1] == '_')) return false;
  text.remove_suffix(word.size());
  return true;
}

// Position just past the ")" that closes the "(" at `open`; npos if none.
size_t pastClosingParenthesis(std::string_view text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i + 1;
  }
  return std::string_view::npos;
}

// Where the body starts in "types body": the first word, outside
// parentheses, that begins a statement (no type name is such a word).
size_t bodyStart(std::string_view text) {
  static constexpr std::string_view kStatementWords[] = {"SELECT", "INSERT", "UPDATE", "DELETE",
                                                         "WITH",   "VALUES", "REPLACE"};
  int depth = 0;
  for (size_t at = 0; at < text.size();) {
    if (std::isspace(static_cast<unsigned char>(text[at]))) {
      ++at;
    } else if (text[at] == '(' || text[at] == ')') {
      depth += text[at++] == '(' ? 1 : -1;
    } else if (const std::string_view word = nextWord(text, at); word.empty()) {
      ++at;  // a comma or another sign
    } else {
      for (std::string_view statementWord : kStatementWords) {
        if (depth == 0 && sameWord(word, statementWord)) return at - word.size();
      }
    }
  }
  return std::string_view::npos;
}

std::string sqlLiteral(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

std::string lowerCase(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

// True when the procedures table holds `name`; false when it or the table is missing.
bool routineExists(sqlite3* db, const std::string& name) {
  Registration ignored;
  return !loadRegistration(db, name, ignored).failed();
}

// The body must be one statement that SQLite takes; its error otherwise.
Status checkBody(sqlite3* db, const std::string& body) {
  SqliteStatement prepared;
  const char* tail = nullptr;
  const int rc = prepared.prepare(db, body, &tail);
  if (rc != SQLITE_OK) return statusFromSqlite(db, rc);
  if (!prepared || !trim(tail != nullptr ? std::string_view(tail) : std::string_view()).empty()) {
    return Status::error(code::kSyntaxError);
  }
  return Status::ok();
}

Status dropRoutineText(sqlite3* db, std::string_view rest, std::string& sqliteText) {
  size_t at = 0;
  std::string name(nextWord(rest, at));
  if (const size_t ownerEnd = name.rfind('.'); ownerEnd != std::string::npos) name.erase(0, ownerEnd + 1);
  const std::string_view tail = trim(rest.substr(at));  // "(types)" picks one of overloads: one per name here
  if (name.empty() || (!tail.empty() && (tail.front() != '(' || tail.back() != ')'))) {
    return Status::error(code::kSyntaxError);
  }
  if (!routineExists(db, name)) return Status::error(code::kRoutineNotResolved, 0, name);
  sqliteText = std::string("DELETE FROM ") + kProceduresTable + " WHERE lower(name) = " + sqlLiteral(lowerCase(name));
  return Status::ok();
}

Status createRoutineText(sqlite3* db, std::string_view kind, std::string_view rest, std::string& sqliteText) {
  if (!dropLastWord(rest, kind) || !dropLastWord(rest, "END")) return Status::error(code::kSyntaxError);
  size_t at = 0;
  std::string name(nextWord(rest, at));
  if (const size_t ownerEnd = name.rfind('.'); ownerEnd != std::string::npos) name.erase(0, ownerEnd + 1);
  while (at < rest.size() && std::isspace(static_cast<unsigned char>(rest[at]))) ++at;
  if (name.empty() || at >= rest.size() || rest[at] != '(') return Status::error(code::kSyntaxError);
  const size_t parametersEnd = pastClosingParenthesis(rest, at);
  if (parametersEnd == std::string_view::npos) return Status::error(code::kSyntaxError);
  const std::string_view parameters = trim(rest.substr(at + 1, parametersEnd - at - 2));
  std::string_view tail = rest.substr(parametersEnd);
  std::string_view returns;
  size_t word = 0;
  const std::string_view returning = nextWord(tail, word);
  if (sameWord(returning, "RETURNING") || sameWord(returning, "RETURNS")) {
    tail.remove_prefix(word);
    const size_t start = bodyStart(tail);
    if (start == std::string_view::npos) return Status::error(code::kSyntaxError);
    returns = trim(tail.substr(0, start));
    tail.remove_prefix(start);
  }
  // A function returns values; a procedure here runs its statement only.
  if (returns.empty() != sameWord(kind, "PROCEDURE")) return Status::error(code::kSyntaxError);
  for (const std::string& type : splitList(returns)) {
    if (!columnTypeOf(type)) return Status::error(code::kSyntaxError);
  }
  const std::string body(trim(tail));
  if (Status status = checkBody(db, body); status.failed()) return status;
  const std::string create = std::string("CREATE TABLE IF NOT EXISTS ") + kProceduresTable +
                             " (name TEXT PRIMARY KEY, parameters TEXT NOT NULL, returns TEXT NOT NULL,"
                             " body TEXT NOT NULL)";
  if (const int rc = sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr); rc != SQLITE_OK) {
    return statusFromSqlite(db, rc);
  }
  if (routineExists(db, name)) return Status::error(code::kRoutineExists, 0, name);
  sqliteText = std::string("INSERT INTO ") + kProceduresTable + " (name, parameters, returns, body) VALUES (" +
               sqlLiteral(lowerCase(name)) + ", " + sqlLiteral(parameters) + ", " + sqlLiteral(returns) + ", " +
               sqlLiteral(body) + ")";
  return Status::ok();
}

}  // namespace

bool isProcedureCall(std::string_view sql) {
  size_t at = 0;
  if (!sameWord(nextWord(sql, at), "EXECUTE")) return false;
  const std::string_view second = nextWord(sql, at);
  return sameWord(second, "PROCEDURE") || sameWord(second, "FUNCTION");
}

bool isRoutineDefinition(std::string_view sql) {
  size_t at = 0;
  const std::string_view first = nextWord(sql, at);
  std::string_view second = nextWord(sql, at);
  if (sameWord(first, "CREATE") && sameWord(second, "DBA")) second = nextWord(sql, at);
  return (sameWord(first, "CREATE") || sameWord(first, "DROP")) &&
         (sameWord(second, "PROCEDURE") || sameWord(second, "FUNCTION"));
}

Status routineDefinitionText(sqlite3* db, std::string_view sql, std::string& sqliteText) {
  sql = trim(sql);
  size_t at = 0;
  const std::string_view first = nextWord(sql, at);
  std::string_view kind = nextWord(sql, at);
  if (sameWord(first, "DROP")) return dropRoutineText(db, sql.substr(at), sqliteText);
  if (sameWord(kind, "DBA")) kind = nextWord(sql, at);
  return createRoutineText(db, kind, sql.substr(at), sqliteText);
}

std::vector<std::string> splitList(std::string_view list) {
  std::vector<std::string> parts;
  if (trim(list).empty()) return parts;
  int depth = 0;
  char quote = 0;
  size_t start = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const char c = list[i];
    if (quote != 0) {
      if (c == quote) quote = 0;  // a doubled quote closes and reopens
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (c == ',' && depth == 0) {
      parts.emplace_back(trim(list.substr(start, i - start)));
      start = i + 1;
    }
  }
  parts.emplace_back(trim(list.substr(start)));
  return parts;
}

Status prepareProcedureCall(sqlite3* db, std::string_view sql, PreparedStatement& statement) {
  sql = trim(sql);
  size_t at = 0;
  nextWord(sql, at);  // EXECUTE
  nextWord(sql, at);  // PROCEDURE or FUNCTION
  std::string name(nextWord(sql, at));
  const size_t ownerEnd = name.rfind('.');  // "informix.name": the owner selects nothing
  if (ownerEnd != std::string::npos) name.erase(0, ownerEnd + 1);
  if (name.empty()) return Status::error(code::kSyntaxError);
  std::string_view rest = trim(sql.substr(at));
  std::vector<std::string> arguments;
  if (!rest.empty()) {
    if (rest.front() != '(' || rest.back() != ')') return Status::error(code::kSyntaxError);
    arguments = splitList(rest.substr(1, rest.size() - 2));
  }
  Registration registration;
  Status status = loadRegistration(db, name, registration);
  if (status.failed()) return status;

  ProcedureCall& call = statement.procedure;
  call = ProcedureCall{name, {}, {}};
  for (const std::string& parameter : splitList(registration.parameters)) {
    size_t word = 0;
    const std::string_view parameterName = nextWord(parameter, word);
    if (parameterName.empty()) return badRegistration(name, "parameter without a name");
    call.parameterNames.emplace_back(parameterName);
  }
  if (arguments.size() != call.parameterNames.size()) return Status::error(code::kRoutineNotResolved, 0, name);
  int markers = 0;
  for (const std::string& argument : arguments) {
    if (argument.empty()) return Status::error(code::kSyntaxError);
    call.arguments.push_back(argument == "?" ? ProcedureArgument{markers++, {}} : ProcedureArgument{-1, argument});
  }

  statement.sqliteText = registration.body;
  const char* tail = nullptr;
  const int rc = statement.sqlite.prepare(db, statement.sqliteText, &tail);
  if (rc != SQLITE_OK) return badRegistration(name, sqlite3_errmsg(db));
  if (!statement.sqlite) return badRegistration(name, "empty body");

  const std::vector<std::string> returns = splitList(registration.returns);
  const int bodyColumns = sqlite3_column_count(statement.sqlite.get());
  if (static_cast<int>(returns.size()) > bodyColumns) return badRegistration(name, "body returns fewer values");
  statement.columns.clear();
  for (size_t i = 0; i < returns.size(); ++i) {
    const std::optional<ColumnType> type = columnTypeOf(returns[i]);
    if (!type) return badRegistration(name, "unknown type " + returns[i]);
    const char* columnName = sqlite3_column_name(statement.sqlite.get(), static_cast<int>(i));
    statement.columns.push_back(ResultColumn{columnName != nullptr ? columnName : "", *type, false});
  }
  statement.markerCount = markers;
  statement.hasProcedure = true;
  statement.kind = IFX_KIND_EXECUTE_PROCEDURE;
  return Status::ok();
}

int32_t bindProcedureArguments(sqlite3_stmt* body, const ProcedureCall& call, const IfxDescriptor* parameters) {
  for (size_t i = 0; i < call.parameterNames.size(); ++i) {
    const int index = sqlite3_bind_parameter_index(body, (":" + call.parameterNames[i]).c_str());
    if (index == 0) continue;  // the body does not use this parameter
    const ProcedureArgument& argument = call.arguments[i];
    if (argument.marker >= 0) {
      if (parameters == nullptr || parameters->entries == nullptr || argument.marker >= parameters->count) {
        return code::kHostVariableCount;
      }
      const int32_t rc = bindParameter(body, index, parameters->entries[argument.marker]);
      if (rc != 0) return rc;
      continue;
    }
    SqliteStatement value;
    sqlite3* db = sqlite3_db_handle(body);
    int rc = value.prepare(db, "SELECT " + argument.expression);
    if (rc == SQLITE_OK && !value) rc = SQLITE_ERROR;
    if (rc == SQLITE_OK) rc = sqlite3_step(value.get());
    if (rc != SQLITE_ROW) return statusFromSqlite(db, rc == SQLITE_DONE ? SQLITE_ERROR : rc).code;
    rc = sqlite3_bind_value(body, index, sqlite3_column_value(value.get(), 0));
    if (rc != SQLITE_OK) return code::kOutOfMemory;
  }
  return 0;
}

Status runProcedureCall(Database& database, std::string_view sql) {
  PreparedStatement statement("");
  Status status = prepareProcedureCall(database.handle(), sql, statement);
  if (status.failed()) return status;
  if (statement.markerCount > 0) return Status::error(code::kHostVariableCount);
  sqlite3_stmt* body = statement.sqlite.get();
  const int32_t bound = bindProcedureArguments(body, statement.procedure, nullptr);
  if (bound != 0) return Status::error(bound);
  int rc;
  while ((rc = sqlite3_step(body)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) return statusFromSqlite(database.handle(), rc);
  if (!sqlite3_stmt_readonly(body)) status.rowsProcessed = sqlite3_changes(database.handle());
  return status;
}

}  // namespace ifxrt
