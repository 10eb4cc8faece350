// Tab completion at the prompt: commands, SQL keywords, table and view
// names, and the columns of the tables a statement has named, read through
// the driver's catalogue listings and kept until the connection changes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quovexsql {

class Session;

class Completer {
 public:
  explicit Completer(Session& session) : session_(session) {}

  // Words that may stand for `word`, which starts at `wordStart` of `line`.
  std::vector<std::string> candidates(const std::string& line, std::size_t wordStart, const std::string& word);

 private:
  const std::vector<std::string>& tables();
  const std::vector<std::string>& columnsOf(const std::string& table);
  void forgetOnReconnect();

  Session& session_;
  int connection_ = -1;
  std::optional<std::vector<std::string>> tables_;
  std::map<std::string, std::vector<std::string>> columns_;
};

}  // namespace quovexsql
