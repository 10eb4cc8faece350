// The command line of quovex-sql.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quovexsql {

// Exit codes of the shell.
inline constexpr int kExitOk = 0;
inline constexpr int kExitStatementFailed = 1;  // a statement or command failed
inline constexpr int kExitUsage = 2;            // wrong command line
inline constexpr int kExitNoConnection = 3;     // driver not loaded, or connect failed

struct ShellOptions {
  std::string database;
  std::string user;
  std::string password;
  std::string server;
  std::string driverPath;                // empty: the library built beside the shell, else the installed one
  std::vector<std::string> statements;   // -e, run first, in order
  std::vector<std::string> files;        // -f, run next, in order; "-" is standard input
  bool csv = false;
  bool json = false;
  bool markdown = false;
  std::size_t maxWidth = 0;              // aligned table: cut longer values (0: never)
  bool noPager = false;
  bool trace = false;
  bool keepGoing = false;                // go on after a failed statement
  bool quiet = false;                    // no "rows affected" notes
  std::optional<std::string> historyFile;  // interactive history; empty text: none
};

// Parses the command line. Returns the exit code when the shell should stop
// at once (help shown: 0; a wrong command line, with its message on `err`:
// kExitUsage), or nothing to go on.
std::optional<int> parseShellOptions(int argc, const char* const* argv, ShellOptions* options, std::ostream& out,
                                     std::ostream& err);

}  // namespace quovexsql
