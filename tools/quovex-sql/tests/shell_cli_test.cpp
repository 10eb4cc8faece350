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

using testing::contains;

// A copy of the sample database for one test, so tests may change it.
class QuovexSqlSample : public ::testing::Test {
 protected:
  QuovexSqlSample() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

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
  // A comma in the path is part of the name, not the start of a connection name.
  for (const char* kind : {"buffered", "ansi", "none"}) {
    const auto path = folder / (std::string(kind) + ",1.db");
    const ProcessResult made = mkdb({"--logging", kind, path.string()});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    const ProcessResult used = shell({"-d", path.string(), "-e", "create table t (a integer); insert into t values (1)"});
    EXPECT_EQ(used.exitCode, 0) << kind << used.err;
  }
  // Only a database without a log refuses transactions.
  EXPECT_EQ(shell({"-d", (folder / "buffered,1.db").string()}, "\\begin\n\\rollback\n").exitCode, 0);
  const ProcessResult unlogged = shell({"-d", (folder / "none,1.db").string()}, "\\begin\n");
  EXPECT_EQ(unlogged.exitCode, 1);
  EXPECT_TRUE(contains(unlogged.err, "stdin:1: error: ")) << unlogged.err;

  // With a user, only that user with that password connects.
  const std::string guarded = (folder / "guarded.db").string();
  EXPECT_EQ(mkdb({"--user", "alice", "--password", "s3cret", guarded}).exitCode, 0);
  EXPECT_EQ(shell({"-d", guarded, "-u", "alice", "-p", "s3cret", "-e", "create table t (a integer)"}).exitCode, 0);
  writeFile(folder / "password", "s3cret\n");
  EXPECT_EQ(shell({"-d", guarded, "-u", "alice", "--password-file", (folder / "password").string(), "-e",
                   "select a from t"}).exitCode,
            0);
  const ProcessResult wrong = shell({"-d", guarded, "-u", "alice", "-p", "guess", "-e", "select a from t"});
  EXPECT_EQ(wrong.exitCode, 3);
  EXPECT_EQ(wrong.err.rfind("error: cannot connect to " + guarded + ": ", 0), 0u) << wrong.err;

  writeFile(folder / "precious.db", "not a database");
  const ProcessResult refused = mkdb({(folder / "precious.db").string()});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(contains(refused.err, "already exists")) << refused.err;
  EXPECT_EQ(readFile(folder / "precious.db"), "not a database");
  EXPECT_EQ(mkdb({"--logging", "sometimes", (folder / "x.db").string()}).exitCode, 2);
}

