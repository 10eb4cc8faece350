// The everyday commands and output forms as a user drives them through
// scripts and standard input: every value shown and exported, \set with
// :name, \o, \i, \e with a fake editor, \timing, \x, \connect, \help, JSON
// and Markdown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "shell_process.h"

namespace quovexsql {
namespace {

using testing::ProcessResult;
using testing::readFile;
using testing::runProgram;
using testing::TempFolder;
using testing::writeFile;

using testing::contains;

class QuovexSqlCommands : public ::testing::Test {
 protected:
  QuovexSqlCommands() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

  ProcessResult run(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--database", database_.string()});
    return runProgram(QUOVEX_SQL_EXECUTABLE, args, input);
  }

  TempFolder folder_;
  std::filesystem::path database_ = folder_ / "compras.db";
};

TEST_F(QuovexSqlCommands, TextAndByteValuesAreShownAndExportedWhole) {
  const char* const query =
      "select des_objeto, img_logotipo from processo, fornecedor where nro_processo = 1 and cod_fornecedor = 1";
  const ProcessResult csv = run({"--csv", "--max-width", "5", "-e", query});
  EXPECT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "des_objeto,img_logotipo\r\n"
            "Aquisição de material escolar para a rede municipal de ensino.,\\x89504e470d0a1a0a\r\n");
  const ProcessResult table = run({"--max-width", "12", "-e", query});
  EXPECT_EQ(table.out,
            " des_objeto   | img_logotipo\n"
            "--------------+--------------\n"
            " Aquisição d… | \\x89504e470…\n"
            "(1 row)\n");
  EXPECT_TRUE(contains(run({}, std::string("\\pset max_width 3\n") + query + ";\n").out,
                       "\n Aq…        | \\x…\n"));

