// UNLOAD and LOAD as a user runs them: every table of the sample unloaded,
// loaded into empty copies and unloaded again byte for byte; escapes and
// delimiters; a bad line in a database with and without a log.
#include <gtest/gtest.h>

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

class QuovexSqlUnload : public ::testing::Test {
 protected:
  QuovexSqlUnload() { std::filesystem::copy_file(SAMPLE_DATABASE, database_); }

  static ProcessResult on(const std::filesystem::path& database, const std::string& input) {
    return runProgram(QUOVEX_SQL_EXECUTABLE, {"--database", database.string()}, input);
  }
  std::filesystem::path emptyDatabase(const std::string& name, const std::string& logging = "buffered") {
    const auto path = folder_ / name;
    EXPECT_EQ(runProgram(QUOVEX_MKDB_EXECUTABLE, {"--logging", logging, path.string()}).exitCode, 0);
    return path;
  }
  std::string unl(const std::string& name) const { return (folder_ / (name + ".unl")).string(); }

  TempFolder folder_;
  std::filesystem::path database_ = folder_ / "compras.db";
};

TEST_F(QuovexSqlUnload, EveryTableUnloadsAndLoadsBackWithEveryValue) {
  const char* const tables[] = {"entidade", "fornecedor", "processo", "lote", "item", "proposta"};
  std::string unload;
  for (const char* table : tables) unload += "unload to '" + unl(table) + "' select * from " + table + ";\n";
  const ProcessResult unloaded = on(database_, unload);
  ASSERT_EQ(unloaded.exitCode, 0) << unloaded.err;
  EXPECT_TRUE(contains(unloaded.out, "3 rows unloaded\n")) << unloaded.out;
  EXPECT_TRUE(
      contains(readFile(unl("fornecedor")), "1|12123123000199|Papelaria Estrela Ltda|03/15/2010|89504e470d0a1a0a|\n"));
  EXPECT_TRUE(contains(readFile(unl("processo")), "|2010-04-12 09:30:00|  30|15230.50|\n"));

  // The same tables, empty, in a new database: from the schema dump.
  const auto copy = emptyDatabase("copia.db");
  writeFile(folder_ / "schema.sql", on(database_, "\\schema\n").out);
  ASSERT_EQ(runProgram(QUOVEX_SQL_EXECUTABLE, {"-d", copy.string(), "-q", "-f", (folder_ / "schema.sql").string()})
                .exitCode,
            0);
  std::string load;
  std::string again;
  for (const char* table : tables) {
    load += "load from '" + unl(table) + "' insert into " + table + ";\n";
    again += "unload to '" + unl(std::string(table) + "2") + "' select * from " + table + ";\n";
  }
  const ProcessResult loaded = on(copy, load + again);
  ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
  EXPECT_TRUE(contains(loaded.out, "4 rows loaded\n")) << loaded.out;
  for (const char* table : tables) {
    EXPECT_EQ(readFile(unl(std::string(table) + "2")), readFile(unl(table))) << table;
    EXPECT_FALSE(readFile(unl(table)).empty()) << table;
  }
}

TEST_F(QuovexSqlUnload, DelimitersBackslashesAndLineFeedsInValuesRoundTrip) {
  ASSERT_EQ(on(database_, "create table notas (n integer, t varchar(40), longa text);\n").exitCode, 0);
  // A delimiter, a backslash and a line feed inside values; NULL as an empty field.
  const std::string records = "1,a\\,b,linha 1\\\nlinha 2,\n2,c:\\\\tmp,,\n3,,x,\n";
  writeFile(folder_ / "notas.csv", records);
  const ProcessResult result = on(database_, "load from '" + (folder_ / "notas.csv").string() +
                                                 "' delimiter ',' insert into notas;\n"
                                                 "select n, t, longa from notas where n = 1;\n"
                                                 "select count(*) from notas where t is null;\n"
                                                 "unload to '" +
                                                 unl("notas") + "' delimiter ',' select * from notas;\n");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.out, " 1 | a,b | linha 1\\nlinha 2\n")) << result.out;
  EXPECT_TRUE(contains(result.out, "        1\n")) << result.out;
  EXPECT_EQ(readFile(unl("notas")), records);

  EXPECT_EQ(on(database_, "unload to 'x' delimiter '\\\\' select 1 from lote;\n").exitCode, 1);
  EXPECT_TRUE(contains(on(database_, "load from 'x' select 1;\n").err, "usage: LOAD FROM"));
  EXPECT_TRUE(contains(on(database_, "load from '" + (folder_ / "none").string() + "' insert into lote;\n").err,
                       "cannot read "));
}

TEST_F(QuovexSqlUnload, ABadLineRollsBackInALoggedDatabaseAndStopsWithoutALog) {
  // Line 3 leaves the lot's name, which may not be NULL, empty.
  const std::string bad = "1|2010|7|Sete|\n1|2010|8|Oito|\n1|2010|9||\n1|2010|10|Dez|\n";
  writeFile(folder_ / "lotes.unl", bad);
  const std::string load = "load from '" + (folder_ / "lotes.unl").string() + "' insert into lote;\n";
  const ProcessResult logged = on(database_, load);
  EXPECT_EQ(logged.exitCode, 1);
  EXPECT_TRUE(contains(logged.err, "lotes.unl:3: ")) << logged.err;
  EXPECT_TRUE(contains(logged.err, "nothing was loaded (rolled back)")) << logged.err;
  EXPECT_TRUE(contains(on(database_, "select count(*) from lote;\n").out, "        3\n"));

  const auto unlogged = emptyDatabase("semlog.db", "none");
  ASSERT_EQ(on(unlogged, "create table lote (nro_processo integer, ano_processo smallint, nro_lote smallint, "
                         "des_lote varchar(100) not null);\n").exitCode,
            0);
  const ProcessResult stopped = on(unlogged, load);
  EXPECT_EQ(stopped.exitCode, 1);
  EXPECT_TRUE(contains(stopped.err, "lotes.unl:3: ")) << stopped.err;
  EXPECT_TRUE(contains(stopped.err, "the 2 rows before it stay (the database keeps no transaction log)"))
      << stopped.err;
  EXPECT_TRUE(contains(on(unlogged, "select count(*) from lote;\n").out, "        2\n"));

  writeFile(folder_ / "curta.unl", "1|2010|\n");
  const ProcessResult shortLine =
      on(database_, "load from '" + (folder_ / "curta.unl").string() + "' insert into lote;\n");
  EXPECT_TRUE(contains(shortLine.err, "curta.unl:1: 2 fields where the table takes 4")) << shortLine.err;
}

}  // namespace
}  // namespace quovexsql
