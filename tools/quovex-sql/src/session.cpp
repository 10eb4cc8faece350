#include "session.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <optional>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "catalogue.h"
#include "interrupts.h"
#include "pager.h"
#include "script_runner.h"
#include "table_schema.h"
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
  options_ = options;
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
  const auto started = std::chrono::steady_clock::now();
  const bool ok = executeStatement(sql, where);
  if (output_.timing) {
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - started;
    char text[64];
    std::snprintf(text, sizeof text, "Time: %.3f ms\n", spent.count());
    // Beside the results of a table, away from the data of other forms.
    (output_.print.format == OutputFormat::Table ? out() : err_) << text;
  }
  return ok;
}

bool Session::query(const std::string& sql, const std::string& where, std::vector<Row>* rows, OnFailure failure) {
  const auto fail = [&](const std::string& text) {
    if (failure == OnFailure::Report) reportError(where, text);
    return false;
  };
  Ref<SQLCommand> command;
  ResultCode result = connection_->createCommand(command.out());
  if (result != RESULT_OK || !command) {
    return fail("cannot create a command: the driver returned " + std::to_string(result));
  }
  result = command->prepare(sql.c_str(), 0);
  if (result != RESULT_OK) return fail(failureText(*command, result));
  Ref<SQLCursor> cursor;
  result = command->execute(cursor.out());
  if (result != RESULT_OK || !cursor) return fail(failureText(*command, result));
  std::vector<ColumnInfo> columns;
  result = readColumns(*cursor, &columns);
  if (result == RESULT_OK) result = readRows(*cursor, columns, [&](Row&& row) { rows->push_back(std::move(row)); });
  if (result != RESULT_OK) return fail(failureText(*cursor, result));
  return true;
}

bool Session::executeStatement(const std::string& sql, const std::string& where) {
  std::string transferError;
  if (const auto transfer = parseTransfer(sql, &transferError)) {
    if (!transferError.empty()) {
      reportError(where, transferError);
      return false;
    }
    return transfer->kind == TransferStatement::Kind::Unload ? runUnload(*transfer, where) : runLoad(*transfer, where);
  }
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
  // In a form for programs only result rows go to the output.
  std::ostream& note = output_.print.format == OutputFormat::Table ? out() : err_;
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
  std::vector<TableColumn> table;
  for (const ColumnInfo& column : columns) table.push_back({column.name, isNumericField(column.fieldType)});
  PrintSettings print = output_.print;
  if (output_.terminal && !file_) print.terminalWidth = terminalColumns();
  // At a terminal a result longer than the screen goes through the pager.
  std::unique_ptr<PagingBuffer> paging;
  std::unique_ptr<std::ostream> paged;
  if (output_.pager && !file_ && terminalLines() > 0 && !pagerCommand().empty()) {
    out_.flush();
    paging = std::make_unique<PagingBuffer>(out_, pagerCommand(), terminalLines());
    paged = std::make_unique<std::ostream>(paging.get());
  }
  std::ostream& target = paged ? *paged : out();
  const auto stop = [&] { return interrupted() || (paging && paging->pagerGone()); };
  // Rows fetched before a failure are shown, then the failure.
  std::unique_ptr<ResultWriter> writer = makeResultWriter(target, table, print);
  result = readRows(cursor, columns, [&](Row&& row) { writer->row(row); }, stop);
  writer->end();
  if (paged) {
    paged->flush();
    paging->finish();
  }
  out().flush();
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
  std::unique_ptr<ResultWriter> writer = makeResultWriter(out(), columns, output_.print);
  for (const Row& row : rows) writer->row(row);
  writer->end();
  out().flush();
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
  inTransaction_ = kind == CommandKind::Begin;
  out() << done;
  return true;
}