  const ProcessResult json = run({"--json", "-e", "select nro_lote, des_lote, nro_processo * 1.5 as x from lote "
                                                  "where nro_processo = 1 order by nro_lote; " +
                                                      std::string(query)});
  EXPECT_EQ(json.out,
            "[\n{\"nro_lote\":1,\"des_lote\":\"Material de escritório\",\"x\":1.5},\n"
            "{\"nro_lote\":2,\"des_lote\":\"Papel\",\"x\":1.5}\n]\n"
            "[\n{\"des_objeto\":\"Aquisição de material escolar para a rede municipal de ensino.\","
            "\"img_logotipo\":\"\\\\x89504e470d0a1a0a\"}\n]\n");
  EXPECT_EQ(run({"--markdown", "-e", "select nro_lote, des_lote from lote where nro_lote = 2"}).out,
            "| nro_lote | des_lote |\n| ---: | --- |\n| 2 | Papel |\n");
  EXPECT_EQ(run({"--json", "--csv", "-e", "select 1"}).exitCode, 2);
}

TEST_F(QuovexSqlCommands, VariablesAreSubstitutedOnlyWhereTheyAreSetAndOutsideQuotes) {
  const ProcessResult result = run({"--csv"},
                                   "\\set lote 2\n"
                                   "\\set campo des_lote\n"
                                   "select :campo, ':lote' as q, '10:30' as t from lote -- :lote\n"
                                   "where nro_lote = :lote and nro_processo = 1;\n"
                                   "select :nada from lote;\n");
  EXPECT_EQ(result.out, "des_lote,q,t\r\nPapel,:lote,10:30\r\n");
  // A name never set is sent as typed, and the server refuses it.
  EXPECT_TRUE(contains(result.err, "stdin:5: error: ")) << result.err;
  EXPECT_EQ(run({}, "\\set 1x 2\n").exitCode, 1);
  EXPECT_EQ(run({}, "\\set a b c\n\\set\n").out, "a = b c\n");
}

TEST_F(QuovexSqlCommands, OutputFilesScriptsTimingExpandedAndHelp) {
  writeFile(folder_ / "lotes.sql", "select des_lote from lote where nro_lote = 2;\n\\timing on\n");
  const auto saved = folder_ / "saida.txt";
  const ProcessResult result = run({}, "\\o " + saved.string() + "\n" +
                                           "\\i " + (folder_ / "lotes.sql").string() + "\n" +
                                           "\\o\n"
                                           "\\x\n"
                                           "select nro_lote, des_lote from lote where nro_lote = 2;\n"
                                           "\\x off\n"
                                           "\\help x\n");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(readFile(saved), " des_lote\n----------\n Papel\n(1 row)\nTiming is on.\n");
  EXPECT_TRUE(
      contains(result.out, "Expanded display is on.\n-[ RECORD 1 ]-\n nro_lote | 2\n des_lote | Papel\n(1 row)\n"))
      << result.out;
  EXPECT_TRUE(contains(result.out, "\nTime: ")) << result.out;
  EXPECT_TRUE(contains(result.out, "Expanded display is off.\n\\x [on|off|auto]\n")) << result.out;
  EXPECT_TRUE(contains(result.out, "  example: \\x auto\n")) << result.out;

  const ProcessResult missing = run({}, "\\i " + (folder_ / "none.sql").string() + "\n");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(contains(missing.err, "cannot read ")) << missing.err;
  // A script that includes itself stops instead of running forever.
  writeFile(folder_ / "self.sql", "\\i " + (folder_ / "self.sql").string() + "\n");
  EXPECT_EQ(run({"-f", (folder_ / "self.sql").string()}).exitCode, 1);

  const ProcessResult help = runProgram(QUOVEX_SQL_EXECUTABLE, {"--help"});
  for (const char* part : {"--json", "--markdown", "--max-width", "--no-pager", "\\schema", "UNLOAD TO"}) {
    EXPECT_TRUE(contains(help.out, part)) << part << "\n" << help.out;
  }
}

TEST_F(QuovexSqlCommands, EditRunsWhatTheEditorSavedAndConnectMovesToAnotherDatabase) {
  // The fake editor replaces the statement it is given with another.
  const auto editor = folder_ / "editor.sh";
  writeFile(editor, "#!/bin/sh\ngrep -q 'nro_lote = 2' \"$1\" || exit 3\n"
                    "printf 'select des_lote from lote\\nwhere nro_lote = 1 and nro_processo = 45\\n' > \"$1\"\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  ::setenv("EDITOR", editor.c_str(), 1);
  const ProcessResult edited = run({"-q"}, "select des_lote from lote where nro_lote = 2;\n\\e\n");
  ::unsetenv("EDITOR");
  EXPECT_EQ(edited.exitCode, 0) << edited.err;
  EXPECT_EQ(edited.out, " des_lote\n----------\n Papel\n(1 row)\n"
                        " des_lote\n----------------------\n Gêneros alimentícios\n(1 row)\n");

  const auto other = folder_ / "outro.db";
  std::filesystem::copy_file(database_, other);
  ASSERT_EQ(run({"-q", "-e", "delete from lote"}).exitCode, 0);
  const ProcessResult moved =
      run({}, "select count(*) from lote;\n\\connect " + other.string() + "\nselect count(*) from lote;\n"
              "\\connect " + (folder_ / "none.db").string() + "\nselect count(*) from lote;\n");
  EXPECT_EQ(moved.exitCode, 1);
  EXPECT_EQ(moved.out, " count(*)\n----------\n        0\n(1 row)\nConnected to " + other.string() +
                           ".\n count(*)\n----------\n        3\n(1 row)\n");
  EXPECT_TRUE(contains(moved.err, "still connected to the previous database")) << moved.err;
}

TEST_F(QuovexSqlCommands, SchemaDumpBuildsTheSameTablesInAnEmptyDatabase) {
  const ProcessResult schema = run({}, "\\schema\n");
  ASSERT_EQ(schema.exitCode, 0) << schema.err;
  EXPECT_TRUE(contains(schema.out, "CREATE TABLE processo (\n  nro_processo integer NOT NULL,\n")) << schema.out;
  EXPECT_TRUE(contains(schema.out, "  prz_entrega interval day(3) to day,\n  vlr_estimado money(12,2)\n);\n"));
  EXPECT_TRUE(contains(schema.out, "CREATE INDEX ix_proposta_valor ON proposta (vlr_proposta DESC);\n"));
  EXPECT_TRUE(contains(schema.out, "  PRIMARY KEY (cod_entidade) CONSTRAINT u100_1\n);\n"));

  // The dump runs as a script into an empty database and describes the same tables.
  const auto copy = folder_ / "copia.db";
  ASSERT_EQ(runProgram(QUOVEX_MKDB_EXECUTABLE, {copy.string()}).exitCode, 0);
  writeFile(folder_ / "schema.sql", schema.out);
  const ProcessResult made =
      runProgram(QUOVEX_SQL_EXECUTABLE, {"-d", copy.string(), "-q", "-f", (folder_ / "schema.sql").string()});
  ASSERT_EQ(made.exitCode, 0) << made.err;
  for (const char* table : {"entidade", "fornecedor", "processo", "lote", "item", "proposta"}) {
    const std::string command = std::string("\\schema ") + table + "\n";
    EXPECT_EQ(runProgram(QUOVEX_SQL_EXECUTABLE, {"-d", copy.string()}, command).out, run({}, command).out) << table;
  }
  EXPECT_EQ(run({}, "\\schema nada\n").err, "stdin:1: error: no table named nada\n");
}

}  // namespace
}  // namespace quovexsql
