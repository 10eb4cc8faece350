#include "session.h"

#include <cstring>
#include <sstream>

#include "catalogue.h"
#include "interrupts.h"
#include "value_text.h"

namespace quovexsql {

using namespace quovex;

namespace {

// Connection options of the driver.
constexpr OptionNumber kOptionIsolation = 6;
constexpr OptionNumber kOptionTraceCallback = 9;
constexpr OptionNumber kOptionServerName = 10;
constexpr OptionNumber kOptionTraceValue = 12;

// Trace messages go to the stream whose address the connection holds as its
// trace value, one per line, as the driver sends them.
std::int32_t writeTrace(std::int32_t /*callType*/, TraceRecord* record) {
  if (record == nullptr || record->clientValue == 0) return 0;
  auto* stream = reinterpret_cast<std::ostream*>(record->clientValue);
  const std::string_view text(record->text, ::strnlen(record->text, sizeof record->text));
  *stream << "trace: " << escapeControls(text) << std::endl;
  return 0;
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> result;
  // A "--" comment may follow a command, as it may follow SQL.
  for (std::string word; in >> word && !word.starts_with("--");) result.push_back(word);
  return result;
}

const char* isolationName(std::int32_t level) {
  switch (level) {
    case ISOLATION_COMMITTED_READ:
      return "committed read";
    case ISOLATION_REPEATABLE_READ:
      return "repeatable read";
    case ISOLATION_DIRTY_READ:
      return "dirty read";
    default:
      return "unchanged";
  }
}

}  // namespace

Session::Session(SQLDriver& driver, OutputSettings output, std::ostream& out, std::ostream& err)
    : driver_(driver), output_(output), out_(out), err_(err) {}

Session::~Session() {
  metadata_.reset();
  if (connected_) connection_->disconnect();
}

void Session::reportError(const std::string& where, const std::string& text) {
  out_.flush();
  err_ << escapeControls(where) << "error: ";
  // The detail line keeps its line break; everything else is escaped.
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    err_ << escapeControls(text.substr(start, end == std::string::npos ? std::string::npos : end - start)) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  err_.flush();
}

bool Session::connect(const ShellOptions& options) {
  ResultCode result = driver_.createConnection(connection_.out());
  if (result != RESULT_OK || !connection_) {
    reportError("", "cannot create a connection: the driver returned " + std::to_string(result));
    return false;
  }
  if (!options.server.empty()) {
    result = connection_->setOption(kOptionServerName, reinterpret_cast<OptionValue>(options.server.c_str()));
    if (result != RESULT_OK) {
      reportError("", "the driver refused the server name (result " + std::to_string(result) + ")");
      return false;
    }
  }
  if (options.trace) {
    connection_->setOption(kOptionTraceValue, reinterpret_cast<OptionValue>(&err_));
    connection_->setOption(kOptionTraceCallback, reinterpret_cast<OptionValue>(&writeTrace));
  }
  result = connection_->connect(options.database.c_str(), options.user.c_str(), options.password.c_str());
  if (result != RESULT_OK) {
    reportError("", "cannot connect to " + options.database + ": " + failureText(*connection_, result));
    return false;
  }
  connected_ = true;
  return true;
}

bool Session::interrupted() const { return interruptRequested(); }

bool Session::runStatement(const std::string& sql, const std::string& where) {
  Ref<SQLCommand> command;
  ResultCode result = connection_->createCommand(command.out());
  if (result != RESULT_OK || !command) {
    reportError(where, "cannot create a command: the driver returned " + std::to_string(result));
    return false;
  }
  result = command->prepare(sql.c_str(), 0);
  if (result != RESULT_OK) {
    reportError(where, failureText(*command, result));
    return false;
  }
  Ref<SQLCursor> cursor;
  result = command->execute(cursor.out());
  if (result != RESULT_OK) {
    reportError(where, failureText(*command, result));
    return false;
  }
  if (cursor) return printCursor(*cursor, where);
  if (output_.quiet) return true;
  std::int32_t rows = 0;
  command->rowsAffected(&rows);
  // With CSV on standard output only result rows go there.
  std::ostream& note = output_.csv ? err_ : out_;
  note << rows << (rows == 1 ? " row affected\n" : " rows affected\n");
  return true;
}

bool Session::printCursor(SQLCursor& cursor, const std::string& where) {
  std::vector<ColumnInfo> columns;
  ResultCode result = readColumns(cursor, &columns);
  if (result != RESULT_OK) {
    reportError(where, failureText(cursor, result));
    return false;
  }
  const auto stop = [this] { return interrupted(); };
  if (output_.csv) {
    CsvWriter csv(out_, output_.escapeCsv);
    std::vector<std::string> names;
    for (const ColumnInfo& column : columns) names.push_back(column.name);
    csv.header(names);
    result = readRows(cursor, columns, [&](Row&& row) { csv.row(row); }, stop);
  } else {
    std::vector<Row> rows;
    result = readRows(cursor, columns, [&](Row&& row) { rows.push_back(std::move(row)); }, stop);
    // Rows fetched before a failure are shown, then the failure.
    std::vector<TableColumn> table;
    for (const ColumnInfo& column : columns) table.push_back({column.name, isNumericField(column.fieldType)});
    printRows(table, rows);
  }
  out_.flush();
  if (result != RESULT_OK) {
    reportError(where, failureText(cursor, result));
    return false;
  }
  if (interrupted()) {
    reportError(where, "interrupted: the remaining rows were not fetched");
    return false;
  }
  return true;
}

void Session::printRows(const std::vector<TableColumn>& columns, const std::vector<Row>& rows) {
  if (output_.csv) {
    CsvWriter csv(out_, output_.escapeCsv);
    std::vector<std::string> names;
    for (const TableColumn& column : columns) names.push_back(column.title);
    csv.header(names);
    for (const Row& row : rows) csv.row(row);
  } else {
    printTable(out_, columns, rows);
  }
  out_.flush();
}

SQLMetaData* Session::metadata(const std::string& where) {
  if (!metadata_) {
    const ResultCode result = connection_->createMetaData(metadata_.out());
    if (result != RESULT_OK || !metadata_) {
      reportError(where, "cannot read the catalogue: the driver returned " + std::to_string(result));
      return nullptr;
    }
  }
  return metadata_.get();
}

bool Session::transaction(CommandKind kind, const std::string& where) {
  // The transaction runs at the connection's isolation level.
  std::int32_t level = 0;
  std::int16_t length = 0;
  connection_->getOption(kOptionIsolation, &level, sizeof level, &length);
  TransactionDesc descriptor{1, 0, level, 0};
  ResultCode result = RESULT_OK;
  const char* done = "";
  if (kind == CommandKind::Begin) {
    result = connection_->beginTransaction(&descriptor);
    done = "transaction begun\n";
  } else if (kind == CommandKind::Commit) {
    result = connection_->commitTransaction(&descriptor);
    done = "transaction committed\n";
  } else {
    result = connection_->rollbackTransaction(&descriptor);
    done = "transaction rolled back\n";
  }
  if (result != RESULT_OK) {
    reportError(where, failureText(*connection_, result));
    return false;
  }
  out_ << done;
  return true;
}

bool Session::isolation(const std::vector<std::string>& args, const std::string& where) {
  if (args.empty()) {
    std::int32_t level = 0;
    std::int16_t length = 0;
    connection_->getOption(kOptionIsolation, &level, sizeof level, &length);
    out_ << "isolation level " << level << " (" << isolationName(level) << ")\n";
    return true;
  }
  static const std::pair<const char*, std::int32_t> kLevels[] = {
      {"committed", ISOLATION_COMMITTED_READ}, {"0", ISOLATION_COMMITTED_READ},
      {"repeatable", ISOLATION_REPEATABLE_READ}, {"1", ISOLATION_REPEATABLE_READ},
      {"dirty", ISOLATION_DIRTY_READ}, {"2", ISOLATION_DIRTY_READ}};
  for (const auto& [name, level] : kLevels) {
    if (args[0] != name) continue;
    const ResultCode result = connection_->setOption(kOptionIsolation, level);
    if (result != RESULT_OK) {
      reportError(where, failureText(*connection_, result));
      return false;
    }
    out_ << "isolation level " << level << " (" << isolationName(level) << ")\n";
    return true;
  }
  reportError(where, "unknown isolation level " + args[0] + " (committed, repeatable or dirty)");
  return false;
}

bool Session::runCommand(const std::string& line, const std::string& where) {
  std::vector<std::string> args = words(line);
  const std::string name = args.empty() ? "\\" : args.front();
  args.erase(args.begin());
  const CommandSpec* spec = findCommand(name);
  if (spec == nullptr) {
    reportError(where, "unknown command " + name + " (\\help lists the commands)");
    return false;
  }
  if (args.size() < spec->minArgs || args.size() > spec->maxArgs) {
    reportError(where, "usage: " + std::string(spec->name) + (*spec->arguments ? " " : "") + spec->arguments);
    return false;
  }
  switch (spec->kind) {
    case CommandKind::Help:
      out_ << helpText();
      return true;
    case CommandKind::Quit:
      quit_ = true;
      return true;
    case CommandKind::Begin:
    case CommandKind::Commit:
    case CommandKind::Rollback:
      return transaction(spec->kind, where);
    case CommandKind::Isolation:
      return isolation(args, where);
    default:
      break;
  }
  SQLMetaData* catalogue = metadata(where);
  if (catalogue == nullptr) return false;
  Catalogue listing(*this, *catalogue, where);
  return listing.run(spec->kind, args);
}

}  // namespace quovexsql
