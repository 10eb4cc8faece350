// The aligned table and CSV forms of a result.
#include <gtest/gtest.h>

#include <sstream>

#include "printers.h"

namespace quovexsql {
namespace {

TEST(QuovexSqlPrinters, TableAlignsByCharactersAndShowsNull) {
  std::ostringstream out;
  printTable(out, {{"nome", false}, {"valor", true}},
             {{Cell("Município"), Cell("1.50")}, {Cell("x"), std::nullopt}});
  EXPECT_EQ(out.str(),
            " nome      | valor\n"
            "-----------+-------\n"
            " Município |  1.50\n"
            " x         |  NULL\n"
            "(2 rows)\n");

  // No trailing blanks after a left-aligned last column.
  std::ostringstream left;
  printTable(left, {{"id", true}, {"name", false}}, {{Cell("1"), Cell("Ana")}, {Cell("22"), Cell("Bo")}});
  EXPECT_EQ(left.str(), " id | name\n----+------\n  1 | Ana\n 22 | Bo\n(2 rows)\n");

  std::ostringstream one;
  printTable(one, {{"a", false}}, {{Cell("")}});
  EXPECT_EQ(one.str(), " a\n---\n \n(1 row)\n");
}

TEST(QuovexSqlPrinters, TableEscapesTextsFromTheDatabase) {
  std::ostringstream out;
  printTable(out, {{"ti\x1btle", false}}, {{Cell("evil\x1b]0;owned\x07")}});
  EXPECT_EQ(out.str().find('\x1b'), std::string::npos);
  EXPECT_EQ(out.str().find('\x07'), std::string::npos);
  EXPECT_NE(out.str().find("evil\\x1B]0;owned\\x07"), std::string::npos) << out.str();
}

TEST(QuovexSqlPrinters, CsvQuotesPerRfc4180) {
  EXPECT_EQ(csvField("plain"), "plain");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
  EXPECT_EQ(csvField(""), "\"\"");

  std::ostringstream out;
  CsvWriter csv(out, false);
  csv.header({"id", "name"});
  csv.row({Cell("1"), std::nullopt});
  csv.row({Cell("2"), Cell("")});
  csv.row({Cell("3"), Cell("a\x1b")});
  EXPECT_EQ(out.str(), "id,name\r\n1,\r\n2,\"\"\r\n3,a\x1b\r\n");

  std::ostringstream terminal;
  CsvWriter escaped(terminal, true);
  escaped.row({Cell("a\x1b,b")});
  EXPECT_EQ(terminal.str(), "\"a\\x1B,b\"\r\n");
}

}  // namespace
}  // namespace quovexsql
