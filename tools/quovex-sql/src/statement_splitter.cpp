// Cutting SQL input into statements, line by line.
#include "statement_splitter.h"

#include <cctype>

namespace quovexsql {

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n\f\v");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n\f\v");
  return text.substr(first, last - first + 1);
}

// True when the first words are CREATE [DBA] PROCEDURE|FUNCTION.
bool startsRoutine(const std::vector<std::string>& words) {
  if (words.empty() || words[0] != "CREATE") return false;
  std::size_t next = 1;
  if (next < words.size() && words[next] == "DBA") ++next;
  return next < words.size() && (words[next] == "PROCEDURE" || words[next] == "FUNCTION");
}

}  // namespace

void StatementSplitter::feedLine(std::string_view line, int lineNumber) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    const char next = i + 1 < line.size() ? line[i + 1] : '\0';
    switch (state_) {
      case State::Code:
        if (c == '-' && next == '-') {
          endWord();
          state_ = State::LineComment;
          ++i;
        } else if (c == '/' && next == '*') {
          endWord();
          state_ = State::BlockComment;
          ++i;
        } else if (c == '{') {
          endWord();
          state_ = State::BraceComment;
        } else if (const std::size_t used = c == ':' ? substitute(line, i, lineNumber) : 0; used != 0) {
          i += used - 1;
        } else if (c == ';') {
          endWord();
          if (!routine_ || routineBodyEnded_) {
            endStatement();
          } else {
            current_ += c;
          }
        } else {
          if (c == '\'') state_ = State::SingleQuote;
          if (c == '"') state_ = State::DoubleQuote;
          addCodeChar(c, lineNumber);
        }
        break;
      case State::SingleQuote:
      case State::DoubleQuote:
        current_ += c;
        if (c == (state_ == State::SingleQuote ? '\'' : '"')) state_ = State::Code;
        break;
      case State::LineComment:
        break;
      case State::BlockComment:
        if (c == '*' && next == '/') {
          state_ = State::Code;
          current_ += ' ';
          ++i;
        }
        break;
      case State::BraceComment:
        if (c == '}') {
          state_ = State::Code;
          current_ += ' ';
        }
        break;
    }
  }
  // A line end closes a line comment; inside quotes it is part of the text.
  if (state_ == State::LineComment) state_ = State::Code;
  if (state_ == State::Code) endWord();
  if (state_ != State::BlockComment && state_ != State::BraceComment) current_ += '\n';
}

std::size_t StatementSplitter::substitute(std::string_view line, std::size_t i, int lineNumber) {
  if (variables_ == nullptr || variables_->empty()) return 0;
  if (i > 0 && isWordChar(line[i - 1])) return 0;
  if (i + 1 >= line.size() || std::isalpha(static_cast<unsigned char>(line[i + 1])) == 0) return 0;
  std::size_t end = i + 1;
  while (end < line.size() && isWordChar(line[end])) ++end;
  const auto found = variables_->find(std::string(line.substr(i + 1, end - i - 1)));
  if (found == variables_->end()) return 0;
  for (char c : found->second) addCodeChar(c, lineNumber);
  return end - i;
}

void StatementSplitter::addCodeChar(char c, int lineNumber) {
  if (firstLine_ == 0 && std::isspace(static_cast<unsigned char>(c)) == 0) firstLine_ = lineNumber;
  current_ += c;
  if (state_ == State::Code && isWordChar(c)) {
    word_ += c;
  } else {
    endWord();
  }
}

void StatementSplitter::endWord() {
  if (word_.empty()) return;
  std::string word = upper(std::move(word_));
  word_.clear();
  if (leadingWords_.size() < 3) {
    leadingWords_.push_back(word);
    routine_ = startsRoutine(leadingWords_);
  }
  if (routine_ && previousWord_ == "END" && (word == "PROCEDURE" || word == "FUNCTION")) routineBodyEnded_ = true;
  previousWord_ = std::move(word);
}

void StatementSplitter::endStatement() {
  std::string text = trimmed(current_);
  if (!text.empty()) complete_.push_back({std::move(text), firstLine_});
  current_.clear();
  firstLine_ = 0;
  leadingWords_.clear();
  previousWord_.clear();
  routine_ = false;
  routineBodyEnded_ = false;
}

std::vector<Statement> StatementSplitter::takeComplete() {
  std::vector<Statement> taken;
  taken.swap(complete_);
  return taken;
}

bool StatementSplitter::hasPending() const {
  return state_ != State::Code || !trimmed(current_).empty();
}

std::vector<Statement> StatementSplitter::finish() {
  endWord();
  endStatement();
  state_ = State::Code;
  return takeComplete();
}

std::string StatementSplitter::pendingText() const { return trimmed(current_ + word_); }

void StatementSplitter::discard() {
  word_.clear();
  current_.clear();
  endStatement();
  complete_.clear();
  state_ = State::Code;
}

}  // namespace quovexsql
