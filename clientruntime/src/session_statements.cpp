#include "session_statements.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace ifxrt {
namespace {

using Words = std::vector<std::string>;

// Upper-case words of the text, without a trailing ";".
Words wordsOf(std::string_view sql) {
  while (!sql.empty() && (std::isspace(static_cast<unsigned char>(sql.back())) || sql.back() == ';')) {
    sql.remove_suffix(1);
  }
  Words words;
  std::string word;
  for (char c : sql) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool isNumber(const std::string& word) {
  return !word.empty() && word.size() <= 9 &&
         std::all_of(word.begin(), word.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

SessionStatement isolation(const Words& words) {
  static const Words kLevels[] = {{"DIRTY", "READ"}, {"COMMITTED", "READ"}, {"CURSOR", "STABILITY"},
                                  {"REPEATABLE", "READ"}};
  if (words.size() != 5 || words[2] != "TO") return SessionStatement::Invalid;
  for (const Words& level : kLevels) {
    if (words[3] == level[0] && words[4] == level[1]) return SessionStatement::Isolation;
  }
  return SessionStatement::Invalid;
}

SessionStatement lockMode(const Words& words) {
  if (words.size() < 5 || words[2] != "MODE" || words[3] != "TO") return SessionStatement::Invalid;
  const bool wait = words[4] == "WAIT" && (words.size() == 5 || (words.size() == 6 && isNumber(words[5])));
  const bool notWait = words.size() == 6 && words[4] == "NOT" && words[5] == "WAIT";
  return wait || notWait ? SessionStatement::LockMode : SessionStatement::Invalid;
}

SessionStatement transaction(const Words& words) {
  if (words.size() > 2 || (words.size() == 2 && words[1] != "WORK")) return SessionStatement::None;
  if (words[0] == "BEGIN") return SessionStatement::BeginWork;
  if (words[0] == "COMMIT") return SessionStatement::CommitWork;
  if (words[0] == "ROLLBACK") return SessionStatement::RollbackWork;
  return SessionStatement::None;
}

}  // namespace

int lockWaitSeconds(std::string_view sql) {
  const Words words = wordsOf(sql);
  if (words.size() == 6 && isNumber(words[5])) return std::stoi(words[5]);
  return words.size() == 5 ? kWaitForever : 0;
}

SessionStatement classifySessionStatement(std::string_view sql) {
  const Words words = wordsOf(sql);
  if (words.empty()) return SessionStatement::None;
  if (words[0] == "SET" && words.size() >= 2) {
    if (words[1] == "ISOLATION") return isolation(words);
    if (words[1] == "LOCK") return lockMode(words);
    return SessionStatement::None;
  }
  return transaction(words);
}

}  // namespace ifxrt
