// Ctrl-C and Ctrl-D in an interactive session at a pseudo-terminal, and the
// end of input in scripts: nothing half-typed runs, a long result stops at
// Ctrl-C, and the database is checked afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "shell_process.h"

namespace quovexsql {
namespace {

using testing::ProcessResult;
using testing::runProgram;
using testing::TempFolder;
using testing::TerminalSession;

constexpr const char* kCtrlC = "\x03";
constexpr const char* kCtrlD = "\x04";

class QuovexSqlKeys : public ::testing::Test {
 protected:
  QuovexSqlKeys() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

  ProcessResult run(const std::vector<std::string>& args, const std::string& input = {}) {
    std::vector<std::string> all{"--database", database_.string()};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram(QUOVEX_SQL_EXECUTABLE, all, input);
  }

  std::unique_ptr<TerminalSession> startSession() {
    auto session = std::make_unique<TerminalSession>(
        QUOVEX_SQL_EXECUTABLE,
        std::vector<std::string>{"--database", database_.string(), "--history", "", "--no-pager"});
    return session;
  }

  std::string lotCount() { return run({"--csv", "-e", "select count(*) from lote"}).out; }

  TempFolder folder_;
  std::filesystem::path database_ = folder_ / "compras.db";
};

TEST_F(QuovexSqlKeys, HalfTypedStatementsNeverRunAtCtrlDOrCtrlC) {
  ASSERT_EQ(lotCount(), "count(*)\r\n3\r\n");
  struct Case {
    const char* name;
    std::string typed;     // typed after the first prompt
    std::string shown;     // waited for before the key, so it reaches the line editor
    std::string key;
    std::string response;  // shown before the next fresh prompt
  };
  const Case cases[] = {
      {"Ctrl-D at the continuation prompt", "delete from lote\r", "...> ", kCtrlD,
       "error: unfinished statement not run (end it with \";\"): delete from lote"},
      {"Ctrl-C at the continuation prompt", "delete from lote\r", "...> ", kCtrlC, "\n"},
      {"Ctrl-C in the middle of a line", "delete from lote", "delete from lote", kCtrlC, "\n"},
      {"Ctrl-C in a quoted text", "update lote set des_lote = 'x;\r", "...> ", kCtrlC, "\n"},
  };
  for (const Case& c : cases) {
    auto terminal = startSession();
    ASSERT_TRUE(terminal->waitFor("sql> ")) << terminal->screen();
    terminal->type(c.typed);
    ASSERT_TRUE(terminal->waitFor(c.shown)) << c.name << "\n" << terminal->screen();
    ASSERT_TRUE(terminal->waitForKeyByKeyInput()) << c.name;
    terminal->type(c.key);
    ASSERT_TRUE(terminal->waitFor(c.response)) << c.name << "\n" << terminal->screen();
    // A fresh prompt, not the continuation: a ";" now ends nothing.
    ASSERT_TRUE(terminal->waitFor("sql> ")) << c.name << "\n" << terminal->screen();
    terminal->type(";\r");
    ASSERT_TRUE(terminal->waitFor("sql> ")) << c.name << "\n" << terminal->screen();
    terminal->type("select count(*) from lote;\r");
    ASSERT_TRUE(terminal->waitFor("        3\r\n(1 row)")) << c.name << "\n" << terminal->screen();
    // Ctrl-D on an empty line ends the session.
    ASSERT_TRUE(terminal->waitFor("sql> ")) << c.name << "\n" << terminal->screen();
    ASSERT_TRUE(terminal->waitForKeyByKeyInput()) << c.name;
    terminal->type(kCtrlD);
    EXPECT_EQ(terminal->wait(), 0) << c.name << "\n" << terminal->screen();
    EXPECT_EQ(terminal->screen().find("rows affected"), std::string::npos) << c.name << "\n" << terminal->screen();
    EXPECT_EQ(lotCount(), "count(*)\r\n3\r\n") << c.name;
  }
}

TEST_F(QuovexSqlKeys, InScriptsTheLastStatementWithoutSemicolonStillRuns) {
  EXPECT_EQ(run({"-q"}, "delete from proposta where nro_item = 2\n").exitCode, 0);
  EXPECT_EQ(run({"-q", "-e", "delete from lote where nro_lote = 2"}).exitCode, 0);
  EXPECT_EQ(run({"--csv", "-e", "select count(*) from proposta where nro_item = 2"}).out, "count(*)\r\n0\r\n");
  EXPECT_EQ(lotCount(), "count(*)\r\n2\r\n");
}

// A result of 4 096 * 4 096 rows takes far longer to print than the test
// waits: only a fetch that stops at Ctrl-C gives the prompt back in time.
std::string longResultScript() {
  std::string script = "create table muitos (n integer);\ninsert into muitos values (1);\n";
  for (int step = 1; step < 4096; step *= 2) {
    script += "insert into muitos select n + " + std::to_string(step) + " from muitos;\n";
  }
  return script;
}

TEST_F(QuovexSqlKeys, CtrlCStopsALongResultAndASecondOneEndsTheShell) {
  ASSERT_EQ(run({"-q"}, longResultScript()).exitCode, 0);
  const char* const longResult = "select a.n, b.n from muitos a, muitos b;\r";

  auto terminal = startSession();
  ASSERT_TRUE(terminal->waitFor("sql> ")) << terminal->screen();
  terminal->type(longResult);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  terminal->type(kCtrlC);
  ASSERT_TRUE(terminal->waitFor("error: interrupted: the remaining rows were not fetched")) << terminal->screen();
  ASSERT_TRUE(terminal->waitFor("sql> ")) << terminal->screen();
  // The session goes on; after two seconds a Ctrl-C is a first one again.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  terminal->type("select count(*) from lote;\r");
  ASSERT_TRUE(terminal->waitFor("        3\r\n(1 row)")) << terminal->screen();
  ASSERT_TRUE(terminal->waitFor("sql> ")) << terminal->screen();
  terminal->type(kCtrlC);
  ASSERT_TRUE(terminal->waitFor("sql> ")) << terminal->screen();
  terminal->type("\\q\r");
  EXPECT_EQ(terminal->wait(), 0) << terminal->screen();

  // Two Ctrl-C in a row while the rows come end the shell.
  auto second = startSession();
  ASSERT_TRUE(second->waitFor("sql> ")) << second->screen();
  second->type(longResult);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  second->type(kCtrlC);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  second->type(kCtrlC);
  const int exitCode = second->wait();
  EXPECT_TRUE(exitCode == 0 || exitCode == 130) << exitCode << "\n" << second->screen();
}

}  // namespace
}  // namespace quovexsql
