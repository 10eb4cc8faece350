// One connection of the shell: runs statements and catalogue commands
// through the driver's interfaces and prints what comes back.
#pragma once

#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "driver_library.h"
#include "printers.h"
#include "result_reader.h"
#include "shell_options.h"
#include "unload_format.h"

namespace quovexsql {

struct OutputSettings {
  PrintSettings print;
  bool quiet = false;   // no "rows affected" notes
  bool timing = false;  // the time of each statement after it
  bool pager = false;   // long results at the terminal through a pager
  bool terminal = false;  // standard output is a terminal (its width counts for \x auto)
};

class Session {
 public:
  Session(quovex::SQLDriver& driver, OutputSettings output, std::ostream& out, std::ostream& err);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Sets the server name and the trace callback, then connects. On failure
  // prints why and returns false.
  bool connect(const ShellOptions& options);

  // Runs one SQL statement and prints its rows or the rows affected. On
  // failure prints the driver's error text (prefixed with `where`, such as
  // "script.sql:12: ") and returns false.
  bool runStatement(const std::string& sql, const std::string& where);

  // Runs a query and keeps all its rows (for the catalogue's own tables).
  // False when it failed; the failure is printed unless `failure` says not.
  enum class OnFailure { Report, Quiet };
  bool query(const std::string& sql, const std::string& where, std::vector<Row>* rows,
             OnFailure failure = OnFailure::Report);

  // Runs a command line that starts with "\". Returns false when it failed.
  // Sets quitRequested() for \quit.
  bool runCommand(const std::string& line, const std::string& where);
  bool quitRequested() const { return quit_; }
  // Changes with each \connect, so caches of the catalogue know to renew.
  int connectionNumber() const { return connectionNumber_; }
  // The catalogue of the connection, or null (the failure printed).
  quovex::SQLMetaData* catalogue(const std::string& where) { return metadata(where); }
  // True after Ctrl-C in an interactive session, until the next prompt.
  bool interrupted() const;

  // Prints a failure: `where`, "error: ", the text.
  void reportError(const std::string& where, const std::string& text);
  // Prints listed rows in the output form of the session.
  void printRows(const std::vector<TableColumn>& columns, const std::vector<Row>& rows);

  // Where results go now (standard output, or the file of \o).
  std::ostream& output() { return out(); }

  // Values of \set, for :NAME in statements.
  const std::map<std::string, std::string>& variables() const { return variables_; }

  // Runs every line of a script file (\i); false when it failed.
  bool runFile(const std::string& path, const std::string& where);

 private:
  std::ostream& out() { return file_ ? *file_ : out_; }
  bool runSettingCommand(CommandKind kind, const std::vector<std::string>& args, const std::string& where);
  bool reconnect(const std::string& database, const std::string& where);
  bool transaction(CommandKind kind, const std::string& where);
  bool isolation(const std::vector<std::string>& args, const std::string& where);
  bool executeStatement(const std::string& sql, const std::string& where);
  bool runUnload(const TransferStatement& unload, const std::string& where);
  bool runLoad(const TransferStatement& load, const std::string& where);
  std::ostream& notes() { return output_.print.format == OutputFormat::Table ? out() : err_; }
  bool printCursor(quovex::SQLCursor& cursor, const std::string& where);
  quovex::SQLMetaData* metadata(const std::string& where);

  quovex::SQLDriver& driver_;
  OutputSettings output_;
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<std::ofstream> file_;  // \o FILE
  std::map<std::string, std::string> variables_;
  ShellOptions options_;
  int fileDepth_ = 0;  // \i inside \i
  Ref<quovex::SQLConnection> connection_;
  Ref<quovex::SQLMetaData> metadata_;
  bool connected_ = false;
  bool inTransaction_ = false;  // between \begin and \commit or \rollback
  int connectionNumber_ = 0;  // grows with each \connect
  bool quit_ = false;
};

}  // namespace quovexsql
