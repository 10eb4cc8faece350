#include <array>
#include <utility>

#include "messages.h"
#include "recordtable/field.h"

namespace recordtable {
namespace {

constexpr std::array<std::pair<FieldKind, std::string_view>, 7> kKindNames{{
    {FieldKind::Text, "text"},
    {FieldKind::Int16, "int16"},
    {FieldKind::Int32, "int32"},
    {FieldKind::Float, "float"},
    {FieldKind::DateTime, "datetime"},
    {FieldKind::LongText, "longtext"},
    {FieldKind::Decimal, "decimal"},
}};

bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }

}  // namespace

std::string_view kindName(FieldKind kind) {
  for (const auto& [k, name] : kKindNames) {
    if (k == kind) return name;
  }
  return "?";
}

std::optional<FieldKind> kindFromName(std::string_view name) {
  for (const auto& [k, n] : kKindNames) {
    if (n == name) return k;
  }
  return std::nullopt;
}

void validateFieldDef(const FieldDef& def) {
  using detail::fail;
  using detail::inQuotes;
  const std::string& n = def.name;
  if (n.empty()) fail("Um campo sem nome não pode ser definido.");
  if (n.size() > kMaxFieldNameLength) {
    fail("O nome de campo " + inQuotes(n) + " é longo demais (máximo de " +
         std::to_string(kMaxFieldNameLength) + " caracteres).");
  }
  bool wellFormed = isNameStart(n[0]);
  for (char c : n) wellFormed = wellFormed && isNameChar(c);
  if (!wellFormed) {
    fail("O nome de campo " + inQuotes(n) +
         " é inválido: use letras, dígitos e \"_\", começando por letra ou \"_\".");
  }
  if (kindName(def.kind) == "?") fail("O campo " + inQuotes(n) + " tem um tipo desconhecido.");
  switch (def.kind) {
    case FieldKind::Text:
      if (def.size < 1 || def.size > kMaxTextSize) {
        fail("O campo de texto " + inQuotes(n) + " deve ter tamanho entre 1 e " +
             std::to_string(kMaxTextSize) + " (tamanho dado: " + std::to_string(def.size) + ").");
      }
      break;
    case FieldKind::Decimal:
      if (def.size < 0 || def.size > kMaxDecimalPlaces) {
        fail("O campo decimal " + inQuotes(n) + " deve ter entre 0 e " +
             std::to_string(kMaxDecimalPlaces) + " casas decimais (dado: " +
             std::to_string(def.size) + ").");
      }
      break;
    default:
      if (def.size != 0) {
        fail("O campo " + inQuotes(n) + " do tipo " + std::string(kindName(def.kind)) +
             " não tem tamanho (dado: " + std::to_string(def.size) + ").");
      }
      break;
  }
}

}  // namespace recordtable
