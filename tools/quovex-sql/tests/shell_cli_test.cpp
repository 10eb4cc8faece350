// quovex-sql and quovex-mkdb as a user runs them: options, exit codes, error
// texts, results of every type, CSV, the trace, the catalogue commands on
// the sample database, and an interactive session at a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell_process.h"

namespace quovexsql {
namespace {

using testing::ProcessResult;
using testing::readFile;
using testing::runProgram;
using testing::TempFolder;
using testing::TerminalSession;
using testing::writeFile;

ProcessResult shell(const std::vector<std::string>& args, const std::string& input = {}) {
  return runProgram(QUOVEX_SQL_EXECUTABLE, args, input);
}

ProcessResult mkdb(const std::vector<std::string>& args) { return runProgram(QUOVEX_MKDB_EXECUTABLE, args); }

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A copy of the sample database for one test, so tests may change it.
class SampleDatabase : public ::testing::Test {
 protected:
  SampleDatabase() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

  ProcessResult run(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--database", database_.string()});
    return shell(args, input);
  }

  TempFolder folder_;
  std::filesystem::path database_ = folder_ / "compras.db";
};

TEST(QuovexSqlCli, WrongCommandLinesAndMissingPiecesHaveTheirExitCodes) {
  TempFolder folder;
  const ProcessResult noDatabase = shell({"-e", "select 1"});
  EXPECT_EQ(noDatabase.exitCode, 2);
  EXPECT_TRUE(contains(noDatabase.err, "--database")) << noDatabase.err;

  EXPECT_EQ(shell({"--help"}).exitCode, 0);
  EXPECT_EQ(shell({"-d", "x", "--bogus"}).exitCode, 2);
  EXPECT_EQ(shell({"-d", "x", "--server", std::string(32, 's')}).exitCode, 2);

  const ProcessResult noDriver = shell({"-d", "x", "--driver", (folder / "missing.so").string()});
  EXPECT_EQ(noDriver.exitCode, 3);
  EXPECT_TRUE(contains(noDriver.err, "cannot load the driver library")) << noDriver.err;

  const ProcessResult noFile = shell({"-d", (folder / "none.db").string(), "-e", "select 1"});
  EXPECT_EQ(noFile.exitCode, 3);
  EXPECT_TRUE(contains(noFile.err, "Database not found or no system permission.")) << noFile.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "none.db"));
}

TEST(QuovexSqlCli, MkdbMakesEachKindOfDatabaseAndNeverTouchesAnExistingFile) {
  TempFolder folder;
  for (const char* kind : {"buffered", "ansi", "none"}) {
    const auto path = folder / (std::string(kind) + ".db");
    const ProcessResult made = mkdb({"--logging", kind, path.string()});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    const ProcessResult used = shell({"-d", path.string(), "-e", "create table t (a integer); insert into t values (1)"});
    EXPECT_EQ(used.exitCode, 0) << kind << used.err;
  }
  // Only a database without a log refuses transactions.
  EXPECT_EQ(shell({"-d", (folder / "buffered.db").string()}, "\\begin\n\\rollback\n").exitCode, 0);
  const ProcessResult unlogged = shell({"-d", (folder / "none.db").string()}, "\\begin\n");
  EXPECT_EQ(unlogged.exitCode, 1);
  EXPECT_TRUE(contains(unlogged.err, "stdin:1: error: ")) << unlogged.err;

  writeFile(folder / "precious.db", "not a database");
  const ProcessResult refused = mkdb({(folder / "precious.db").string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(contains(refused.err, "already exists")) << refused.err;
  EXPECT_EQ(readFile(folder / "precious.db"), "not a database");
  EXPECT_EQ(mkdb({"--logging", "sometimes", (folder / "x.db").string()}).exitCode, 2);
}

}  // namespace
}  // namespace quovexsql
