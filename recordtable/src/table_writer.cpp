// Saving a table file: a temporary file beside the target, filled in one
// transaction, synced, then renamed over the target; the folder is synced
// so that the rename itself is durable. A crash leaves the old file or the
// new one, never a mix.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "messages.h"
#include "sqlite_handle.h"
#include "table_file.h"
#include "table_file_format.h"
#include "testing_hooks.h"

namespace recordtable {
namespace {
std::atomic<long> g_failAfterRows{-1};
}  // namespace

namespace testing {
void failNextSaveAfterRows(long rows) { g_failAfterRows.store(rows); }
}  // namespace testing

namespace detail {
namespace {

namespace fs = std::filesystem;

// The operating system's error behind a failed SQLite call: the one SQLite
// recorded, or else the closest one to its result code.
int systemErrorOf(sqlite3* db, int code) {
  if (db != nullptr) {
    if (const int recorded = sqlite3_system_errno(db); recorded != 0) return recorded;
  }
  switch (code & 0xFF) {
    case SQLITE_FULL: return ENOSPC;
    case SQLITE_PERM: return EACCES;
    case SQLITE_READONLY: return EROFS;
    case SQLITE_IOERR: return EIO;
    case SQLITE_NOMEM: return ENOMEM;
    default: return 0;
  }
}

class SaveFault {
 public:
  explicit SaveFault(const fs::path& target) : path_(target.string()), target_(inQuotes(path_)) {}
  [[noreturn]] void fail(const std::string& reason, int systemError = 0) const {
    throw SaveError("Não foi possível gravar o arquivo " + target_ + ": " + reason + ".", path_, systemError);
  }
  [[noreturn]] void system(const char* what) const {
    const int systemError = errno;
    fail(std::string(what) + ": " + std::strerror(systemError), systemError);
  }
  [[noreturn]] void sqlite(sqlite3* db, int code) const { fail(sqliteReason(db, code), systemErrorOf(db, code)); }

 private:
  std::string path_;
  std::string target_;
};

// Six random characters for a temporary file's name.
std::string randomSuffix() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::string suffix(6, ' ');
  for (char& c : suffix) c = kChars[generator() % (sizeof kChars - 1)];
  return suffix;
}

// The temporary file: created exclusively beside the target, removed again
// unless it has been renamed into place.
class TemporaryFile {
 public:
  TemporaryFile(const fs::path& target, const SaveFault& fault) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string leaf(1, '.');
    leaf += target.filename().string();
    leaf += ".tmp-";
    const std::string stem = (folder / leaf).string();
    // Mode 0666 as for any new file, so that the umask (and a folder's
    // default ACL) decide who may read a new table file.
    for (int attempt = 1; fd_ < 0; ++attempt) {
      path_ = stem + randomSuffix();
      fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && (errno != EEXIST || attempt == 100)) {
        fault.system("o arquivo temporário não pôde ser criado");
      }
    }
    // A replacement is as readable as the file it replaces.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return path_; }
  void syncAndClose(const SaveFault& fault) {
    if (::fsync(fd_) != 0) fault.system("o arquivo temporário não pôde ser sincronizado");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fault.system("o arquivo temporário não pôde ser fechado");
  }
  void renameTo(const fs::path& target, const SaveFault& fault) {
    if (::rename(path_.c_str(), target.c_str()) != 0) fault.system("a substituição falhou");
    renamed_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool renamed_ = false;
};

void exec(sqlite3* db, const std::string& sql, const SaveFault& fault) {
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fault.sqlite(db, rc);
}

void prepare(sqlite3* db, const std::string& sql, Statement& stmt, const SaveFault& fault) {
  const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), stmt.out(),
                                    nullptr);
  if (rc != SQLITE_OK) fault.sqlite(db, rc);
}

void runOnce(sqlite3* db, Statement& stmt, const SaveFault& fault) {
  const int rc = sqlite3_step(stmt.get());
  if (rc != SQLITE_DONE) fault.sqlite(db, rc);
  sqlite3_reset(stmt.get());
  sqlite3_clear_bindings(stmt.get());
}

void createTables(sqlite3* db, const std::vector<FieldDef>& defs, const SaveFault& fault) {
  exec(db, format::kCreateFields, fault);
  std::string sql = "CREATE TABLE ";
  sql += format::kRecordsTable;
  sql += "(";
  for (std::size_t i = 0; i < defs.size(); ++i) {
    if (i != 0) sql += ", ";
    sql += format::recordColumnName(i) + " " + format::declaredType(defs[i].kind);
  }
  sql += ")";
  exec(db, sql, fault);
}

