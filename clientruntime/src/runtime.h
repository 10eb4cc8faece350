// The process-wide state of the runtime: one status area, the open named
// connections and the test controls. Callers serialise all calls (client.h).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "database.h"
#include "fault_table.h"
#include "ifxrt/client.h"
#include "lob_store.h"
#include "prepared_statements.h"
#include "statement_log.h"

namespace ifxrt {

// Named connections and which one is current. Owns the databases.
class ConnectionRegistry {
 public:
  bool contains(const std::string& name) const { return open_.count(name) != 0; }
  // Adds the connection and makes it current.
  void add(const std::string& name, std::unique_ptr<Database> database);
  // False when no connection has that name.
  bool makeCurrent(const std::string& name);
  // Closes the connection (rolling back its open transaction); the current
  // connection is then none when it was this one. False for an unknown name.
  bool close(const std::string& name);
  void closeAll();

  // Null when there is no current connection.
  Database* current();
  // Empty when there is no current connection.
  const std::string& currentName() const { return current_; }

 private:
  std::map<std::string, std::unique_ptr<Database>> open_;
  std::string current_;
};

struct Runtime {
  IfxStatusArea status{};
  ConnectionRegistry connections;
  FaultTable faults;
  StatementLog statements;
  // Prepared statements and cursors by name, and the large objects open.
  StatementTable prepared;
  LobTable lobs;
};

// The one runtime of the process, built on first use.
Runtime& runtime();

}  // namespace ifxrt
