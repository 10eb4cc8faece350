#include "lob_store.h"

#include <sqlite3.h>

#include <climits>
#include <cstring>

#include "database.h"
#include "sqlite_errors.h"
#include "sqlite_statement.h"
#include "status_codes.h"
#include "transactions.h"

namespace ifxrt {
namespace {

constexpr char kMagic[8] = {'I', 'F', 'X', 'R', 'T', 'L', 'O', '1'};

uint64_t fileHash(sqlite3* db) {
  const char* file = sqlite3_db_filename(db, "main");
  uint64_t hash = 1469598103934665603ULL;  // FNV-1a
  for (const char* c = file != nullptr ? file : ""; *c != '\0'; ++c) {
    hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ULL;
  }
  return hash;
}

Status ensureTable(sqlite3* db) {
  const std::string sql = std::string("CREATE TABLE IF NOT EXISTS ") + kLobTable +
                          " (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, data BLOB NOT NULL)";
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? Status::ok() : statusFromSqlite(db, rc);
}

bool canWrite(int32_t mode) { return (mode & (IFX_LO_RDWR | IFX_LO_WRONLY | IFX_LO_APPEND)) != 0; }
bool canRead(int32_t mode) { return (mode & (IFX_LO_RDWR | IFX_LO_RDONLY)) != 0 || mode == 0; }

}  // namespace

void writeLobHandle(const LobName& name, IfxLobHandle& handle) {
  std::memset(&handle, 0, sizeof handle);
  char* at = handle.bytes;
  std::memcpy(at, kMagic, sizeof kMagic);
  std::memcpy(at + 8, &name.id, sizeof name.id);
  std::memcpy(at + 16, &name.connection, sizeof name.connection);
  std::memcpy(at + 24, &name.file, sizeof name.file);
  std::memcpy(at + 32, &name.kind, sizeof name.kind);
}

bool readLobHandle(const IfxLobHandle& handle, LobName& name) {
  if (std::memcmp(handle.bytes, kMagic, sizeof kMagic) != 0) return false;
  std::memcpy(&name.id, handle.bytes + 8, sizeof name.id);
  std::memcpy(&name.connection, handle.bytes + 16, sizeof name.connection);
  std::memcpy(&name.file, handle.bytes + 24, sizeof name.file);
  std::memcpy(&name.kind, handle.bytes + 32, sizeof name.kind);
  return name.kind == IFX_XID_BLOB || name.kind == IFX_XID_CLOB;
}

LobName lobNameFor(sqlite3* db, int64_t id, int32_t kind) {
  return LobName{id, reinterpret_cast<uint64_t>(db), fileHash(db), kind};
}

bool lobBelongsTo(const LobName& name, sqlite3* db) {
  return name.connection == reinterpret_cast<uint64_t>(db) && name.file == fileHash(db);
}

Status createLob(Database& database, int32_t kind, int64_t& id) {
  Status status = beginImplicitTransaction(database);
  if (status.failed()) return status;
  sqlite3* db = database.handle();
  status = ensureTable(db);
  if (status.failed()) return status;
  SqliteStatement insert;
  int rc = insert.prepare(db, std::string("INSERT INTO ") + kLobTable + " (kind, data) VALUES (?1, x'')");
  if (rc == SQLITE_OK) rc = sqlite3_bind_int(insert.get(), 1, kind);
  if (rc == SQLITE_OK) rc = sqlite3_step(insert.get());
  if (rc != SQLITE_DONE) return statusFromSqlite(db, rc);
  id = sqlite3_last_insert_rowid(db);
  return Status::ok();
}

int32_t LobTable::open(Database& database, const LobName& name, int32_t mode) {
  sqlite3* db = database.handle();
  if (!lobBelongsTo(name, db)) return code::kLobNotFound;
  SqliteStatement query;
  int rc = query.prepare(db, std::string("SELECT data FROM ") + kLobTable + " WHERE id = ?1");
  if (rc != SQLITE_OK) return code::kLobNotFound;  // no table: no object
  rc = sqlite3_bind_int64(query.get(), 1, name.id);
  if (rc == SQLITE_OK) rc = sqlite3_step(query.get());
  if (rc == SQLITE_DONE) return code::kLobNotFound;
  if (rc != SQLITE_ROW) return statusFromSqlite(db, rc).code;
  if (next_ == INT32_MAX) next_ = 0;
  const int32_t descriptor = next_++;
  OpenLob& lob = open_[descriptor];
  lob = OpenLob{db, name.id, name.kind, mode, {}, 0, false};
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(query.get(), 0));
  lob.data.assign(bytes != nullptr ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(query.get(), 0)));
  if ((mode & IFX_LO_APPEND) != 0) lob.position = lob.data.size();
  return descriptor;
}

