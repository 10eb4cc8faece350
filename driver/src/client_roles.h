// The one table through which the driver reaches the Informix client runtime.
//
// Every runtime operation the driver uses has one entry here, named by its
// role. The table is bound to the client runtime library when the driver
// library loads (constant initialisation, no code runs). Only the client
// access layer (client_connection, client_statement, client_error) reads it;
// tests may bind another table, for example one that records the calls and
// forwards them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ifxrt/client.h"

namespace quovex::inf {

struct ClientRoles {
  std::int32_t (*statusCode)();
  IfxStatusArea* (*statusArea)();
  IfxLogin* (*makeLogin)(const char* user, const char* password);
  void (*freeLogin)(IfxLogin* login);
  void (*connect)(const char* target, const char* connectionName, const IfxLogin* login);
  void (*setConnection)(const char* connectionName);
  void (*disconnect)(const char* connectionName);
  void (*beginWork)();
  void (*commitWork)();
  void (*rollbackWork)();
  void (*executeText)(const char* sql);
  void (*clearBuffer)(void* id, std::size_t length);
  void (*executeFixed)(void* id, const char* sql);
  std::int32_t (*messageText)(std::int32_t code, char* buffer, std::size_t size, std::size_t* length);
};

// The table bound when the library loaded: the client runtime's functions.
const ClientRoles& runtimeClientRoles();

// The table in use.
const ClientRoles& clientRoles();

// Makes `roles` the table in use (tests). The table is copied.
void bindClientRoles(const ClientRoles& roles);

}  // namespace quovex::inf

namespace quovex::inf {

// Start-up and shut-down steps of the client library, run when the entry
// point hands out a driver and when the driver goes away. The runtime needs
// neither: both succeed and do nothing.
std::int32_t startClientLibrary(const char* first, const char* second);
void stopClientLibrary();

}  // namespace quovex::inf
