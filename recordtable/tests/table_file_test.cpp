// Table files: round trip of every kind, saving whatever the filter, the
// atomic replacement on save, and the clear refusal of files that are not
// sound table files.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>

#include "recordtable/table.h"
#include "table_file_format.h"
#include "test_support.h"
#include "testing_hooks.h"

namespace recordtable {
namespace {

using test::ScratchFolder;

DateTime at(int y, int m, int d, int hh = 0, int nn = 0, int ss = 0, int ms = 0) {
  DateTime v;
  v.year = y, v.month = m, v.day = d, v.hour = hh, v.minute = nn, v.second = ss, v.millisecond = ms;
  return v;
}

std::string longText() {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "Especificação linha " + std::to_string(i) + ": ação, pão, ü\r\n";
  return text;
}

// Every kind with its extremes, and a record of nulls.
void fillEveryKind(Table& table) {
  table.setFieldDefs(test::everyKindDefs());
  table.setIndexFieldNames("INTEIRO");
  table.createEmpty();
  table.append();
  table.fieldByName("NOME").setText("Ação çüé!");
  table.fieldByName("PEQUENO").setInteger(-32768);
  table.fieldByName("INTEIRO").setInteger(2147483647);
  table.fieldByName("VALOR").setFloat(0.1 + 0.2);
  table.fieldByName("DATA").setDateTime(at(9999, 12, 31, 23, 59, 59, 999));
  table.fieldByName("OBS").setText(longText());
  table.fieldByName("PRECO").setDecimalUnits(std::numeric_limits<std::int64_t>::min());
  table.post();
  table.append();
  table.fieldByName("NOME").setText("");
  table.fieldByName("PEQUENO").setInteger(32767);
  table.fieldByName("INTEIRO").setInteger(-2147483647 - 1);
  table.fieldByName("VALOR").setFloat(-1.7976931348623157e308);
  table.fieldByName("DATA").setDateTime(at(1, 1, 1));
  table.fieldByName("OBS").setText("");
  table.fieldByName("PRECO").setText("0,01");
  table.post();
  table.append();  // every value null
  table.post();
}

// Every value of every record as text, with null told apart from "".
std::vector<std::string> snapshot(Table& table) {
  std::vector<std::string> values;
  for (table.first(); !table.eof(); table.next()) {
    for (std::size_t i = 0; i < table.fieldCount(); ++i) {
      const Field& f = table.field(i);
      values.push_back(f.isNull() ? "<null>" : f.asText());
    }
  }
  return values;
}

TEST(TableFile, RoundTripKeepsDefinitionsRecordsAndValues) {
  ScratchFolder folder;
  Table saved("T");
  fillEveryKind(saved);
  const auto path = folder.file("PL_000001_2010.ZUL");
  saved.saveToFile(path);

  Table loaded("T");
  loaded.setIndexFieldNames("INTEIRO");
  loaded.loadFromFile(path);
  EXPECT_EQ(loaded.fieldDefs(), saved.fieldDefs());
  EXPECT_EQ(snapshot(loaded), snapshot(saved));
  // Exact numbers and instants, not only their texts.
  loaded.locate("PEQUENO", Value{std::int64_t{-32768}});
  EXPECT_EQ(loaded.fieldByName("VALOR").asFloat(), 0.1 + 0.2);
  EXPECT_EQ(loaded.fieldByName("DATA").asDateTime(), at(9999, 12, 31, 23, 59, 59, 999));
  EXPECT_EQ(loaded.fieldByName("OBS").asText(), longText());
  EXPECT_EQ(loaded.fieldByName("PRECO").asDecimalUnits(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(loaded.recordCount(), 3u);
  EXPECT_EQ(loaded.recordNumber(), 3u) << "INTEIRO orders nulls first";
}

// Tables with much text are written in large pages; they read back the same.
TEST(TableFile, BigTablesRoundTripInLargePages) {
  ScratchFolder folder;
  Table table;
  table.setFieldDefs({{"NRO_ITEM", FieldKind::Int32, 0}, {"DES_ESPECIFICACAO", FieldKind::LongText, 0}});
  table.createEmpty();
  for (int i = 0; i < 3000; ++i) {
    table.append();
    table.fieldByName("NRO_ITEM").setInteger(i);
    table.fieldByName("DES_ESPECIFICACAO").setText(std::to_string(i) + std::string(500, 'e') + "\nção");
    table.post();
  }
  const auto path = folder.file("big.ZUL");
  table.saveToFile(path);
  Table loaded;
  loaded.loadFromFile(path);
  EXPECT_EQ(snapshot(loaded), snapshot(table));

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(stmt, 0), detail::format::kLargePageSize);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

TEST(TableFile, LoadOpensOnTheFirstRecordInIndexOrder) {
  ScratchFolder folder;
  Table saved;
  saved.setFieldDefs(test::itemDefs());
  saved.createEmpty();  // no index: kept in the order added
  test::appendItem(saved, 2, 1);
  test::appendItem(saved, 1, 2);
  test::appendItem(saved, 1, 1);
  saved.saveToFile(folder.file("t.ZUL"));

  Table loaded("CDS_Processo");
  loaded.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
  int scrolls = 0;
  loaded.addObserver([&](TableEvent e) { scrolls += e == TableEvent::AfterScroll; });
  loaded.loadFromFile(folder.file("t.ZUL"));
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(loaded.recordNumber(), 1u);
  EXPECT_EQ(test::viewKeys(loaded), (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {2, 1}}));
}

TEST(TableFile, SaveWritesEveryRecordWhateverTheFilter) {
  ScratchFolder folder;
  Table table("CDS_Processo");
  table.setFieldDefs(test::itemDefs());
  table.setIndexFieldNames("NRO_LOTE; NRO_ITEM");
  table.createEmpty();
  for (int lote = 1; lote <= 3; ++lote) {
    for (int item = 1; item <= 4; ++item) test::appendItem(table, lote, item);
  }
  table.setFilterText("NRO_LOTE = 2");
  table.setFiltered(true);
  ASSERT_EQ(table.recordCount(), 4u);
  table.saveToFile(folder.file("p.PRO"));
  EXPECT_EQ(table.recordCount(), 4u) << "the view is untouched";

  Table loaded;
  loaded.loadFromFile(folder.file("p.PRO"));
  EXPECT_EQ(loaded.recordCount(), 12u);
}

TEST(TableFile, LoadWritesNothingIntoOrBesideTheFile) {
  ScratchFolder folder;
  Table table;
  fillEveryKind(table);
  const auto path = folder.file("a ?b#c%d ção.ZUL");  // characters that mean something in URIs
  table.saveToFile(path);
  const std::string before = test::readBytes(path);
  ::chmod(path.c_str(), 0444);
  Table loaded;
  loaded.loadFromFile(path);
  EXPECT_EQ(loaded.recordCount(), 3u);
  EXPECT_EQ(test::readBytes(path), before);
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"a ?b#c%d ção.ZUL"});
}

TEST(TableFile, SaveReplacesAnExistingFile) {
  ScratchFolder folder;
  const auto path = folder.file("p.PRO");
  test::writeBytes(path, "old contents");
  ::chmod(path.c_str(), 0640);
  Table table;
  fillEveryKind(table);
  table.saveToFile(path);
  Table loaded;
  loaded.loadFromFile(path);
  EXPECT_EQ(loaded.recordCount(), 3u);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replacement keeps the file's permissions";
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"p.PRO"});
}

