#include "test_databases.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstring>

void RuntimeTest::SetUp() {
  ifxrtReset();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  folder_ = std::filesystem::temp_directory_path() / ("ifxrt-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
}

void RuntimeTest::TearDown() {
  ifxrtReset();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string RuntimeTest::pathOf(const std::string& fileName) const { return (folder_ / fileName).string(); }

std::string RuntimeTest::createDatabase(const std::string& fileName, IfxLogging logging) {
  const std::string path = pathOf(fileName);
  EXPECT_EQ(ifxrtCreateDatabase(path.c_str(), logging), 0);
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  return path;
}

int32_t RuntimeTest::connect(const std::string& target, const char* name, const char* user, const char* password) {
  IfxLogin* login = clientMakeLogin(user, password);
  EXPECT_NE(login, nullptr);
  clientConnect(target.c_str(), name, login);
  const int32_t status = clientStatusCode();
  clientFreeLogin(login);
  EXPECT_EQ(clientStatusCode(), status) << "freeing the login must keep the connect status";
  return status;
}

int32_t RuntimeTest::execute(const char* sql) {
  clientExecuteText(sql);
  return clientStatusCode();
}

int64_t committedRows(const std::string& path, const char* table) {
  sqlite3* db = nullptr;
  int64_t rows = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    const std::string sql = std::string("SELECT count(*) FROM ") + table;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) == SQLITE_OK && sqlite3_step(query) == SQLITE_ROW) {
      rows = sqlite3_column_int64(query, 0);
    }
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return rows;
}

int32_t areaInt(size_t offset) {
  int32_t value = 0;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(clientStatusArea()) + offset, sizeof value);
  return value;
}

char areaByte(size_t offset) { return reinterpret_cast<const char*>(clientStatusArea())[offset]; }

std::string areaArgument() { return reinterpret_cast<const char*>(clientStatusArea()) + 4; }