bool Session::isolation(const std::vector<std::string>& args, const std::string& where) {
  if (args.empty()) {
    std::int32_t level = 0;
    std::int16_t length = 0;
    connection_->getOption(kOptionIsolation, &level, sizeof level, &length);
    out() << "isolation level " << level << " (" << isolationName(level) << ")\n";
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
    out() << "isolation level " << level << " (" << isolationName(level) << ")\n";
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
      out() << (args.empty() ? helpText() : commandHelp(args.front()));
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
    case CommandKind::Include:
      return runFile(args[0], where);
    case CommandKind::Schema:
      return printSchema(*this, args.empty() ? std::string() : args[0], where);
    case CommandKind::Edit:
      reportError(where, "\\e stands alone on its line");
      return false;
    case CommandKind::Connect:
      return reconnect(args[0], where);
    case CommandKind::Timing:
    case CommandKind::Expanded:
    case CommandKind::Output:
    case CommandKind::Pset:
    case CommandKind::Set:
      return runSettingCommand(spec->kind, args, where);
    default:
      break;
  }
  SQLMetaData* catalogue = metadata(where);
  if (catalogue == nullptr) return false;
  Catalogue listing(*this, *catalogue, where);
  return listing.run(spec->kind, args);
}

}  // namespace quovexsql

namespace quovexsql {

namespace {

// "on"/"off" for a switch, or the opposite of `current` without an argument.
std::optional<bool> switchValue(const std::vector<std::string>& args, bool current) {
  if (args.empty()) return !current;
  if (args[0] == "on") return true;
  if (args[0] == "off") return false;
  return std::nullopt;
}

std::optional<std::size_t> widthValue(const std::string& text) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return static_cast<std::size_t>(std::stoul(text));
}

bool isVariableName(const std::string& name) {
  if (name.empty() || std::isalpha(static_cast<unsigned char>(name[0])) == 0) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; });
}

}  // namespace

bool Session::runSettingCommand(CommandKind kind, const std::vector<std::string>& args, const std::string& where) {
  switch (kind) {
    case CommandKind::Timing: {
      const auto on = switchValue(args, output_.timing);
      if (!on) break;
      output_.timing = *on;
      out() << "Timing is " << (*on ? "on.\n" : "off.\n");
      return true;
    }
    case CommandKind::Expanded: {
      if (!args.empty() && args[0] == "auto") {
        output_.print.expanded = Expanded::Auto;
      } else {
        const auto on = switchValue(args, output_.print.expanded == Expanded::On);
        if (!on) break;
        output_.print.expanded = *on ? Expanded::On : Expanded::Off;
      }
      static const char* const kNames[] = {"off", "on", "auto"};
      out() << "Expanded display is " << kNames[static_cast<int>(output_.print.expanded)] << ".\n";
      return true;
    }
    case CommandKind::Output:
      if (file_) {
        file_->flush();
        const bool written = static_cast<bool>(*file_);
        file_.reset();
        if (!written) {
          reportError(where, "the results could not all be written to the output file");
          return false;
        }
      }
      if (args.empty()) return true;
      file_ = std::make_unique<std::ofstream>(args[0], std::ios::binary | std::ios::trunc);
      if (!*file_) {
        file_.reset();
        reportError(where, "cannot write " + args[0]);
        return false;
      }
      return true;
    case CommandKind::Pset: {
      if (args.size() != 2 || args[0] != "max_width") break;
      const auto width = widthValue(args[1]);
      if (!width) break;
      output_.print.maxWidth = *width;
      out() << "Values are cut at " << *width << " characters" << (*width == 0 ? " (never).\n" : ".\n");
      return true;
    }
    case CommandKind::Set:
      if (args.empty()) {
        for (const auto& [name, value] : variables_) {
          out() << escapeControls(name) << " = " << escapeControls(value) << "\n";
        }
        return true;
      }
      if (!isVariableName(args[0])) {
        reportError(where, "a variable name starts with a letter and holds letters, digits and _: " + args[0]);
        return false;
      }
      if (args.size() == 1) {
        variables_.erase(args[0]);
      } else {
        std::string value;
        for (std::size_t i = 1; i < args.size(); ++i) value += (i == 1 ? "" : " ") + args[i];
        variables_[args[0]] = value;
      }
      return true;
    default:
      break;
  }
  const CommandSpec* spec = findCommandOfKind(kind);
  reportError(where, "usage: " + std::string(spec->name) + " " + spec->arguments);
  return false;
}

