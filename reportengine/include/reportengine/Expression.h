// Expressions of expression elements: terms joined by "+" (text
// concatenation). A term is a quoted text ('...', with '' for a quote), a
// field reference (FIELD or TABLE.FIELD) or FORMATNUMERIC('pattern', field),
// which writes the field's number with a number pattern:
//   FORMATNUMERIC('0000 - ',CDS_Relatorio.NRO_LOTE) + CDS_Relatorio.DES_LOTE
// Function names are case-insensitive. Qt-free.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reportengine {

struct ExpressionTerm {
  enum class Kind { Literal, Field, FormatNumeric };
  Kind kind = Kind::Literal;
  std::string text;   // the literal, or the pattern of FORMATNUMERIC
  std::string field;  // field name without its table prefix
};

struct ParsedExpression {
  std::vector<ExpressionTerm> terms;
};

// Throws std::invalid_argument naming what is wrong and where.
ParsedExpression parseExpression(std::string_view text);

// How an expression reads the current row: the text of a field, and its
// number (nullopt when the field is null or not a number).
struct FieldReader {
  std::function<std::string(std::string_view field)> text;
  std::function<std::optional<double>(std::string_view field)> number;
};

// A null or non-number field formats as 0 in FORMATNUMERIC.
std::string evaluate(const ParsedExpression& expression, const FieldReader& reader);

}  // namespace reportengine
