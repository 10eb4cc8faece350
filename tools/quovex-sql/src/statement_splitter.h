// Cuts SQL input into statements at each ";" that is outside quotes and
// comments. Input arrives line by line (a prompt, a file, standard input),
// so a statement may span many lines and one line may hold many statements.
//
// Quotes are '...' and "..." (a doubled quote inside stays inside). Comments
// are "--" to the end of the line, "/* ... */" and "{ ... }"; they are left
// out of the statement text, so the server never sees them. The body of
// CREATE [DBA] PROCEDURE / FUNCTION holds ";" between its statements: such a
// statement ends at the first ";" after END PROCEDURE / END FUNCTION.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quovexsql {

struct Statement {
  std::string text;   // without comments, the closing ";" and outer blanks
  int firstLine = 0;  // line of its first character that is not a comment or blank
};

class StatementSplitter {
 public:
  // Values for ":name" in code (outside quotes and comments, not right after
  // a letter, digit or "_"); a name without a value stays as typed. The map
  // must outlive the splitter.
  void setVariables(const std::map<std::string, std::string>* variables) { variables_ = variables; }
  // Takes one line (without its line end) numbered `lineNumber`.
  void feedLine(std::string_view line, int lineNumber);
  // The statements completed so far, oldest first; they are handed out once.
  std::vector<Statement> takeComplete();
  // True while text of an unfinished statement, quote or comment is held.
  bool hasPending() const;
  // At the end of the input: the unfinished statement, if it holds any SQL
  // (an input may end without a last ";"). Resets the splitter.
  std::vector<Statement> finish();
  // The text held of the unfinished statement (comments left out).
  std::string pendingText() const;
  // Drops the unfinished statement, quote or comment. Resets the splitter.
  void discard();

 private:
  enum class State { Code, SingleQuote, DoubleQuote, LineComment, BlockComment, BraceComment };

  void addCodeChar(char c, int lineNumber);
  // Length of ":name" at line[i] when the name has a value (appended), else 0.
  std::size_t substitute(std::string_view line, std::size_t i, int lineNumber);
  void endWord();
  void endStatement();

  State state_ = State::Code;
  std::string current_;
  int firstLine_ = 0;
  std::string word_;
  std::vector<std::string> leadingWords_;  // the first words, upper case, to spot a routine
  std::string previousWord_;
  bool routine_ = false;
  bool routineBodyEnded_ = false;
  std::vector<Statement> complete_;
  const std::map<std::string, std::string>* variables_ = nullptr;
};

}  // namespace quovexsql