namespace {

constexpr std::uint8_t kParameterIn = 1;

// A value as the unload format writes it: dates month first (as the server
// reads them back), bytes as bare hexadecimal.
Cell unloadValue(const Cell& cell, const ColumnInfo& column) {
  if (!cell) return cell;
  if (column.fieldType == FIELD_DATE && cell->size() >= 10 && (*cell)[2] == '/' && (*cell)[5] == '/') {
    return cell->substr(3, 3) + cell->substr(0, 3) + cell->substr(6);
  }
  const bool bytes =
      column.fieldType == FIELD_BLOB && column.subtype != SUBTYPE_MEMO && column.subtype != SUBTYPE_CHAR_LOB;
  if (bytes && cell->starts_with("\\x")) return cell->substr(2);
  return cell;
}

std::string rowsWord(std::size_t count) { return count == 1 ? " row" : " rows"; }

}  // namespace

bool Session::runUnload(const TransferStatement& unload, const std::string& where) {
  Ref<SQLCommand> command;
  ResultCode result = connection_->createCommand(command.out());
  if (result != RESULT_OK || !command) {
    reportError(where, "cannot create a command: the driver returned " + std::to_string(result));
    return false;
  }
  result = command->prepare(unload.rest.c_str(), 0);
  Ref<SQLCursor> cursor;
  if (result == RESULT_OK) result = command->execute(cursor.out());
  if (result != RESULT_OK || !cursor) {
    reportError(where, failureText(*command, result));
    return false;
  }
  std::vector<ColumnInfo> columns;
  result = readColumns(*cursor, &columns);
  if (result != RESULT_OK) {
    reportError(where, failureText(*cursor, result));
    return false;
  }
  std::ofstream file(unload.file, std::ios::binary | std::ios::trunc);
  if (!file) {
    reportError(where, "cannot write " + unload.file);
    return false;
  }
  std::size_t count = 0;
  result = readRows(
      *cursor, columns,
      [&](Row&& row) {
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = unloadValue(row[i], columns[i]);
        file << unloadRecord(row, unload.delimiter);
        ++count;
      },
      [this] { return interrupted(); });
  file.flush();
  if (result != RESULT_OK) {
    reportError(where, failureText(*cursor, result));
    return false;
  }
  if (!file) {
    reportError(where, "cannot write all the rows to " + unload.file);
    return false;
  }
  if (interrupted()) {
    reportError(where, "interrupted: " + std::to_string(count) + rowsWord(count) + " unloaded to " + unload.file);
    return false;
  }
  notes() << count << rowsWord(count) << " unloaded\n";
  return true;
}

