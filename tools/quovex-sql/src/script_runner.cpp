// Feeding lines to a session: commands, statements, a last statement at the end.
#include "script_runner.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "interrupts.h"

extern char** environ;

namespace quovexsql {

std::string ScriptRunner::where(int line) const { return source_ + ":" + std::to_string(line) + ": "; }

bool ScriptRunner::run(const Statement& statement) {
  lastStatement_ = statement.text;
  if (session_.runStatement(statement.text, where(statement.firstLine))) return true;
  failed_ = true;
  return !stopOnError_;
}

bool ScriptRunner::line(std::string_view text) {
  ++lineNumber_;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  const auto start = text.find_first_not_of(" \t");
  if (!splitter_.hasPending() && start != std::string_view::npos && text[start] == '\\') {
    const std::string command(text.substr(start));
    const bool edit = command == "\\e" || command.starts_with("\\e ");
    const bool ok = edit ? editLast(where(lineNumber_)) : session_.runCommand(command, where(lineNumber_));
    if (!ok) failed_ = true;
    if (session_.quitRequested()) return false;
    return ok || !stopOnError_;
  }
  splitter_.feedLine(text, lineNumber_);
  for (const Statement& statement : splitter_.takeComplete()) {
    if (!run(statement)) return false;
    // Ctrl-C stops the rest of the line too.
    if (session_.interrupted()) {
      splitter_.discard();
      return true;
    }
  }
  return true;
}

bool ScriptRunner::editLast(const std::string& where) {
  char path[] = "/tmp/quovex-sql-XXXXXX.sql";
  const int fd = ::mkstemps(path, 4);
  if (fd < 0) {
    session_.reportError(where, "cannot make a file to edit");
    return false;
  }
  const std::string text = lastStatement_.empty() ? std::string() : lastStatement_ + ";\n";
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  const char* editor = std::getenv("EDITOR");
  const std::string command = std::string(editor != nullptr && *editor != '\0' ? editor : "vi") + " \"$1\"";
  // The editor variable may hold arguments ("code -w"): a shell splits it.
  const char* argv[] = {"sh", "-c", command.c_str(), "sh", path, nullptr};
  pid_t pid = -1;
  int status = -1;
  const InterruptsToAnotherProgram editing;
  if (written && ::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0) {
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  std::ifstream in(path, std::ios::binary);
  std::stringstream edited;
  edited << in.rdbuf();
  std::filesystem::remove(path);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    session_.reportError(where, "the editor failed; nothing was run");
    return false;
  }
  const bool before = failed_;
  failed_ = false;
  for (std::string line; std::getline(edited, line);) {
    if (!this->line(line)) break;
  }
  // Leaving the editor ends the statement, with or without ";".
  finish();
  const bool ok = !failed_;
  failed_ = before || failed_;
  return ok;
}

bool ScriptRunner::finish() {
  for (const Statement& statement : splitter_.finish()) {
    if (!run(statement)) return false;
  }
  return true;
}

bool ScriptRunner::runStream(std::istream& in) {
  for (std::string text; std::getline(in, text);) {
    if (!line(text)) return false;
  }
  return finish();
}

}  // namespace quovexsql
