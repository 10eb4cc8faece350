#include "shell_options.h"

#include <CLI/CLI.hpp>

#include <fstream>

namespace quovexsql {

namespace {

// The first line of a file, for a password kept out of the command line
// (which every user of the machine can read).
bool readFirstLine(const std::string& path, std::string* line) {
  std::ifstream in(path);
  if (!in) return false;
  std::getline(in, *line);
  if (!line->empty() && line->back() == '\r') line->pop_back();
  return true;
}

}  // namespace

std::optional<int> parseShellOptions(int argc, const char* const* argv, ShellOptions* options, std::ostream& out,
                                     std::ostream& err) {
  CLI::App app{
      "quovex-sql: runs SQL through the Informix driver library (libquovexinf.so).\n"
      "Statements end with \";\". Without -e or -f it reads standard input, or shows a prompt\n"
      "when standard input is a terminal (\\help lists the commands, \\help COMMAND shows one).\n"
      "Commands: \\databases \\tables \\views \\synonyms \\procedures \\users \\roles \\describe\n"
      "\\procedure \\schema \\begin \\commit \\rollback \\isolation \\timing \\x \\pset \\o \\i \\e\n"
      "\\connect \\set \\help \\quit; UNLOAD TO 'file' SELECT ... and LOAD FROM 'file' INSERT INTO t.",
      "quovex-sql"};
  std::string passwordFile;
  std::string history;
  app.add_option("-d,--database", options->database, "database to connect to (a stand-in database file)")
      ->required();
  app.add_option("-u,--user", options->user, "user name");
  app.add_option("-p,--password", options->password, "password");
  app.add_option("--password-file", passwordFile, "read the password from the first line of this file");
  app.add_option("-s,--server", options->server, "server name (at most 31 characters)");
  app.add_option("--driver", options->driverPath,
                 "driver library to load (default: the one built beside quovex-sql, else the installed one)");
  app.add_option("-e,--execute", options->statements, "SQL to run (repeatable; runs before -f files)");
  app.add_option("-f,--file", options->files, "SQL script to run (repeatable; - is standard input)");
  auto* csv = app.add_flag("--csv", options->csv, "print results as CSV (RFC 4180)");
  auto* json = app.add_flag("--json", options->json, "print each result as one JSON array of objects");
  auto* markdown = app.add_flag("--markdown", options->markdown, "print results as Markdown tables");
  csv->excludes(json)->excludes(markdown);
  json->excludes(markdown);
  app.add_option("--max-width", options->maxWidth, "cut values longer than N characters in the table (0: never)");
  app.add_flag("--no-pager", options->noPager, "never show long results through a pager");
  app.add_flag("--trace", options->trace, "show the driver's trace messages on standard error as they happen");
  app.add_flag("-k,--keep-going", options->keepGoing, "go on with the next statement after a failure");
  app.add_flag("-q,--quiet", options->quiet, "do not print the rows affected by statements without results");
  app.add_option("--history", history, "history file of the prompt (default ~/.quovex_sql_history; \"\" for none)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help, out, err);
  } catch (const CLI::ParseError& error) {
    err << "quovex-sql: " << error.what() << "\nRun with --help for the options.\n";
    return kExitUsage;
  }
  if (app.count("--history") > 0) options->historyFile = history;
  if (!passwordFile.empty()) {
    if (app.count("--password") > 0) {
      err << "quovex-sql: give either --password or --password-file\n";
      return kExitUsage;
    }
    if (!readFirstLine(passwordFile, &options->password)) {
      err << "quovex-sql: cannot read the password file " << passwordFile << "\n";
      return kExitUsage;
    }
  }
  if (options->server.size() > 31) {
    err << "quovex-sql: the server name has more than 31 characters\n";
    return kExitUsage;
  }
  return std::nullopt;
}

}  // namespace quovexsql
