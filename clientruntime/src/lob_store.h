// Large objects (BLOB, CLOB) kept in their database, and the objects open in
// the process.
//
// An object is a row of ifxrt_lobs (id INTEGER PRIMARY KEY, kind INTEGER
// NOT NULL, data BLOB NOT NULL) in the database it was created in; a BLOB or
// CLOB column holds the id. A handle names the object by id and the SQLite
// connection and file it lives in. Opening loads the data; what is written
// is stored back when the object is closed.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "ifxrt/client.h"
#include "status.h"

struct sqlite3;

namespace ifxrt {

class Database;

inline constexpr const char* kLobTable = "ifxrt_lobs";

// Handle contents, as written into IfxLobHandle.
struct LobName {
  int64_t id = 0;
  uint64_t connection = 0;  // the sqlite3 handle's address
  uint64_t file = 0;        // hash of the database file name
  int32_t kind = IFX_XID_BLOB;
};

void writeLobHandle(const LobName& name, IfxLobHandle& handle);
bool readLobHandle(const IfxLobHandle& handle, LobName& name);
LobName lobNameFor(sqlite3* db, int64_t id, int32_t kind);
// True when `name` belongs to the database open on `db`.
bool lobBelongsTo(const LobName& name, sqlite3* db);

// Creates an empty object in `database`; its id in `id`.
Status createLob(Database& database, int32_t kind, int64_t& id);

class LobTable {
 public:
  // Opens an object of `database`: a descriptor >= 0, or a negative code.
  int32_t open(Database& database, const LobName& name, int32_t mode);
  int32_t write(int32_t descriptor, const char* buffer, int32_t length);
  int32_t read(int32_t descriptor, char* buffer, int32_t length);
  int32_t stat(int32_t descriptor, IfxLobStat& stat) const;
  // Stores what was written (on the current connection `database`, which
  // may be null when it is gone) and forgets the descriptor.
  int32_t close(int32_t descriptor, Database* database);
  void clear() { open_.clear(); }

 private:
  struct OpenLob {
    sqlite3* db;
    int64_t id;
    int32_t kind;
    int32_t mode;
    std::string data;
    size_t position = 0;
    bool dirty = false;
  };
  std::map<int32_t, OpenLob> open_;
  int32_t next_ = 0;
};

}  // namespace ifxrt
