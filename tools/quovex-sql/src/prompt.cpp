#include "prompt.h"

#include <editline/readline.h>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace quovexsql {

namespace {

constexpr const char* kPrompt = "sql> ";
constexpr const char* kContinuation = "...> ";
constexpr int kHistoryLines = 1000;

}  // namespace

std::string defaultHistoryFile() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::string(home) + "/.quovex_sql_history";
}

void runPrompt(ScriptRunner& runner, const std::string& historyFile) {
  using_history();
  stifle_history(kHistoryLines);
  if (!historyFile.empty()) read_history(historyFile.c_str());
  for (;;) {
    std::cout.flush();
    std::unique_ptr<char, decltype(&std::free)> line(readline(runner.hasPending() ? kContinuation : kPrompt),
                                                     &std::free);
    if (!line) {
      std::cout << "\n";
      runner.finish();
      break;
    }
    if (*line.get() != '\0') add_history(line.get());
    if (!runner.line(line.get())) break;
  }
  if (!historyFile.empty()) write_history(historyFile.c_str());
}

}  // namespace quovexsql
