// What only a terminal shows: tab completion and the pager, driven through a
// pseudo-terminal with a fake pager program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "shell_process.h"

namespace quovexsql {
namespace {

using testing::readFile;
using testing::TempFolder;
using testing::TerminalSession;
using testing::writeFile;

class QuovexSqlTerminal : public ::testing::Test {
 protected:
  QuovexSqlTerminal() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

  TerminalSession start(std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--database", database_.string(), "--history", ""};
    args.insert(args.end(), more.begin(), more.end());
    return TerminalSession(QUOVEX_SQL_EXECUTABLE, args);
  }

  TempFolder folder_;
  std::filesystem::path database_ = folder_ / "compras.db";
};

TEST_F(QuovexSqlTerminal, TabCompletesCommandsTablesKeywordsAndColumnsOfNamedTables) {
  struct Case {
    const char* typed;     // then Tab
    const char* expected;  // what the completion adds to the line (the editor writes only that)
  };
  const Case cases[] = {
      {"\\descr", "ibe "},
      {"select count(*) from propo", "sta "},
      {"sel", "ect "},
      {"select des_lo", ""},  // no table named yet: no column offered
      {"select * from lote where des_l", "ote "},
  };
  for (const Case& c : cases) {
    TerminalSession terminal = start();
    ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
    terminal.type(std::string(c.typed) + "\t");
    if (*c.expected != '\0') {
      ASSERT_TRUE(terminal.waitFor(c.expected)) << c.typed << "\n" << terminal.screen();
    }
    terminal.type("\x15\\q\r");  // Ctrl-U empties the line
    EXPECT_EQ(terminal.wait(), 0) << c.typed << "\n" << terminal.screen();
    if (*c.expected == '\0') {
      EXPECT_EQ(terminal.screen().find("ote"), std::string::npos) << c.typed << "\n" << terminal.screen();
    }
  }
  // The completed words run.
  TerminalSession terminal = start();
  ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
  terminal.type("\\descr\tproposta\r");
  ASSERT_TRUE(terminal.waitFor("dat_proposta   | datetime year to second")) << terminal.screen();
  terminal.type("select count(*) from propo\t;\r");
  ASSERT_TRUE(terminal.waitFor("        4\r\n(1 row)")) << terminal.screen();
  terminal.type("\\q\r");
  EXPECT_EQ(terminal.wait(), 0);
}

TEST_F(QuovexSqlTerminal, ResultsLongerThanTheScreenGoThroughThePager) {
  // The fake pager keeps what it is given.
  const auto kept = folder_ / "paged.txt";
  const auto pager = folder_ / "pager.sh";
  writeFile(pager, "#!/bin/sh\ncat > '" + kept.string() + "'\n");
  std::filesystem::permissions(pager, std::filesystem::perms::owner_all);
  ::setenv("PAGER", pager.c_str(), 1);
  {
    TerminalSession terminal = start();
    ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
    terminal.type("select count(*) from lote;\r");
    ASSERT_TRUE(terminal.waitFor("(1 row)")) << terminal.screen();
    ASSERT_TRUE(terminal.waitFor("sql> "));
    EXPECT_FALSE(std::filesystem::exists(kept));  // a short result stays on the screen
    terminal.type("select a.nro_item from item a, item b, item c;\r");
    ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
    terminal.type("\\q\r");
    EXPECT_EQ(terminal.wait(), 0);
    EXPECT_EQ(terminal.screen().find("(125 rows)"), std::string::npos);
  }
  const std::string paged = readFile(kept);
  EXPECT_EQ(paged.rfind(" nro_item\n----------\n        1\n", 0), 0u) << paged;
  EXPECT_NE(paged.find("\n(125 rows)\n"), std::string::npos) << paged;

  std::filesystem::remove(kept);
  TerminalSession unpaged = start({"--no-pager"});
  ASSERT_TRUE(unpaged.waitFor("sql> ")) << unpaged.screen();
  unpaged.type("select a.nro_item from item a, item b, item c;\r");
  ASSERT_TRUE(unpaged.waitFor("(125 rows)")) << unpaged.screen();
  unpaged.type("\\q\r");
  EXPECT_EQ(unpaged.wait(), 0);
  ::unsetenv("PAGER");
  EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST_F(QuovexSqlTerminal, CtrlCInThePagerNeverEndsTheShell) {
  // A pager that lets Ctrl-C pass, as less does, and stays until told.
  const auto kept = folder_ / "paged.txt";
  const auto pager = folder_ / "pager.sh";
  writeFile(pager, "#!/bin/sh\ntrap '' INT\ncat > '" + kept.string() + "'\nsleep 1\n");
  std::filesystem::permissions(pager, std::filesystem::perms::owner_all);
  ::setenv("PAGER", pager.c_str(), 1);
  TerminalSession terminal = start();
  ::unsetenv("PAGER");
  ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
  terminal.type("select a.nro_item from item a, item b, item c;\r");
  for (int tries = 0; tries < 100 && readFile(kept).find("(125 rows)") == std::string::npos; ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_NE(readFile(kept).find("(125 rows)"), std::string::npos);
  terminal.type("\x03");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  terminal.type("\x03");
  ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();
  terminal.type("select count(*) from lote;\r");
  ASSERT_TRUE(terminal.waitFor("(1 row)")) << terminal.screen();
  terminal.type("\\q\r");
  EXPECT_EQ(terminal.wait(), 0) << terminal.screen();
}

}  // namespace
}  // namespace quovexsql
