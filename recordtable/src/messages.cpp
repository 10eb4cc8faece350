#include "messages.h"

#include "recordtable/message_text.h"

namespace recordtable::detail {

std::string inQuotes(std::string_view text) { return quotedForMessage(text); }

std::string inTable(std::string_view tableName) {
  if (tableName.empty()) return " na tabela";
  return " na tabela " + std::string(tableName);
}

void fail(const std::string& message) { throw TableError(message); }

}  // namespace recordtable::detail
