// The recovery record on its own: what it keeps across objects and keys, and
// a table of folders and files it may meet (missing, empty, damaged, of
// another program, not writable), none of which may stop it or lose the
// file it finds.
#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "RecoveryRecord.h"

namespace proposals_testing {
namespace {

using proposals::RecoveredItem;
using proposals::RecoveryKey;
using proposals::RecoveryRecord;
using proposals::RecoveryState;

RecoveredItem itemOf(std::int64_t lot, std::int64_t item, const char* brand, double quantity, double price) {
  return {lot, item, QString::fromUtf8(brand), quantity, price, quantity * price};
}

QDateTime at(int hour, int minute) { return QDateTime(QDate(2026, 3, 9), QTime(hour, minute)); }

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void runSql(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

TEST(RecoveryRecordTest, KeepsTheLatestProposalOfEachItemPerFileAndSupplierAcrossObjects) {
  QTemporaryDir scratch;
  const RecoveryKey key{QStringLiteral("/propostas/PL_000001_2010.ZUL"), QStringLiteral("12345678000195")};
  const RecoveryKey otherSupplier{key.file, QStringLiteral("11144477735")};
  const RecoveryKey otherFile{QStringLiteral("/propostas/PL_000014_2011.ZUL"), key.supplier};
  {
    RecoveryRecord record(scratch.path());
    ASSERT_EQ(record.open().state, RecoveryState::Ready);
    ASSERT_TRUE(record.save(key, itemOf(1, 2, "Medley", 3, 0.125), at(9, 10)));
    ASSERT_TRUE(record.save(key, itemOf(1, 1, "Cremer", 10, 2), at(9, 12)));
    // The same item again: the later values replace the earlier.
    ASSERT_TRUE(record.save(key, itemOf(1, 2, "Medley Genéricos", 4, 0.5), at(9, 11)));
    ASSERT_TRUE(record.save(otherSupplier, itemOf(1, 1, "Outra", 1, 1), at(10, 0)));
  }
  RecoveryRecord record(scratch.path());
  ASSERT_EQ(record.open().state, RecoveryState::Ready);
  const auto found = record.find(key);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->lastSaved, at(9, 12));
  ASSERT_EQ(found->items.size(), 2u);
  EXPECT_EQ(found->items[0].item, 1);
  EXPECT_EQ(found->items[0].brand, u"Cremer");
  EXPECT_EQ(found->items[1].item, 2);
  EXPECT_EQ(found->items[1].brand, u"Medley Genéricos");
  EXPECT_EQ(found->items[1].quantity, 4);
  EXPECT_EQ(found->items[1].price, 0.5);
  EXPECT_EQ(found->items[1].total, 2);
  EXPECT_FALSE(record.find(otherFile).has_value());

  ASSERT_TRUE(record.remove(key));
  EXPECT_FALSE(record.find(key).has_value());
  ASSERT_TRUE(record.find(otherSupplier).has_value());
  EXPECT_EQ(record.find(otherSupplier)->items[0].brand, u"Outra");
}

struct OpeningCase {
  const char* name;
  // Prepares the scratch folder; answers the folder the record is given.
  std::function<QString(const QString& scratch)> prepare;
  RecoveryState state;
  bool renamed;
};

const QString kName = RecoveryRecord::fileName();

QString withFile(const QString& scratch, const QByteArray& bytes) {
  writeFile(QDir(scratch).filePath(kName), bytes);
  return scratch;
}

// A record with one proposal, closed, then bytes of its first page
// overwritten: the table's page can no longer be read.
QString damagedRecord(const QString& scratch) {
  {
    RecoveryRecord record(scratch);
    record.open();
    record.save({QStringLiteral("/a.ZUL"), QStringLiteral("1")}, itemOf(1, 1, "x", 1, 1), at(8, 0));
  }
  QFile file(QDir(scratch).filePath(kName));
  if (file.open(QIODevice::ReadWrite)) {
    file.seek(100);
    file.write(QByteArray(200, '\xff'));
  }
  return scratch;
}

const OpeningCase kOpeningCases[] = {
    {"a missing folder is made",
     [](const QString& s) { return QDir(s).filePath(QStringLiteral("a/b/c")); }, RecoveryState::Ready, false},
    {"an empty file is taken as new", [](const QString& s) { return withFile(s, {}); }, RecoveryState::Ready, false},
    {"a text file", [](const QString& s) { return withFile(s, "isto não é um banco de dados\n"); },
     RecoveryState::Ready, true},
    {"a header of zeros", [](const QString& s) { return withFile(s, QByteArray(4096, '\0')); },
     RecoveryState::Ready, true},
    {"a damaged record", damagedRecord, RecoveryState::Ready, true},
    {"another program's SQLite database",
     [](const QString& s) {
       runSql(QDir(s).filePath(kName), "CREATE TABLE clientes (nome TEXT); INSERT INTO clientes VALUES ('Ana')");
       return s;
     },
     RecoveryState::Ready, true},
    {"this program's mark with another layout",
     [](const QString& s) {
       runSql(QDir(s).filePath(kName),
              "CREATE TABLE PROPOSTA (x); PRAGMA application_id=1263288662; PRAGMA user_version=7");
       return s;
     },
     RecoveryState::Ready, true},
    {"a damaged file with a journal beside it",
     [](const QString& s) {
       writeFile(QDir(s).filePath(kName + QStringLiteral("-wal")), QByteArray(64, 'w'));
       return withFile(s, "lixo");
     },
     RecoveryState::Ready, true},
    {"a folder that is a file",
     [](const QString& s) {
       writeFile(QDir(s).filePath(QStringLiteral("arquivo")), "x");
       return QDir(s).filePath(QStringLiteral("arquivo"));
     },
     RecoveryState::Unavailable, false},
    {"a folder where the file is a folder",
     [](const QString& s) {
       QDir(s).mkpath(kName);
       return s;
     },
     RecoveryState::Unavailable, false},
};

void PrintTo(const OpeningCase& c, std::ostream* os) { *os << c.name; }

class RecoveryOpeningTest : public ::testing::TestWithParam<OpeningCase> {};

TEST_P(RecoveryOpeningTest, NeverStopsAndNeverLosesTheFileItFinds) {
  QTemporaryDir scratch;
  const OpeningCase& c = GetParam();
  const QString folder = c.prepare(scratch.path());
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  const QString path = QDir(folder).filePath(kName);
  const QByteArray before = QFileInfo(path).isFile() ? bytesOf(path) : QByteArray();

  RecoveryRecord record(folder);
  const proposals::RecoveryOpening opening = record.open();
  EXPECT_EQ(opening.state, c.state);
  EXPECT_EQ(!opening.renamedTo.isEmpty(), c.renamed) << opening.renamedTo.toStdString();
  if (c.renamed) {
    // The old file lies beside the new one under the name reported, whole.
    EXPECT_TRUE(opening.renamedTo.startsWith(QStringLiteral("recuperacao-danificado-")));
    EXPECT_TRUE(opening.renamedTo.endsWith(QStringLiteral(".db")));
    EXPECT_EQ(bytesOf(QDir(folder).filePath(opening.renamedTo)), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")) &&
                 bytesOf(path + QStringLiteral("-wal")) == QByteArray(64, 'w'));
  }
  const RecoveryKey key{QStringLiteral("/b.ZUL"), QStringLiteral("2")};
  if (c.state == RecoveryState::Ready) {
    ASSERT_TRUE(record.save(key, itemOf(2, 3, "Marca", 5, 1.5), at(11, 30)));
    const auto found = record.find(key);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->items[0].total, 7.5);
  } else {
    EXPECT_FALSE(record.save(key, itemOf(2, 3, "Marca", 5, 1.5), at(11, 30)));
    EXPECT_FALSE(record.find(key).has_value());
    EXPECT_FALSE(record.remove(key));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, RecoveryOpeningTest, ::testing::ValuesIn(kOpeningCases),
                         [](const ::testing::TestParamInfo<OpeningCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

TEST(RecoveryRecordTest, AFolderWithoutWritePermissionLeavesTheRecordUnavailable) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  QTemporaryDir scratch;
  const QString folder = scratch.filePath(QStringLiteral("somente-leitura"));
  ASSERT_TRUE(QDir().mkpath(folder));
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
  RecoveryRecord record(folder);
  EXPECT_EQ(record.open().state, RecoveryState::Unavailable);
  EXPECT_FALSE(record.save({QStringLiteral("/c.ZUL"), QStringLiteral("3")}, itemOf(1, 1, "x", 1, 1), at(8, 0)));
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
}  // namespace proposals_testing