// A new file is as private as the user's umask asks for, like any new file.
TEST(TableFile, ANewFileFollowsTheUmask) {
  ScratchFolder folder;
  Table table;
  fillEveryKind(table);
  const mode_t previous = ::umask(077);
  table.saveToFile(folder.file("private.PRO"));
  ::umask(022);
  table.saveToFile(folder.file("shared.PRO"));
  ::umask(previous);
  struct stat info {};
  ASSERT_EQ(::stat(folder.file("private.PRO").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(folder.file("shared.PRO").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

// The program saves under a bare name, into the current folder.
TEST(TableFile, SavesAndLoadsABareNameInTheCurrentFolder) {
  ScratchFolder folder;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  Table table;
  fillEveryKind(table);
  EXPECT_NO_THROW(table.saveToFile("PL_000045_2012_12345678000195.PRO"));
  Table loaded;
  EXPECT_NO_THROW(loaded.loadFromFile("PL_000045_2012_12345678000195.PRO"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(loaded.recordCount(), 3u);
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"PL_000045_2012_12345678000195.PRO"});
}

TEST(TableFile, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
  ScratchFolder folder;
  const auto path = folder.file("p.PRO");
  Table table;
  fillEveryKind(table);
  table.saveToFile(path);
  const std::string old = test::readBytes(path);
  table.first();
  table.edit();
  table.fieldByName("NOME").setText("mudou");
  table.post();

  testing::failNextSaveAfterRows(1);
  EXPECT_THROW(table.saveToFile(path), TableError);
  EXPECT_EQ(test::readBytes(path), old);
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"p.PRO"});

  // The table itself is untouched and the next save works.
  table.saveToFile(path);
  Table loaded;
  loaded.setIndexFieldNames("INTEIRO");
  loaded.loadFromFile(path);
  EXPECT_EQ(snapshot(loaded), snapshot(table));
}

TEST(TableFile, SaveFailuresAreClearErrors) {
  ScratchFolder folder;
  Table table;
  EXPECT_THROW(table.saveToFile(folder.file("closed.PRO")), TableError) << "a closed table";
  fillEveryKind(table);
  std::filesystem::create_directory(folder.file("pasta"));
  // The error keeps the target and the system's error number, so that the
  // program can word the cause itself.
  const struct {
    std::filesystem::path target;
    int systemError;
  } cases[] = {
      {folder.file("sem/pasta/p.PRO"), ENOENT},  // the folder does not exist
      {folder.file("pasta"), EISDIR},            // the target is a folder
  };
  for (const auto& c : cases) {
    try {
      table.saveToFile(c.target);
      ADD_FAILURE() << "saved to " << c.target;
    } catch (const SaveError& e) {
      EXPECT_NE(std::string(e.what()).find(c.target.string()), std::string::npos) << e.what();
      EXPECT_EQ(e.path(), c.target.string());
      EXPECT_EQ(e.systemError(), c.systemError) << e.what();
    }
  }
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"pasta"});
  EXPECT_TRUE(std::filesystem::is_empty(folder.file("pasta")));
}

