// One connection of the shell: runs statements and catalogue commands
// through the driver's interfaces and prints what comes back.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "driver_library.h"
#include "printers.h"
#include "result_reader.h"
#include "shell_options.h"

namespace quovexsql {

struct OutputSettings {
  bool csv = false;
  bool escapeCsv = false;  // CSV going to a terminal
  bool quiet = false;      // no "rows affected" notes
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

  // Runs a command line that starts with "\". Returns false when it failed.
  // Sets quitRequested() for \quit.
  bool runCommand(const std::string& line, const std::string& where);
  bool quitRequested() const { return quit_; }
  // True after Ctrl-C in an interactive session, until the next prompt.
  bool interrupted() const;

  // Prints a failure: `where`, "error: ", the text.
  void reportError(const std::string& where, const std::string& text);
  // Prints listed rows as a table or as CSV.
  void printRows(const std::vector<TableColumn>& columns, const std::vector<Row>& rows);

 private:
  bool transaction(CommandKind kind, const std::string& where);
  bool isolation(const std::vector<std::string>& args, const std::string& where);
  bool printCursor(quovex::SQLCursor& cursor, const std::string& where);
  quovex::SQLMetaData* metadata(const std::string& where);

  quovex::SQLDriver& driver_;
  OutputSettings output_;
  std::ostream& out_;
  std::ostream& err_;
  Ref<quovex::SQLConnection> connection_;
  Ref<quovex::SQLMetaData> metadata_;
  bool connected_ = false;
  bool quit_ = false;
};

}  // namespace quovexsql
