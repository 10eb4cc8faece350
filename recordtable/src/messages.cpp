#include "messages.h"

namespace recordtable::detail {

std::string inQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  out += text;
  out += '"';
  return out;
}

std::string inTable(std::string_view tableName) {
  if (tableName.empty()) return " na tabela";
  return " na tabela " + std::string(tableName);
}

void fail(const std::string& message) { throw TableError(message); }

}  // namespace recordtable::detail