// ---- refusing files ----------------------------------------------------------

// Runs SQL against a saved table file, as a hand-made or damaged file would be.
void alter(const std::filesystem::path& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error != nullptr ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << sql << ": " << message;
}

struct BadFileCase {
  const char* name;
  std::string sql;  // applied to a sound file; empty for cases made by `bytes`
  std::string bytes = {};
  bool missing = false;
};

void PrintTo(const BadFileCase& c, std::ostream* out) { *out << c.name; }

std::vector<BadFileCase> badFileCases() {
  return {
      {"missing file", "", "", true},
      {"empty file", "", std::string()},
      {"text file", "", "NRO_LOTE;NRO_ITEM\n1;2\n"},
      {"SQLite header only", "", std::string("SQLite format 3\0", 16) + std::string(84, '\0')},
      {"no application id", "PRAGMA application_id=0"},
      {"another application", "PRAGMA application_id=1234"},
      {"newer format", "PRAGMA user_version=2"},
      {"records missing", "DROP TABLE records"},
      {"fields missing", "DROP TABLE fields"},
      {"records as a view",
       "DROP TABLE records; CREATE VIEW records AS SELECT 1 c1,2 c2,3 c3,4 c4,5 c5,6 c6,7 c7"},
      {"records as a virtual table",
       "DROP TABLE records; CREATE VIRTUAL TABLE records USING fts5(c1, c2, c3, c4, c5, c6, c7)"},
      {"a trigger", "CREATE TRIGGER t AFTER INSERT ON fields BEGIN DELETE FROM records; END"},
      {"a generated column",
       "ALTER TABLE records ADD COLUMN c8 INTEGER GENERATED ALWAYS AS (c2 + 1) VIRTUAL"},
      {"a column missing", "ALTER TABLE records DROP COLUMN c7"},
      {"no definitions", "DELETE FROM fields"},
      {"unknown kind", "UPDATE fields SET kind='money' WHERE position=1"},
      {"bad field name", "UPDATE fields SET name='A B' WHERE position=0"},
      {"repeated field name", "UPDATE fields SET name='nome' WHERE position=1"},
      {"gap in positions", "UPDATE fields SET position=9 WHERE position=6"},
      {"text size zero", "UPDATE fields SET size=0 WHERE position=0"},
      {"size on an integer", "UPDATE fields SET size=4 WHERE position=1"},
      {"size as text", "UPDATE fields SET size='dez' WHERE position=0"},
      {"text in int16", "UPDATE records SET c2='abc' WHERE rowid=1"},
      {"int16 out of range", "UPDATE records SET c2=40000 WHERE rowid=1"},
      {"int32 out of range", "UPDATE records SET c3=4294967296 WHERE rowid=1"},
      {"text too long", "UPDATE records SET c1='abcdefghijk' WHERE rowid=1"},
      {"text as blob", "UPDATE records SET c1=x'41' WHERE rowid=1"},
      {"invalid UTF-8", "UPDATE records SET c6=CAST(x'C328' AS TEXT) WHERE rowid=1"},
      {"number as text", "UPDATE records SET c4='1,5' WHERE rowid=1"},
      {"date out of range", "UPDATE records SET c5=-1 WHERE rowid=1"},
      {"date as real", "UPDATE records SET c5=1.5 WHERE rowid=1"},
      {"decimal as real", "UPDATE records SET c7=1.5 WHERE rowid=1"},
  };
}

class BadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadFile, IsRefusedWithOneClearErrorAndTheTableStaysClosed) {
  const BadFileCase& c = GetParam();
  ScratchFolder folder;
  const auto path = folder.file("PL_000001_2010.ZUL");
  if (!c.missing) {
    if (c.sql.empty()) {
      test::writeBytes(path, c.bytes);
    } else {
      Table sound;
      fillEveryKind(sound);
      sound.saveToFile(path);
      alter(path, c.sql);
    }
  }
  const std::string before = c.missing ? "" : test::readBytes(path);

  Table table("CDS_Processo");
  table.setFieldDefs({{"ANTES", FieldKind::Int16, 0}});
  try {
    table.loadFromFile(path);
    FAIL() << c.name << ": loaded";
  } catch (const TableError& e) {
    EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    RecordProperty("message", e.what());
  }
  EXPECT_FALSE(table.isOpen());
  EXPECT_EQ(table.fieldDefs().front().name, "ANTES") << "definitions before the load stay";
  if (!c.missing) {
    EXPECT_EQ(test::readBytes(path), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BadFile, ::testing::ValuesIn(badFileCases()), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
});

TEST(TableFile, AFolderIsNotATableFile) {
  ScratchFolder folder;
  Table table;
  EXPECT_THROW(table.loadFromFile(folder.path()), TableError);
}

// ---- memory ------------------------------------------------------------------

// A small table padded with zeros to 40 GB (sparse: no disk is used) needs
// the memory of its rows, not of its size.
TEST(TableFile, AFilePaddedWithZerosTakesMemoryForItsRowsOnly) {
  ScratchFolder folder;
  const auto path = folder.file("padded.ZUL");
  Table saved;
  fillEveryKind(saved);
  saved.saveToFile(path);
  std::filesystem::resize_file(path, std::uintmax_t{40} << 30);
  Table loaded;
  loaded.setIndexFieldNames("INTEIRO");
  ASSERT_NO_THROW(loaded.loadFromFile(path));
  EXPECT_EQ(snapshot(loaded), snapshot(saved));
}

// Memory running out while a file loads is the engine's error, not a
// std::bad_alloc that ends the program. A child process loads under an
// address-space limit too small for the file's 64 MB of text.
TEST(TableFile, RunningOutOfMemoryWhileLoadingIsATableError) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
#else
  ScratchFolder folder;
  const auto path = folder.file("big.ZUL");
  {
    Table table;
    table.setFieldDefs({{"NRO_ITEM", FieldKind::Int32, 0}, {"DES_ITEM", FieldKind::LongText, 0}});
    table.createEmpty();
    for (int i = 0; i < 64; ++i) {
      table.append();
      table.fieldByName("NRO_ITEM").setInteger(i);
      table.fieldByName("DES_ITEM").setText(std::string(1 << 20, 'x'));
      table.post();
    }
    table.saveToFile(path);
  }
  enum Outcome { kTableError = 10, kOtherError, kLoaded, kNoLimit };
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (rlim_t{24} << 20);
    const rlimit addressSpace{limit, limit};
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &addressSpace) != 0) ::_exit(kNoLimit);
    try {
      Table table;
      table.loadFromFile(path);
      ::_exit(kLoaded);
    } catch (const TableError& e) {
      const bool saysMemory = std::string(e.what()).find("memória") != std::string::npos;
      ::_exit(saysMemory ? kTableError : kOtherError);
    } catch (...) {
      ::_exit(kOtherError);
    }
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "the child was ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), kTableError);
#endif
}

}  // namespace
}  // namespace recordtable
