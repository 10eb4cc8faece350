// Files left mid-write by another program: a hot rollback journal or a
// write-ahead log beside a table file means the file alone is not the table.
// The side files here are made by real SQLite writers that stop without
// finishing, as a crash would leave them.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "recordtable/table.h"
#include "test_support.h"

namespace recordtable {
namespace {

namespace fs = std::filesystem;
using test::ScratchFolder;

constexpr int kRecords = 1500;

// Enough text (about 190 pages) that a writer with a tiny page cache spills
// uncommitted pages into the file itself.
void fillItems(Table& table, int records, char letter) {
  table.setFieldDefs({{"NRO_ITEM", FieldKind::Int32, 0}, {"DES_ITEM", FieldKind::LongText, 0}});
  table.createEmpty();
  for (int i = 0; i < records; ++i) {
    table.append();
    table.fieldByName("NRO_ITEM").setInteger(i);
    table.fieldByName("DES_ITEM").setText(std::string(500, letter));
    table.post();
  }
}

void saveItems(const fs::path& path) {
  Table table;
  fillItems(table, kRecords, 'a');
  table.saveToFile(path);
}

// Runs `sql` on the file in a child process. With `crash` the child ends at
// once afterwards, closing nothing (what a writer that dies leaves behind);
// without, it closes the file as a finished writer does.
void write(const fs::path& path, const std::string& sql, bool crash) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) ::_exit(2);
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ::_exit(3);
    if (!crash && sqlite3_close(db) != SQLITE_OK) ::_exit(4);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << sql;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> folderContents(const ScratchFolder& folder) {
  std::map<std::string, std::string> contents;
  for (const std::string& name : folder.entries()) contents[name] = test::readBytes(folder.file(name));
  return contents;
}

constexpr const char* kSpillingUpdate =
    "PRAGMA cache_size=2; BEGIN; UPDATE records SET c1 = -c1, c2 = c2 || 'b';";

struct UnfinishedCase {
  const char* name;
  std::string sql;
  const char* sideFile;
};

void PrintTo(const UnfinishedCase& c, std::ostream* out) { *out << c.name; }

class UnfinishedWrite : public ::testing::TestWithParam<UnfinishedCase> {};

TEST_P(UnfinishedWrite, IsRefusedWithOneMessageAndNothingChanges) {
  const UnfinishedCase& c = GetParam();
  ScratchFolder folder;
  const fs::path path = folder.file("PL_000001_2010.ZUL");
  saveItems(path);
  const std::string saved = test::readBytes(path);
  write(path, c.sql, /*crash=*/true);
  ASSERT_TRUE(fs::exists(fs::path(path.string() + c.sideFile))) << "the writer left its side file";
  const auto before = folderContents(folder);

  Table table;
  try {
    table.loadFromFile(path);
    FAIL() << c.name << ": loaded";
  } catch (const TableError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("foi deixado inacabado por outro programa"), std::string::npos) << message;
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
  EXPECT_FALSE(table.isOpen());
  EXPECT_EQ(folderContents(folder), before) << "refusing touches nothing";
  if (std::string(c.sideFile) == "-journal") {
    EXPECT_NE(test::readBytes(path), saved) << "uncommitted pages reached the file: a torn mix";
  }
}

// Saving over such a file would leave the side file beside the new one: our
// next load would refuse it, and another SQLite program would replay the
// stale journal into it. The save is refused before anything is written,
// the table keeps even its pending edit, and once the side file is dealt
// with the same table saves.
TEST_P(UnfinishedWrite, SaveOverItIsRefusedAndNothingChanges) {
  const UnfinishedCase& c = GetParam();
  ScratchFolder folder;
  const fs::path path = folder.file("PL_000001_2010.ZUL");
  saveItems(path);
  write(path, c.sql, /*crash=*/true);
  const fs::path sideFile(path.string() + c.sideFile);
  ASSERT_TRUE(fs::exists(sideFile)) << "the writer left its side file";
  const auto before = folderContents(folder);

  Table table;
  fillItems(table, 3, 'z');
  table.last();
  table.edit();
  table.fieldByName("DES_ITEM").setText("pendente");
  try {
    table.saveToFile(path);
    FAIL() << c.name << ": saved";
  } catch (const TableError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("foi deixado inacabado por outro programa e não foi gravado"), std::string::npos)
        << message;
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_NE(message.find(sideFile.filename().string()), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
  EXPECT_EQ(folderContents(folder), before) << "no temporary file, no byte changed";
  EXPECT_EQ(table.state(), TableState::Editing) << "the pending edit was not posted";
  EXPECT_EQ(table.recordCount(), 3u);
  EXPECT_EQ(table.fieldByName("DES_ITEM").asText(), "pendente");

  table.cancel();
  fs::remove(sideFile);
  ASSERT_NO_THROW(table.saveToFile(path));
  Table reloaded;
  ASSERT_NO_THROW(reloaded.loadFromFile(path));
  EXPECT_EQ(reloaded.recordCount(), 3u);
  EXPECT_EQ(reloaded.fieldByName("DES_ITEM").asText(), std::string(500, 'z'));
}

INSTANTIATE_TEST_SUITE_P(
    Writers, UnfinishedWrite,
    ::testing::Values(
        UnfinishedCase{"RollbackJournalMidTransaction", kSpillingUpdate, "-journal"},
        UnfinishedCase{"WalWithCommittedRowsNotCheckpointed",
                       "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; UPDATE records SET c1 = -c1;",
                       "-wal"},
        UnfinishedCase{"WalMidTransaction", std::string("PRAGMA journal_mode=WAL; ") + kSpillingUpdate,
                       "-wal"}),
    [](const auto& info) { return std::string(info.param.name); });

// What finished writers leave is no reason to refuse: an empty journal, a
// journal whose header was zeroed on commit, a shared-memory index alone,
// and a file in WAL mode whose log was folded in on close. Each loads the
// committed rows.
struct FinishedWriter {
  const char* name;
  const char* sql;
  const char* leftBeside;  // what the writer leaves, "" for nothing
};

const FinishedWriter kFinishedWriters[] = {
    {"truncated journal", "PRAGMA journal_mode=TRUNCATE; UPDATE records SET c1 = -c1;", "-journal"},
    {"persisted journal", "PRAGMA journal_mode=PERSIST; UPDATE records SET c1 = -c1;", "-journal"},
    {"WAL mode, closed", "PRAGMA journal_mode=WAL; UPDATE records SET c1 = -c1;", ""},
};

// Saves the items as p.PRO in `folder` and lets the finished writer of `c`
// change them; the WAL case also gets a -shm alone beside the file.
void leaveFinishedWriterSideFiles(const ScratchFolder& folder, const FinishedWriter& c) {
  const fs::path path = folder.file("p.PRO");
  saveItems(path);
  write(path, c.sql, /*crash=*/false);
  std::vector<std::string> expected = {"p.PRO"};
  if (*c.leftBeside != '\0') expected.push_back(std::string("p.PRO") + c.leftBeside);
  ASSERT_EQ(folder.entries(), expected) << c.name;
  if (std::string(c.name) == "WAL mode, closed") {
    test::writeBytes(folder.file("p.PRO-shm"), std::string(32768, '\0'));  // a -shm alone
  }
}

TEST(UnfinishedWrite, FinishedWritersSideFilesLoad) {
  for (const FinishedWriter& c : kFinishedWriters) {
    ScratchFolder folder;
    const fs::path path = folder.file("p.PRO");
    leaveFinishedWriterSideFiles(folder, c);
    const auto before = folderContents(folder);

    Table table;
    table.setIndexFieldNames("NRO_ITEM");
    ASSERT_NO_THROW(table.loadFromFile(path)) << c.name;
    EXPECT_EQ(table.recordCount(), static_cast<std::size_t>(kRecords)) << c.name;
    EXPECT_EQ(table.fieldByName("NRO_ITEM").asInteger(), -(kRecords - 1)) << c.name << ": committed rows";
    EXPECT_EQ(folderContents(folder), before) << c.name;
  }
}

// Neither are they a reason to refuse a save: the new file replaces the
// old one and loads with the new rows, the side files left as they were.
TEST(UnfinishedWrite, SaveOverFinishedWritersSideFilesWorks) {
  for (const FinishedWriter& c : kFinishedWriters) {
    ScratchFolder folder;
    const fs::path path = folder.file("p.PRO");
    leaveFinishedWriterSideFiles(folder, c);
    auto sideFiles = folderContents(folder);
    sideFiles.erase("p.PRO");

    Table table;
    fillItems(table, 2, 'n');
    ASSERT_NO_THROW(table.saveToFile(path)) << c.name;
    auto after = folderContents(folder);
    after.erase("p.PRO");
    EXPECT_EQ(after, sideFiles) << c.name << ": no temporary file left, side files untouched";
    Table reloaded;
    ASSERT_NO_THROW(reloaded.loadFromFile(path)) << c.name;
    EXPECT_EQ(reloaded.recordCount(), 2u) << c.name;
    EXPECT_EQ(reloaded.fieldByName("DES_ITEM").asText(), std::string(500, 'n')) << c.name;
  }
}

// SQLite keeps the side files of a link beside the file the link leads to.
TEST(UnfinishedWrite, IsFoundBesideTheFileALinkLeadsTo) {
  ScratchFolder folder;
  fs::create_directory(folder.file("real"));
  const fs::path target = folder.file("real") / "p.PRO";
  saveItems(target);
  write(target, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; UPDATE records SET c1 = -c1;",
        /*crash=*/true);
  fs::create_symlink(target, folder.file("link.PRO"));
  Table table;
  try {
    table.loadFromFile(folder.file("link.PRO"));
    FAIL() << "loaded the rows of before the log";
  } catch (const TableError& e) {
    EXPECT_NE(std::string(e.what()).find("p.PRO-wal"), std::string::npos) << e.what();
  }
  const std::string targetBytes = test::readBytes(target);
  fillItems(table, 1, 'l');
  try {
    table.saveToFile(folder.file("link.PRO"));
    FAIL() << "saved over the link";
  } catch (const TableError& e) {
    EXPECT_NE(std::string(e.what()).find("p.PRO-wal"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(fs::is_symlink(folder.file("link.PRO"))) << "the link was not replaced";
  EXPECT_EQ(test::readBytes(target), targetBytes);
}

}  // namespace
}  // namespace recordtable
