// Cutting input into statements: ";" inside quotes, comments and routine
// bodies does not end a statement.
#include <gtest/gtest.h>

#include <sstream>

#include "statement_splitter.h"

namespace quovexsql {
namespace {

// Feeds `input` line by line and returns every statement with its first line.
std::vector<Statement> split(const std::string& input) {
  StatementSplitter splitter;
  std::istringstream in(input);
  std::vector<Statement> all;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    splitter.feedLine(line, ++number);
    for (auto& statement : splitter.takeComplete()) all.push_back(std::move(statement));
  }
  for (auto& statement : splitter.finish()) all.push_back(std::move(statement));
  return all;
}

std::vector<std::string> texts(const std::vector<Statement>& statements) {
  std::vector<std::string> result;
  for (const auto& statement : statements) result.push_back(statement.text);
  return result;
}

TEST(QuovexSqlSplitter, SemicolonsOutsideQuotesAndCommentsEndStatements) {
  struct Case {
    const char* input;
    std::vector<std::string> statements;
  };
  const Case cases[] = {
      {"select 1; select 2;", {"select 1", "select 2"}},
      {"select 'a;b', \"c;d\" from t;", {"select 'a;b', \"c;d\" from t"}},
      {"select 'it''s; here' from t;", {"select 'it''s; here' from t"}},
      {"select 1 -- a comment; not a statement\n, 2;", {"select 1 \n, 2"}},
      {"select /* ; */ 1; { ; } select 2;", {"select   1", "select 2"}},
      {"insert into t values ('a\nb;\nc');", {"insert into t values ('a\nb;\nc')"}},
      {"select 1;;  ;\n-- only a comment\n", {"select 1"}},
      {"select 1\nfrom t", {"select 1\nfrom t"}},  // the input ends without ";"
      {"select '--not a comment', '{not either}' from t;", {"select '--not a comment', '{not either}' from t"}},
      {"/* a block\n comment; over lines */ select 3;", {"select 3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(texts(split(c.input)), c.statements) << c.input;
}

TEST(QuovexSqlSplitter, RoutineBodyEndsAfterEndProcedure) {
  const std::string input =
      "create procedure raise_prices(pct decimal(5,2))\n"
      "  update item set price = price * (1 + pct / 100);\n"
      "  update lot set changed = 1;\n"
      "end procedure;\n"
      "CREATE DBA FUNCTION total(n INT) RETURNING INT;\n"
      "  RETURN n * 2;\n"
      "END FUNCTION\n"
      ";\n"
      "select 1;\n";
  const auto statements = split(input);
  ASSERT_EQ(statements.size(), 3u);
  EXPECT_EQ(statements[0].text,
            "create procedure raise_prices(pct decimal(5,2))\n"
            "  update item set price = price * (1 + pct / 100);\n"
            "  update lot set changed = 1;\n"
            "end procedure");
  EXPECT_EQ(statements[1].text.rfind("CREATE DBA FUNCTION", 0), 0u);
  EXPECT_EQ(statements[2].text, "select 1");
  // A procedure named like the keyword is no routine body.
  EXPECT_EQ(texts(split("create table procedure_log (a int); select 1;")),
            (std::vector<std::string>{"create table procedure_log (a int)", "select 1"}));
}

// The dump's own form: the body's ";" keeps the statement open, so the
// prompt asks for more, and END PROCEDURE in any case closes it.
TEST(QuovexSqlSplitter, RoutineKeepsTheStatementOpenUntilEndProcedure) {
  StatementSplitter splitter;
  splitter.feedLine("CREATE PROCEDURE reajusta (p DECIMAL(5,2))", 1);
  splitter.feedLine("  UPDATE item SET v = v * (1 + :p / 100.0);", 2);
  EXPECT_TRUE(splitter.hasPending());
  EXPECT_TRUE(splitter.takeComplete().empty());
  splitter.feedLine("End Procedure; select 2;", 3);
  EXPECT_FALSE(splitter.hasPending());
  EXPECT_EQ(texts(splitter.takeComplete()),
            (std::vector<std::string>{
                "CREATE PROCEDURE reajusta (p DECIMAL(5,2))\n  UPDATE item SET v = v * (1 + :p / 100.0);\nEnd Procedure",
                "select 2"}));
}

TEST(QuovexSqlSplitter, LineNumbersAndPendingText) {
  const auto statements = split("\n-- header\nselect 1;\n\n  select\n 2; select 3;\n");
  ASSERT_EQ(statements.size(), 3u);
  EXPECT_EQ(statements[0].firstLine, 3);
  EXPECT_EQ(statements[1].firstLine, 5);
  EXPECT_EQ(statements[2].firstLine, 6);

  StatementSplitter splitter;
  splitter.feedLine("-- nothing yet", 1);
  EXPECT_FALSE(splitter.hasPending());
  splitter.feedLine("select 'open", 2);
  EXPECT_TRUE(splitter.hasPending());
  splitter.feedLine("quote';", 3);
  EXPECT_FALSE(splitter.hasPending());
  EXPECT_EQ(texts(splitter.takeComplete()), std::vector<std::string>{"select 'open\nquote'"});
  splitter.feedLine("/* open comment", 4);
  EXPECT_TRUE(splitter.hasPending());
}

}  // namespace
}  // namespace quovexsql
