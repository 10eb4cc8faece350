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

TEST(QuovexSqlPrinters, TableTakesWidthsFromTheFirstRowsAndCutsOnlyWhenAsked) {
  // Past the measured rows a longer value widens its own line only.
  std::vector<Row> rows(kRowsMeasured, Row{Cell("ab")});
  rows.push_back({Cell("a much longer value")});
  std::ostringstream out;
  printTable(out, {{"c", false}}, rows);
  EXPECT_EQ(out.str().substr(0, 12), " c\n----\n ab\n");
  EXPECT_NE(out.str().find("\n ab\n a much longer value\n(501 rows)\n"), std::string::npos);

  PrintSettings cut;
  cut.maxWidth = 4;
  std::ostringstream shortened;
  printTable(shortened, {{"nome", false}, {"n", true}}, {{Cell("Município"), Cell("12345")}, {Cell("abcd"), Cell("1")}},
             cut);
  EXPECT_EQ(shortened.str(),
            " nome | n\n"
            "------+------\n"
            " Mun… | 123…\n"
            " abcd |    1\n"
            "(2 rows)\n");
}

TEST(QuovexSqlPrinters, ExpandedJsonAndMarkdownForms) {
  const std::vector<TableColumn> columns{{"id", true}, {"descrição", false}};
  const std::vector<Row> rows{{Cell("1"), Cell("a|b\n\"c\"")}, {Cell("-2.50"), std::nullopt}};
  auto print = [&](PrintSettings settings) {
    std::ostringstream out;
    auto writer = makeResultWriter(out, columns, settings);
    for (const Row& row : rows) writer->row(row);
    writer->end();
    return out.str();
  };
  PrintSettings expanded;
  expanded.expanded = Expanded::On;
  EXPECT_EQ(print(expanded),
            "-[ RECORD 1 ]-\n id        | 1\n descrição | a|b\\n\"c\"\n"
            "-[ RECORD 2 ]-\n id        | -2.50\n descrição | NULL\n(2 rows)\n");
  // Auto expands only what is wider than the terminal.
  PrintSettings automatic;
  automatic.expanded = Expanded::Auto;
  automatic.terminalWidth = 80;
  EXPECT_EQ(print(automatic).substr(0, 21), " id    | descrição\n");
  automatic.terminalWidth = 10;
  EXPECT_EQ(print(automatic).substr(0, 14), "-[ RECORD 1 ]-");

  PrintSettings json;
  json.format = OutputFormat::Json;
  EXPECT_EQ(print(json), "[\n{\"id\":1,\"descrição\":\"a|b\\n\\\"c\\\"\"},\n{\"id\":-2.50,\"descrição\":null}\n]\n");
  PrintSettings markdown;
  markdown.format = OutputFormat::Markdown;
  EXPECT_EQ(print(markdown), "| id | descrição |\n| ---: | --- |\n| 1 | a\\|b\\n\"c\" |\n| -2.50 | NULL |\n");
  EXPECT_EQ(jsonString(std::string("\x01\xff\xc3\xa7", 4)), "\"\\u0001\\u00ff\xc3\xa7\"");
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