int32_t LobTable::write(int32_t descriptor, const char* buffer, int32_t length) {
  const auto found = open_.find(descriptor);
  if (found == open_.end() || length < 0 || (buffer == nullptr && length > 0)) return code::kLobBadDescriptor;
  OpenLob& lob = found->second;
  if (!canWrite(lob.mode)) return code::kLobWrongMode;
  if ((lob.mode & IFX_LO_APPEND) != 0) lob.position = lob.data.size();
  if (lob.data.size() < lob.position + static_cast<size_t>(length)) lob.data.resize(lob.position + static_cast<size_t>(length));
  if (length > 0) std::memcpy(&lob.data[lob.position], buffer, static_cast<size_t>(length));
  lob.position += static_cast<size_t>(length);
  lob.dirty = true;
  return length;
}

int32_t LobTable::read(int32_t descriptor, char* buffer, int32_t length) {
  const auto found = open_.find(descriptor);
  if (found == open_.end() || length < 0 || (buffer == nullptr && length > 0)) return code::kLobBadDescriptor;
  OpenLob& lob = found->second;
  if (!canRead(lob.mode)) return code::kLobWrongMode;
  const size_t left = lob.position < lob.data.size() ? lob.data.size() - lob.position : 0;
  const size_t count = left < static_cast<size_t>(length) ? left : static_cast<size_t>(length);
  if (count > 0) std::memcpy(buffer, lob.data.data() + lob.position, count);
  lob.position += count;
  return static_cast<int32_t>(count);
}

int32_t LobTable::stat(int32_t descriptor, IfxLobStat& stat) const {
  const auto found = open_.find(descriptor);
  if (found == open_.end()) return code::kLobBadDescriptor;
  stat = IfxLobStat{static_cast<int64_t>(found->second.data.size()), found->second.kind, 0};
  return 0;
}

int32_t LobTable::close(int32_t descriptor, Database* database) {
  const auto found = open_.find(descriptor);
  if (found == open_.end()) return code::kLobBadDescriptor;
  const OpenLob lob = std::move(found->second);
  open_.erase(found);
  if (!lob.dirty) return 0;
  if (database == nullptr || database->handle() != lob.db) return code::kConnectionDoesNotExist;
  if (lob.data.size() > static_cast<size_t>(INT_MAX)) return code::kLobBadDescriptor;
  Status status = beginImplicitTransaction(*database);
  if (status.failed()) return status.code;
  SqliteStatement update;
  int rc = update.prepare(lob.db, std::string("UPDATE ") + kLobTable + " SET data = ?1 WHERE id = ?2");
  if (rc == SQLITE_OK) {
    rc = sqlite3_bind_blob(update.get(), 1, lob.data.data(), static_cast<int>(lob.data.size()), SQLITE_STATIC);
  }
  if (rc == SQLITE_OK) rc = sqlite3_bind_int64(update.get(), 2, lob.id);
  if (rc == SQLITE_OK) rc = sqlite3_step(update.get());
  if (rc != SQLITE_DONE) return statusFromSqlite(lob.db, rc).code;
  return 0;
}

}  // namespace ifxrt
