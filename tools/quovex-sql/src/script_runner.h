// Feeds lines of input to a session: SQL statements cut at ";" and, at the
// start of a statement, command lines that begin with "\".
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "session.h"
#include "statement_splitter.h"

namespace quovexsql {

class ScriptRunner {
 public:
  // `source` names the input in messages ("script.sql", "-e"); with
  // `stopOnError` the first failure stops the input.
  ScriptRunner(Session& session, std::string source, bool stopOnError)
      : session_(session), source_(std::move(source)), stopOnError_(stopOnError) {
    splitter_.setVariables(&session_.variables());
  }

  // Takes one line; false when the input must stop (a failure with
  // stopOnError, or \quit).
  bool line(std::string_view text);
  // Runs a last statement left without ";". False as for line().
  bool finish();
  // Runs every line of `in`, then finish().
  bool runStream(std::istream& in);

  bool hasPending() const { return splitter_.hasPending(); }
  std::string pendingText() const { return splitter_.pendingText(); }
  // Forgets the statement being continued (Ctrl-C, or Ctrl-D at a prompt).
  void discardPending() { splitter_.discard(); }
  Session& session() { return session_; }
  bool failed() const { return failed_; }

 private:
  bool run(const Statement& statement);
  // \e: the last statement in $EDITOR (else vi), then what was saved runs.
  bool editLast(const std::string& where);
  std::string where(int line) const;

  Session& session_;
  std::string source_;
  bool stopOnError_;
  StatementSplitter splitter_;
  int lineNumber_ = 0;
  bool failed_ = false;
  std::string lastStatement_;
};

}  // namespace quovexsql
