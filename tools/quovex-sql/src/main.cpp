// quovex-sql: a host program for the Informix driver library. It loads
// libquovexinf.so with dlopen, connects, and runs SQL and catalogue commands
// given with -e, in files (-f), on standard input or at a prompt.
// Exit codes: 0 success, 1 a statement or command failed, 2 wrong command
// line, 3 the driver could not be loaded or the connect failed.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "driver_library.h"
#include "prompt.h"
#include "script_runner.h"
#include "session.h"
#include "shell_options.h"
#include "value_text.h"

namespace {

using namespace quovexsql;

// Runs the -e statements, then the -f files, in order. False when one failed.
bool runInputs(Session& session, const ShellOptions& options) {
  bool ok = true;
  const bool stopOnError = !options.keepGoing;
  for (const std::string& text : options.statements) {
    ScriptRunner runner(session, "-e", stopOnError);
    std::istringstream in(text);
    const bool goOn = runner.runStream(in);
    ok = ok && !runner.failed();
    if (!goOn || session.quitRequested()) return ok;
  }
  for (const std::string& file : options.files) {
    ScriptRunner runner(session, file == "-" ? "stdin" : file, stopOnError);
    bool goOn = true;
    if (file == "-") {
      goOn = runner.runStream(std::cin);
    } else {
      std::ifstream in(file, std::ios::binary);
      if (!in) {
        session.reportError("", "cannot read " + file);
        return false;
      }
      goOn = runner.runStream(in);
    }
    ok = ok && !runner.failed();
    if (!goOn || session.quitRequested()) return ok;
  }
  return ok;
}

int runShell(int argc, char** argv) {
  ShellOptions options;
  if (auto exitCode = parseShellOptions(argc, argv, &options, std::cout, std::cerr)) return *exitCode;

  DriverLibrary library;
  std::string error;
  const std::string path = options.driverPath.empty()
                               ? builtOrInstalledDriverPath(QUOVEXSQL_DRIVER_BESIDE, QUOVEXSQL_DRIVER_INSTALLED)
                               : options.driverPath;
  if (!library.load(path, &error)) {
    std::cerr << "quovex-sql: " << escapeControls(error) << "\n";
    return kExitNoConnection;
  }

  const bool interactive = options.statements.empty() && options.files.empty() && ::isatty(STDIN_FILENO) != 0;
  OutputSettings output;
  output.print.format = options.csv        ? OutputFormat::Csv
                        : options.json     ? OutputFormat::Json
                        : options.markdown ? OutputFormat::Markdown
                                           : OutputFormat::Table;
  output.print.escapeCsv = ::isatty(STDOUT_FILENO) != 0;
  output.print.maxWidth = options.maxWidth;
  output.quiet = options.quiet;
  output.terminal = ::isatty(STDOUT_FILENO) != 0;
  output.pager = interactive && output.terminal && !options.noPager;
  Session session(*library.driver(), output, std::cout, std::cerr);
  if (!session.connect(options)) return kExitNoConnection;

  bool ok = true;
  if (interactive) {
    ScriptRunner runner(session, "prompt", false);
    std::cout << "Connected to " << escapeControls(options.database) << ". \\help lists the commands.\n";
    runPrompt(runner, options.historyFile.value_or(defaultHistoryFile()));
  } else if (options.statements.empty() && options.files.empty()) {
    ScriptRunner runner(session, "stdin", !options.keepGoing);
    runner.runStream(std::cin);
    ok = !runner.failed();
  } else {
    ok = runInputs(session, options);
  }
  std::cout.flush();
  if (!std::cout) {
    // A full disk or a closed pipe lost results: that is no success.
    std::cerr << "quovex-sql: cannot write the results to standard output\n";
    return kExitStatementFailed;
  }
  return ok ? kExitOk : kExitStatementFailed;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return runShell(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "quovex-sql: " << escapeControls(error.what()) << "\n";
    return kExitStatementFailed;
  }
}
