// The interactive prompt: libedit line editing and history, with Ctrl-C and
// Ctrl-D handled so that nothing half-typed is ever run by accident.
#include "prompt.h"

#include <editline/readline.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <algorithm>
#include <iostream>
#include <memory>

#include "completion.h"
#include "interrupts.h"
#include "value_text.h"

namespace quovexsql {

namespace {

constexpr const char* kPrompt = "sql> ";
constexpr const char* kContinuation = "...> ";
constexpr int kHistoryLines = 1000;

// Set when the line being read was given up for a Ctrl-C.
bool lineInterrupted = false;

// libedit reads its keys through this: the terminal, or a Ctrl-C, which ends
// the line being read as if the input had ended (lineInterrupted tells them
// apart). libedit's own signal handling is off, so it never re-raises SIGINT.
int readKey(FILE* /*stream*/) {
  for (;;) {
    pollfd ready[2] = {{STDIN_FILENO, POLLIN, 0}, {interruptDescriptor(), POLLIN, 0}};
    const int count = ::poll(ready, ready[1].fd >= 0 ? 2 : 1, -1);
    if (count < 0) {
      if (errno == EINTR) continue;
      return EOF;
    }
    if (ready[1].fd >= 0 && (ready[1].revents & POLLIN) != 0) {
      drainInterruptSignals();
      lineInterrupted = true;
      return EOF;
    }
    if (ready[0].revents == 0) continue;
    unsigned char key = 0;
    const ssize_t n = ::read(STDIN_FILENO, &key, 1);
    if (n == 1) return key;
    if (n < 0 && errno == EINTR) continue;
    return EOF;
  }
}

Completer* completer = nullptr;
std::vector<std::string> matches;

char* nextMatch(const char* /*text*/, int state) {
  static std::size_t next = 0;
  if (state == 0) next = 0;
  if (next >= matches.size()) return nullptr;
  return ::strdup(matches[next++].c_str());
}

// libedit asks for the words that complete the one before the cursor.
char** complete(const char* text, int start, int /*end*/) {
  rl_attempted_completion_over = 1;  // never file names
  if (completer == nullptr) return nullptr;
  const std::string line(rl_line_buffer, static_cast<std::size_t>(std::max(rl_end, 0)));
  matches = completer->candidates(line, static_cast<std::size_t>(start), text);
  if (matches.empty()) return nullptr;
  return rl_completion_matches(text, nextMatch);
}

// The first line of the unfinished statement, for the message that says it
// was not run.
std::string firstLineOf(const std::string& text) {
  const std::string line = text.substr(0, text.find('\n'));
  return line.size() < text.size() ? line + " ..." : line;
}

}  // namespace

std::string defaultHistoryFile() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::string(home) + "/.quovex_sql_history";
}

void runPrompt(ScriptRunner& runner, const std::string& historyFile) {
  rl_catch_signals = 0;
  rl_getc_function = readKey;
  installInterruptHandler();
  // A pager the user leaves early closes its pipe: a failed write, not an end.
  std::signal(SIGPIPE, SIG_IGN);
  Completer words(runner.session());
  completer = &words;
  rl_attempted_completion_function = complete;
  // "\" starts a command name, so it does not break words.
  static char breaks[] = " \t\n\"'`@$><=;|&{(,";
  rl_basic_word_break_characters = breaks;
  using_history();
  stifle_history(kHistoryLines);
  if (!historyFile.empty()) read_history(historyFile.c_str());
  for (;;) {
    std::cout.flush();
    clearInterrupt();
    lineInterrupted = false;
    setAtPrompt(true);
    std::unique_ptr<char, decltype(&std::free)> line(readline(runner.hasPending() ? kContinuation : kPrompt),
                                                     &std::free);
    setAtPrompt(false);
    if (quitByInterrupt()) {
      std::cout << "\n";
      break;
    }
    if (!line && lineInterrupted) {
      // Ctrl-C: the line and the statement being continued are dropped.
      std::cout << "\n";
      runner.discardPending();
      continue;
    }
    if (!line) {
      std::cout << "\n";
      if (!runner.hasPending()) break;
      // Ctrl-D in the middle of a statement: the end of typing is no ";".
      runner.session().reportError("", "unfinished statement not run (end it with \";\"): " +
                                           firstLineOf(runner.pendingText()));
      runner.discardPending();
      continue;
    }
    if (*line.get() != '\0') add_history(line.get());
    if (!runner.line(line.get())) break;
  }
  if (!historyFile.empty()) write_history(historyFile.c_str());
  completer = nullptr;
}

}  // namespace quovexsql
