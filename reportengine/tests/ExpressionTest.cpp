#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "reportengine/Expression.h"

using reportengine::evaluate;
using reportengine::FieldReader;
using reportengine::parseExpression;

namespace {

FieldReader readerOf(const std::map<std::string, std::string, std::less<>>& texts,
                     const std::map<std::string, double, std::less<>>& numbers) {
  return FieldReader{
      [&texts](std::string_view f) {
        auto it = texts.find(f);
        return it == texts.end() ? std::string() : it->second;
      },
      [&numbers](std::string_view f) -> std::optional<double> {
        auto it = numbers.find(f);
        if (it == numbers.end()) return std::nullopt;
        return it->second;
      }};
}

}  // namespace

TEST(Expression, EvaluatesFormattedNumbersFieldsAndLiterals) {
  std::map<std::string, std::string, std::less<>> texts{{"DES_LOTE", "Material de limpeza"}};
  std::map<std::string, double, std::less<>> numbers{
      {"NRO_PROCESSO", 45}, {"ANO_EXERCICIO", 2012}, {"NRO_LOTE", 3}, {"BIG", 1234567}};
  struct Case {
    const char* expression;
    const char* expected;
  } cases[] = {
      {"FORMATNUMERIC('000000 / ',CDS_Relatorio.NRO_PROCESSO) + FORMATNUMERIC('0000',CDS_Relatorio.ANO_EXERCICIO)",
       "000045 / 2012"},
      {"FORMATNUMERIC('0000 - ',CDS_Relatorio.NRO_LOTE) + CDS_Relatorio.DES_LOTE", "0003 - Material de limpeza"},
      {"formatnumeric( '000000' , BIG )", "1234567"},
      {"'it''s ' + DES_LOTE", "it's Material de limpeza"},
      // A null or missing number counts as zero; a missing text is empty.
      {"FORMATNUMERIC('0000',MISSING) + '|' + MISSING", "0000|"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(evaluate(parseExpression(c.expression), readerOf(texts, numbers)), c.expected) << c.expression;
}

TEST(Expression, MalformedExpressionsAreRefusedWithTheirPosition) {
  for (const char* bad : {"", "   ", "'open", "A +", "A B", "SUM(A)", "FORMATNUMERIC(A, B)",
                          "FORMATNUMERIC('0', B", "FORMATNUMERIC('0' B)", "+ A", "T."}) {
    try {
      parseExpression(bad);
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("Expressão inválida"), std::string::npos) << bad;
    }
  }
}