TEST_F(QuovexSqlSample, EveryColumnTypePrintsInItsNaturalText) {
  const ProcessResult result = run({"-e", "select * from processo order by nro_processo; "
                                          "select nro_item, qtd_item, pes_unitario, vlr_referencia from item "
                                          "where nro_processo = 1 or qtd_item is null order by nro_processo, nro_lote, nro_item; "
                                          "select nro_documento, des_fornecedor, dat_cadastro, img_logotipo from fornecedor "
                                          "order by cod_fornecedor"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            // INTEGER, SMALLINT, CHAR, TEXT, DATETIME, INTERVAL, MONEY
            " nro_processo | ano_processo | cod_entidade | idt_finalidade | des_objeto                          "
            "                           | dat_abertura        | prz_entrega | vlr_estimado\n"
            "--------------+--------------+--------------+----------------+-------------------------------------"
            "---------------------------+---------------------+-------------+--------------\n"
            "            1 |         2010 |            1 | PL             | Aquisição de material escolar para a"
            " rede municipal de ensino. | 2010-04-12 09:30:00 |   30        |     15230.50\n"
            "           45 |         2012 |            2 | CP             | NULL                                "
            "                           | 2012-03-04 05:06:07 |    5        |         NULL\n"
            "(2 rows)\n"
            // FLOAT, SMALLFLOAT, DECIMAL(16,4) with its four places, NULLs
            " nro_item | qtd_item | pes_unitario | vlr_referencia\n"
            "----------+----------+--------------+----------------\n"
            "        1 |     1500 |         0.01 |         0.8750\n"
            "        2 |     3000 |        0.005 |         0.3500\n"
            "        1 |    400.5 |          2.5 |        18.9900\n"
            "        2 |     NULL |         NULL |           NULL\n"
            "(4 rows)\n"
            // CHAR, NVARCHAR with accents aligned by characters, DATE, BYTE in hexadecimal
            " nro_documento  | des_fornecedor           | dat_cadastro | img_logotipo\n"
            "----------------+--------------------------+--------------+--------------------\n"
            " 12123123000199 | Papelaria Estrela Ltda   | 15/03/2010   | \\x89504e470d0a1a0a\n"
            " 45678912000110 | Distribuidora Ação & Cia | 02/11/2011   | NULL\n"
            " 11122233344    | José \"Zeca\" Pereira      | NULL         | NULL\n"
            "(3 rows)\n");
}

TEST_F(QuovexSqlSample, ValuesWrittenByTheShellReadBackWithEveryDigit) {
  const ProcessResult result = run({"-e",
                                    "update proposta set vlr_proposta = -12345678901234.56, doc_anexo = NULL "
                                    "where nro_item = 2; "
                                    "update processo set des_objeto = NULL where nro_processo = 1; "
                                    "select vlr_proposta, des_marca from proposta where nro_item = 2 and nro_lote = 1"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "1 row affected\n"
            "1 row affected\n"
            " vlr_proposta       | des_marca\n"
            "--------------------+---------------\n"
            " -12345678901234.56 | Faber-Castell\n"
            "(1 row)\n");
}

TEST_F(QuovexSqlSample, AFailingStatementPrintsTheDriverTextAndStopsTheScript) {
  const std::string script =
      "-- two good statements, then a bad one\n"
      "update item set qtd_item = 1 where nro_item = 1 and nro_lote = 1 and nro_processo = 1;\n"
      "\n"
      "insert into entidade\n"
      "  values (1, 'again', 'x', '1');\n"
      "update item set qtd_item = 2 where nro_item = 1 and nro_lote = 1 and nro_processo = 1;\n";
  const ProcessResult stopped = run({}, script);
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_EQ(stopped.err,
            "stdin:4: error: Unique constraint (entidade.cod_entidade) violated.\n"
            "  ISAM error: duplicate value for a record with unique key.\n");
  EXPECT_EQ(stopped.out, "1 row affected\n");
  const char* const check = "select qtd_item from item where nro_item = 1 and nro_lote = 1 and nro_processo = 1";
  EXPECT_NE(run({"-e", check}).out.find("\n        1\n"), std::string::npos);

  // Results that cannot be written are no success.
  const ProcessResult full = runProgram(QUOVEX_SQL_EXECUTABLE, {"-d", database_.string(), "-e", "select * from item"},
                                        "", "/dev/full");
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_NE(full.err.find("cannot write the results"), std::string::npos) << full.err;

  // Told to go on, it runs the rest and still ends with 1.
  const ProcessResult goingOn = run({"--keep-going", "-f", "-"}, script);
  EXPECT_EQ(goingOn.exitCode, 1);
  EXPECT_NE(goingOn.err.find("stdin:4: error: Unique constraint"), std::string::npos) << goingOn.err;
  EXPECT_EQ(goingOn.out, "1 row affected\n1 row affected\n");
  EXPECT_NE(run({"-e", check}).out.find("\n        2\n"), std::string::npos);

  // A syntax error in a script file names the file and the statement's line.
  TempFolder folder;
  writeFile(folder / "bad.sql", "select 1 from entidade;\nselec 2;\n");
  const ProcessResult syntax = run({"-q", "-f", (folder / "bad.sql").string()});
  EXPECT_EQ(syntax.exitCode, 1);
  EXPECT_EQ(syntax.err.rfind((folder / "bad.sql").string() + ":2: error: ", 0), 0u) << syntax.err;
}

TEST_F(QuovexSqlSample, CsvOutputIsRfc4180) {
  const ProcessResult result =
      run({"--csv", "-e",
           "select cod_fornecedor, des_fornecedor, dat_cadastro from fornecedor order by cod_fornecedor; "
           "update lote set des_lote = 'a,b' where nro_lote = 2"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "cod_fornecedor,des_fornecedor,dat_cadastro\r\n"
            "1,Papelaria Estrela Ltda,15/03/2010\r\n"
            "2,Distribuidora Ação & Cia,02/11/2011\r\n"
            "3,\"José \"\"Zeca\"\" Pereira\",\r\n");
  // Notes stay off the data.
  EXPECT_EQ(result.err, "1 row affected\n");
  EXPECT_EQ(run({"--csv", "-e", "select des_lote from lote where nro_lote = 2"}).out, "des_lote\r\n\"a,b\"\r\n");

  // A value holding a terminal command: kept as it is in CSV to a file,
  // made visible in a table.
  const char* const escape = "select des_lote || char(27) || '[2J' as t from lote where nro_lote = 2";
  EXPECT_EQ(run({"--csv", "-e", escape}).out, "t\r\n\"a,b\x1b[2J\"\r\n");
  EXPECT_EQ(run({"-e", escape}).out, " t\n------------\n a,b\\x1B[2J\n(1 row)\n");
}

TEST_F(QuovexSqlSample, TraceShowsEachDriverStepAsItHappens) {
  const ProcessResult result = run({"--trace", "-e", "select des_lote from lote where nro_lote = 2"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, " des_lote\n----------\n Papel\n(1 row)\n");
  std::vector<std::string> expected{"trace: ESQL/C Open Database\n", "trace: ESQL/C Prepare Statement\n",
                                    "trace: select des_lote from lote where nro_lote = 2\n",
                                    "trace: ESQL/C Open Cursor\n", "trace: ESQL/C Fetch\n",
                                    "trace: ESQL/C Close Cursor\n", "trace: ESQL/C Close Database\n"};
  std::size_t at = 0;
  for (const std::string& step : expected) {
    at = result.err.find(step, at);
    ASSERT_NE(at, std::string::npos) << step << " in order in\n" << result.err;
  }
  EXPECT_EQ(run({"-e", "select 1 from lote where nro_lote = 2"}).err, "");  // no trace unless asked
  // A server name goes into the connect text; the stand-in selects nothing by it.
  const ProcessResult server = run({"--server", "ol_compras", "-e", "select 1 from lote where nro_lote = 2"});
  EXPECT_EQ(server.exitCode, 0) << server.err;
}

TEST_F(QuovexSqlSample, ProceduresAndFunctionsRun) {
  const ProcessResult result = run({"-e",
                                    "execute procedure propostas_acima (1, 0.5); "
                                    "execute procedure reajusta_referencia (10); "
                                    "select vlr_referencia from item where nro_processo = 45 and nro_item = 1"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            " cod_fornecedor | des_marca | vlr_proposta\n"
            "----------------+-----------+--------------\n"
            "              2 | Chamex    |        17.85\n"
            "              1 | BIC       |         0.79\n"
            "(2 rows)\n"
            "5 rows affected\n"
            " vlr_referencia\n"
            "----------------\n"
            "        23.5400\n"
            "(1 row)\n");
}

TEST_F(QuovexSqlSample, InteractiveSessionEditsRecallsAndGoesOnAfterAFailure) {
  const auto history = folder_ / "history";
  TerminalSession terminal(QUOVEX_SQL_EXECUTABLE, {"--database", database_.string(), "--history", history.string()});
  ASSERT_TRUE(terminal.waitFor("sql> ")) << terminal.screen();

  // A typing mistake corrected with backspace before Enter.
  terminal.type("select des_lote from lote where nro_lote = 22\x7f;\r");
  ASSERT_TRUE(terminal.waitFor("Papel")) << terminal.screen();
  ASSERT_TRUE(terminal.waitFor("(1 row)")) << terminal.screen();

  // Arrow up brings the statement back.
  ASSERT_TRUE(terminal.waitFor("sql> "));
  terminal.type("\x1b[A\r");
  ASSERT_TRUE(terminal.waitFor("(1 row)")) << terminal.screen();

  // A statement over two lines gets the continuation prompt.
  ASSERT_TRUE(terminal.waitFor("sql> "));
  terminal.type("select des_lote from lote\r");
  ASSERT_TRUE(terminal.waitFor("...> ")) << terminal.screen();
  terminal.type("where nro_lote = 1 and nro_processo = 1;\r");
  ASSERT_TRUE(terminal.waitFor("Material de escritório")) << terminal.screen();

  // A failure is shown and the session goes on.
  terminal.type("select * from nada;\r");
  ASSERT_TRUE(terminal.waitFor("error: The specified table (nada) is not in the database.")) << terminal.screen();
  ASSERT_TRUE(terminal.waitFor("sql> "));
  terminal.type("\\isolation dirty\r");
  ASSERT_TRUE(terminal.waitFor("isolation level 2 (dirty read)")) << terminal.screen();

  terminal.type("\\quit\r");
  EXPECT_EQ(terminal.wait(), 0) << terminal.screen();

  // The next session finds the history: two lines up is \isolation dirty.
  TerminalSession again(QUOVEX_SQL_EXECUTABLE, {"--database", database_.string(), "--history", history.string()});
  ASSERT_TRUE(again.waitFor("sql> ")) << again.screen();
  again.type("\x1b[A\x1b[A\r");
  ASSERT_TRUE(again.waitFor("isolation level 2 (dirty read)")) << again.screen();
  ASSERT_TRUE(again.waitFor("sql> ")) << again.screen();
  again.type("\\q\r");
  EXPECT_EQ(again.wait(), 0) << again.screen();
}

TEST_F(QuovexSqlSample, CatalogueCommandsListWhatTheDatabaseHolds) {
  struct Case {
    const char* command;
    std::vector<std::string> lines;  // each must appear in the output
  };
  const Case cases[] = {
      {"\\databases", {" database | owner\n", " compras  | informix\n", "(1 row)\n"}},
      {"\\tables",
       {" table              | type  | owner\n", " entidade           | table | informix\n",
        " proposta           | table | informix\n", " v_item_lote        | view  | informix\n", "(8 rows)\n"}},
      {"\\tables v%", {" v_item_lote        | view | informix\n", " v_total_fornecedor | view | informix\n",
                       "(2 rows)\n"}},
      {"\\views", {" view               | owner\n", " v_total_fornecedor | informix\n", "(2 rows)\n"}},
      {"\\synonyms", {" synonym | owner\n", "(0 rows)\n"}},
      {"\\procedures",
       {" procedure           | type      | parameters | results | owner\n",
        " propostas_acima     | function  |          2 |       3 | informix\n",
        " reajusta_referencia | procedure |          1 |       0 | informix\n"}},
      {"\\users", {" user\n", "(0 rows)\n"}},
      {"\\roles", {" role\n", "(0 rows)\n"}},
      {"\\describe proposta",
       {" column         | type                    | nullable\n",
        " cod_fornecedor | integer                 | no\n",
        " des_marca      | varchar(40)             | yes\n",
        " vlr_proposta   | decimal(16,2)           | yes\n",
        " dat_proposta   | datetime year to second | yes\n", "(11 rows)\n",
        " index                  | columns           | unique | constraint\n",
        " ix_proposta_fornecedor | cod_fornecedor    | no     | NULL\n",
        " ix_proposta_valor      | vlr_proposta DESC | no     | NULL\n(2 rows)\n"}},
      {"\\describe processo",
       {" prz_entrega    | interval day(3) to day  | yes\n", " vlr_estimado   | money(12,2)             | yes\n",
        " des_objeto     | text                    | yes\n"}},
      {"\\describe item",
       {" des_unidade    | char(5)       | yes\n", " pes_unitario   | smallfloat    | yes\n",
        " ix_item | nro_processo, ano_processo, nro_lote, nro_item | yes    | NULL\n(1 row)\n"}},
      {"\\describe entidade", {" cod_entidade | yes    | primary key u100_1\n(1 row)\n"}},
      {"\\describe fornecedor", {" cod_fornecedor | serial       | no\n"}},
      {"\\procedure propostas_acima",
       {" position | type    | direction | length\n", "        1 | integer | in        |      4\n",
        "        2 | decimal | in        |     34\n", "(2 rows)\n"}},
      {"\\help", {"\\describe table", "\\isolation [committed|repeatable|dirty]"}},
  };
  for (const Case& c : cases) {
    const ProcessResult result = run({}, std::string(c.command) + "\n");
    EXPECT_EQ(result.exitCode, 0) << c.command << "\n" << result.err;
    for (const std::string& line : c.lines) {
      EXPECT_NE(result.out.find(line), std::string::npos) << c.command << " shows\n" << line << "in\n" << result.out;
    }
  }

  const ProcessResult missing = run({}, "\\describe nada\n\\tables\n");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "stdin:1: error: no table named nada\n");
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(run({}, "\\describe\n").err, "stdin:1: error: usage: \\describe table\n");
  EXPECT_EQ(run({}, "\\bogus\n").err, "stdin:1: error: unknown command \\bogus (\\help lists the commands)\n");
  // A name is matched exactly, not as a LIKE pattern.
  EXPECT_EQ(run({}, "\\describe i_em\n").exitCode, 1);
}

TEST_F(QuovexSqlSample, TransactionCommandsCommitAndRollBack) {
  const char* const count = "select count(*) from lote;\n";
  const ProcessResult result = run({}, std::string("\\begin\n") +
                                           "insert into lote values (9, 2026, 1, 'rolled back');\n"
                                           "\\rollback\n" + count +
                                           "\\isolation repeatable\n"
                                           "\\begin\n"
                                           "insert into lote values (9, 2026, 2, 'kept');\n"
                                           "\\commit\n"
                                           "\\isolation\n" + count);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "transaction begun\n1 row affected\ntransaction rolled back\n"
            " count(*)\n----------\n        3\n(1 row)\n"
            "isolation level 1 (repeatable read)\n"
            "transaction begun\n1 row affected\ntransaction committed\n"
            "isolation level 1 (repeatable read)\n"
            " count(*)\n----------\n        4\n(1 row)\n");
  EXPECT_EQ(run({}, "\\isolation sometimes\n").exitCode, 1);
}

}  // namespace
}  // namespace quovexsql
