// Feeding lines to a session: commands, statements, a last statement at the end.
#include "script_runner.h"

namespace quovexsql {

std::string ScriptRunner::where(int line) const { return source_ + ":" + std::to_string(line) + ": "; }

bool ScriptRunner::run(const Statement& statement) {
  if (session_.runStatement(statement.text, where(statement.firstLine))) return true;
  failed_ = true;
  return !stopOnError_;
}

bool ScriptRunner::line(std::string_view text) {
  ++lineNumber_;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  const auto start = text.find_first_not_of(" \t");
  if (!splitter_.hasPending() && start != std::string_view::npos && text[start] == '\\') {
    const bool ok = session_.runCommand(std::string(text.substr(start)), where(lineNumber_));
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