void writeFieldDefs(sqlite3* db, const std::vector<FieldDef>& defs, const SaveFault& fault) {
  Statement insert;
  prepare(db, format::kInsertField, insert, fault);
  for (std::size_t i = 0; i < defs.size(); ++i) {
    sqlite3_stmt* s = insert.get();
    const std::string_view kind = kindName(defs[i].kind);
    sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(i));
    sqlite3_bind_text(s, 2, defs[i].name.data(), static_cast<int>(defs[i].name.size()), SQLITE_STATIC);
    sqlite3_bind_text(s, 3, kind.data(), static_cast<int>(kind.size()), SQLITE_STATIC);
    sqlite3_bind_int64(s, 4, defs[i].size);
    runOnce(db, insert, fault);
  }
}

void bindCell(sqlite3_stmt* s, int column, FieldKind kind, const Cell& cell, const TextArena& arena) {
  if (cell.null) {
    sqlite3_bind_null(s, column);
    return;
  }
  switch (kind) {
    case FieldKind::Text:
    case FieldKind::LongText: {
      // An empty text is bound from "" : a null pointer would store NULL.
      const std::string_view text = arena.view(cell);
      sqlite3_bind_text64(s, column, text.empty() ? "" : text.data(), text.size(), SQLITE_STATIC,
                          SQLITE_UTF8);
      break;
    }
    case FieldKind::Float:
      sqlite3_bind_double(s, column, cell.number);
      break;
    default:
      sqlite3_bind_int64(s, column, cell.integer);
      break;
  }
}

void writeRecords(sqlite3* db, const TableSnapshot& table, const SaveFault& fault) {
  const std::size_t fieldCount = table.defs.size();
  std::string sql = "INSERT INTO ";
  sql += format::kRecordsTable;
  sql += " VALUES(";
  for (std::size_t i = 0; i < fieldCount; ++i) sql += i == 0 ? "?" : ", ?";
  sql += ")";
  Statement insert;
  prepare(db, sql, insert, fault);
  const long failAfter = g_failAfterRows.exchange(-1);
  long written = 0;
  std::vector<Cell> cells(fieldCount);
  for (std::uint32_t record : table.order) {
    if (failAfter >= 0 && written == failAfter) fault.fail("falha simulada de gravação");
    table.records.copyRecord(record, cells.data());
    for (std::size_t f = 0; f < fieldCount; ++f) {
      bindCell(insert.get(), static_cast<int>(f + 1), table.defs[f].kind, cells[f], table.arena);
    }
    runOnce(db, insert, fault);
    ++written;
  }
}

void fillDatabase(const std::string& file, const TableSnapshot& table, const SaveFault& fault) {
  Database db;
  const int rc = sqlite3_open_v2(file.c_str(), db.out(), SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) fault.sqlite(db.get(), rc);
  sqlite3* h = db.get();
  sqlite3_extended_result_codes(h, 1);
  // The temporary file is discarded on any failure, so it needs no journal;
  // it is synced as a whole once SQLite has closed it.
  const int pageSize = table.arena.size() >= format::kLargePageFromTextBytes ? format::kLargePageSize
                                                                           : format::kSmallPageSize;
  exec(h, "PRAGMA page_size=" + std::to_string(pageSize), fault);
  exec(h, "PRAGMA journal_mode=OFF", fault);
  exec(h, "PRAGMA synchronous=OFF", fault);
  exec(h, "PRAGMA application_id=" + std::to_string(format::kApplicationId), fault);
  exec(h, "PRAGMA user_version=" + std::to_string(format::kFormatVersion), fault);
  exec(h, "BEGIN", fault);
  createTables(h, table.defs, fault);
  writeFieldDefs(h, table.defs, fault);
  writeRecords(h, table, fault);
  exec(h, "COMMIT", fault);
  const int closeRc = db.close();
  if (closeRc != SQLITE_OK) fault.sqlite(nullptr, closeRc);
}

void syncFolder(const fs::path& target, const SaveFault& fault) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) fault.system("a pasta não pôde ser sincronizada");
  const int rc = ::fsync(fd);
  const int savedErrno = errno;
  ::close(fd);
  // Some file systems cannot sync folders (EINVAL); the rename is done then.
  if (rc != 0 && savedErrno != EINVAL) {
    errno = savedErrno;
    fault.system("a pasta não pôde ser sincronizada");
  }
}

}  // namespace

void writeTableFile(const fs::path& path, const TableSnapshot& table) {
  const SaveFault fault(path);
  std::error_code ec;
  if (fs::is_directory(path, ec)) fault.fail("o caminho é uma pasta", EISDIR);
  TemporaryFile temporary(path, fault);
  fillDatabase(temporary.path(), table, fault);
  temporary.syncAndClose(fault);
  temporary.renameTo(path, fault);
  syncFolder(path, fault);
}

}  // namespace detail
}  // namespace recordtable