bool Session::runLoad(const TransferStatement& load, const std::string& where) {
  std::string tableName;
  std::vector<std::string> named;
  if (!parseInsertTarget(load.rest, &tableName, &named)) {
    reportError(where, "usage: LOAD FROM 'file' [DELIMITER 'c'] INSERT INTO table [(columns)]");
    return false;
  }
  TableSchema table;
  if (!readTableSchema(*this, tableName, where, &table)) return false;
  std::vector<SchemaColumn> targets;
  if (named.empty()) {
    targets = table.columns;
  } else {
    for (const std::string& name : named) {
      const auto found = std::find_if(table.columns.begin(), table.columns.end(),
                                      [&](const SchemaColumn& column) { return column.name == name; });
      if (found == table.columns.end()) {
        reportError(where, "no column " + name + " in " + tableName);
        return false;
      }
      targets.push_back(*found);
    }
  }
  std::ifstream file(load.file, std::ios::binary);
  if (!file) {
    reportError(where, "cannot read " + load.file);
    return false;
  }
  std::string insert = load.rest;
  if (named.empty()) {
    insert += " (";
    for (std::size_t i = 0; i < targets.size(); ++i) insert += (i == 0 ? "" : ", ") + targets[i].name;
    insert += ")";
  }
  insert += " values (";
  for (std::size_t i = 0; i < targets.size(); ++i) insert += i == 0 ? "?" : ", ?";
  insert += ")";

  // In a database with a log the whole file is one transaction.
  std::int32_t level = 0;
  std::int16_t levelLength = 0;
  connection_->getOption(kOptionIsolation, &level, sizeof level, &levelLength);
  TransactionDesc transaction{1, 0, level, 0};
  const bool ownTransaction = !inTransaction_ && connection_->beginTransaction(&transaction) == RESULT_OK;
  std::size_t loaded = 0;
  const auto fail = [&](int line, const std::string& text) {
    std::string what;
    if (ownTransaction) {
      connection_->rollbackTransaction(&transaction);
      what = "nothing was loaded (rolled back)";
    } else if (inTransaction_) {
      what = "the " + std::to_string(loaded) + rowsWord(loaded) + " before it stay in the open transaction";
    } else {
      what = "the " + std::to_string(loaded) + rowsWord(loaded) +
             " before it stay (the database keeps no transaction log)";
    }
    reportError(where, load.file + ":" + std::to_string(line) + ": " + text + "\n" + what);
    return false;
  };

  Ref<SQLCommand> command;
  ResultCode result = connection_->createCommand(command.out());
  if (result != RESULT_OK || !command) return fail(0, "cannot create a command");
  result = command->prepare(insert.c_str(), static_cast<std::uint16_t>(targets.size()));
  if (result != RESULT_OK) return fail(0, failureText(*command, result));
  std::vector<Cell> fields;
  int lineNumber = 0;
  for (;;) {
    const int recordLine = lineNumber + 1;
    if (!readUnloadRecord(file, load.delimiter, &fields, &lineNumber)) break;
    if (interrupted()) return fail(recordLine, "interrupted");
    if (fields.size() != targets.size()) {
      return fail(recordLine, std::to_string(fields.size()) + " fields where the table takes " +
                                  std::to_string(targets.size()));
    }
    std::vector<std::string> values(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string& type = targets[i].type;
      const bool bytes = type == "byte" || type == "blob";
      const bool longText = type == "text" || type == "clob";
      std::uint16_t fieldType = FIELD_STRING;
      std::uint16_t subtype = SUBTYPE_NONE;
      if (bytes || longText) {
        fieldType = FIELD_BLOB;
        subtype = type == "byte" ? SUBTYPE_BINARY : type == "blob" ? SUBTYPE_BINARY_LOB
                  : type == "text" ? SUBTYPE_MEMO : SUBTYPE_CHAR_LOB;
      }
      if (fields[i]) {
        if (bytes) {
          const auto decoded = bytesFromHex(*fields[i]);
          if (!decoded) return fail(recordLine, "field " + std::to_string(i + 1) + " (" + targets[i].name +
                                                    ") is not hexadecimal");
          values[i] = *decoded;
        } else {
          values[i] = *fields[i];
        }
      }
      result = command->setParameter(static_cast<std::uint16_t>(i + 1), 0, kParameterIn, fieldType, subtype, 0, 0,
                                     static_cast<std::uint32_t>(values[i].size()), values[i].data(),
                                     fields[i] ? 0 : 1);
      if (result != RESULT_OK) {
        return fail(recordLine, "field " + std::to_string(i + 1) + " (" + targets[i].name + "): " +
                                    failureText(*command, result));
      }
    }
    Ref<SQLCursor> none;
    result = command->execute(none.out());
    if (result != RESULT_OK) return fail(recordLine, failureText(*command, result));
    ++loaded;
  }
  if (ownTransaction) {
    result = connection_->commitTransaction(&transaction);
    if (result != RESULT_OK) return fail(lineNumber, failureText(*connection_, result));
  }
  notes() << loaded << rowsWord(loaded) << " loaded\n";
  return true;
}

bool Session::runFile(const std::string& path, const std::string& where) {
  constexpr int kDeepestInclude = 16;
  if (fileDepth_ >= kDeepestInclude) {
    reportError(where, "scripts include each other too deeply: " + path);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    reportError(where, "cannot read " + path);
    return false;
  }
  ++fileDepth_;
  ScriptRunner runner(*this, path, true);
  runner.runStream(in);
  --fileDepth_;
  return !runner.failed();
}

bool Session::reconnect(const std::string& database, const std::string& where) {
  const ShellOptions before = options_;
  ShellOptions options = options_;
  options.database = database;
  Ref<SQLConnection> previous = std::move(connection_);
  Ref<SQLMetaData> previousMetadata = std::move(metadata_);
  if (!connect(options)) {
    // The session stays on the database it had.
    connection_ = std::move(previous);
    metadata_ = std::move(previousMetadata);
    options_ = before;
    reportError(where, "still connected to the previous database");
    return false;
  }
  previousMetadata.reset();
  if (previous) previous->disconnect();
  ++connectionNumber_;
  out() << "Connected to " << escapeControls(database) << ".\n";
  return true;
}

}  // namespace quovexsql
