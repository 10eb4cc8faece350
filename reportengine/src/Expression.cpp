#include "reportengine/Expression.h"

#include <cctype>
#include <stdexcept>

#include "formats/formats.h"

namespace reportengine {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ParsedExpression parse() {
    ParsedExpression result;
    skipBlanks();
    if (atEnd()) fail("expressão vazia");
    for (;;) {
      result.terms.push_back(term());
      skipBlanks();
      if (atEnd()) return result;
      if (text_[pos_] != '+') fail("esperado '+'");
      ++pos_;
      skipBlanks();
    }
  }

 private:
  bool atEnd() const { return pos_ >= text_.size(); }
  void skipBlanks() {
    while (!atEnd() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  [[noreturn]] void fail(const std::string& what) const {
    throw std::invalid_argument("Expressão inválida na posição " + std::to_string(pos_ + 1) + ": " +
                                what);
  }
  static bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  }

  std::string quoted() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (atEnd()) fail("texto sem aspas de fechamento");
      char c = text_[pos_++];
      if (c != '\'') {
        out += c;
        continue;
      }
      if (!atEnd() && text_[pos_] == '\'') {
        out += '\'';
        ++pos_;
        continue;
      }
      return out;
    }
  }

  std::string name() {
    std::size_t start = pos_;
    while (!atEnd() && isNameChar(text_[pos_])) ++pos_;
    if (start == pos_) fail("esperado um nome");
    return std::string(text_.substr(start, pos_ - start));
  }

  // FIELD or TABLE.FIELD; the table prefix is dropped (one table per report).
  std::string fieldReference(std::string first) {
    if (!atEnd() && text_[pos_] == '.') {
      ++pos_;
      return name();
    }
    return first;
  }

  void expect(char c) {
    skipBlanks();
    if (atEnd() || text_[pos_] != c) fail(std::string("esperado '") + c + "'");
    ++pos_;
    skipBlanks();
  }

  ExpressionTerm term() {
    if (text_[pos_] == '\'') return {ExpressionTerm::Kind::Literal, quoted(), {}};
    std::string first = name();
    skipBlanks();
    if (!atEnd() && text_[pos_] == '(') {
      std::string upper;
      for (char c : first) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (upper != "FORMATNUMERIC") fail("função desconhecida " + first);
      expect('(');
      if (atEnd() || text_[pos_] != '\'') fail("esperado o padrão entre aspas");
      std::string pattern = quoted();
      expect(',');
      std::string field = fieldReference(name());
      expect(')');
      return {ExpressionTerm::Kind::FormatNumeric, pattern, field};
    }
    return {ExpressionTerm::Kind::Field, {}, fieldReference(first)};
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

ParsedExpression parseExpression(std::string_view text) { return Parser(text).parse(); }

std::string evaluate(const ParsedExpression& expression, const FieldReader& reader) {
  std::string out;
  for (const ExpressionTerm& term : expression.terms) {
    switch (term.kind) {
      case ExpressionTerm::Kind::Literal: out += term.text; break;
      case ExpressionTerm::Kind::Field: out += reader.text(term.field); break;
      case ExpressionTerm::Kind::FormatNumeric:
        out += formats::formatNumber(reader.number(term.field).value_or(0.0), term.text);
        break;
    }
  }
  return out;
}

}  // namespace reportengine
