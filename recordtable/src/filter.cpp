#include "filter.h"

#include "messages.h"
#include "value_text.h"

namespace recordtable::detail {
namespace {

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

[[noreturn]] void badFilter(std::string_view text) {
  fail("O filtro " + inQuotes(text) +
       " não é válido: use a forma CAMPO = número inteiro (por exemplo NRO_LOTE = 3).");
}

}  // namespace

std::optional<FilterCondition> parseFilter(std::string_view text) {
  const std::string_view body = trimBlanks(text);
  if (body.empty()) return std::nullopt;
  std::size_t pos = 0;
  while (pos < body.size() && isNameChar(body[pos])) ++pos;
  const std::string_view name = body.substr(0, pos);
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) badFilter(text);
  const std::string_view rest = trimBlanks(body.substr(pos));
  if (rest.empty() || rest[0] != '=') badFilter(text);
  const std::optional<std::int64_t> value = parseInteger(rest.substr(1));
  if (!value) badFilter(text);
  return FilterCondition{std::string(name), *value};
}

}  // namespace recordtable::detail
