#include "statement_text.h"

namespace quovex::inf {

std::size_t countParameterMarkers(const char* sql) {
  std::size_t markers = 0;
  bool inSingle = false;
  bool inDouble = false;
  char previous = '\0';
  for (const char* p = sql; *p != '\0'; previous = *p++) {
    const bool escaped = previous == '\\';
    if (*p == '\'' && !escaped && !inDouble) {
      inSingle = !inSingle;
    } else if (*p == '"' && !escaped && !inSingle) {
      inDouble = !inDouble;
    } else if (*p == '?' && !inSingle && !inDouble) {
      ++markers;
    }
  }
  return markers;
}

std::string procedureCallText(const char* name, std::size_t parameterCount) {
  std::string text = "EXECUTE PROCEDURE ";
  text += name;
  text += " (";
  for (std::size_t i = 0; i < parameterCount; ++i) text += i == 0 ? " ?" : ", ?";
  text += " )";
  return text;
}

}  // namespace quovex::inf
