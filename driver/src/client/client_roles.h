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

  // Statements and cursors.
  IfxStatement* (*findStatement)(const char* name, std::int32_t mode);
  void (*prepare)(const char* statementName, const char* sql);
  void (*describe)(IfxStatement* statement, IfxDescriptor** columns);
  void (*execute)(IfxStatement* statement, IfxDescriptor* parameters);
  void (*declareCursor)(const char* cursorName, IfxStatement* statement, std::int32_t options);
  void (*openCursor)(IfxStatement* cursor, IfxDescriptor* parameters);
  void (*fetch)(IfxStatement* cursor, IfxDescriptor* columns);
  void (*closeCursor)(IfxStatement* cursor);
  void (*free)(IfxStatement* handle);
  void (*freeDescriptor)(IfxDescriptor* area);

  // Value conversions.
  std::int32_t (*textToDecimal)(const char* text, std::int32_t length, IfxDecimal* value);
  std::int32_t (*decimalToText)(const IfxDecimal* value, char* buffer, std::int32_t length, std::int32_t right);
  std::int32_t (*textToDatetime)(const char* text, IfxDatetime* value);
  std::int32_t (*extendDatetime)(const IfxDatetime* in, IfxDatetime* out);
  std::int32_t (*datetimeToText)(const IfxDatetime* value, char* buffer, std::size_t size);
  std::int32_t (*dateToTriple)(std::int32_t date, std::int16_t mdy[3]);
  std::int32_t (*tripleToDate)(const std::int16_t mdy[3], std::int32_t* date);

  // Large objects.
  std::int32_t (*lobSpec)(IfxLobSpec** creation);
  std::int32_t (*lobSpecSetType)(IfxLobSpec* creation, std::int32_t extendedType);
  std::int32_t (*lobFreeSpec)(IfxLobSpec* creation);
  std::int32_t (*lobCreate)(IfxLobSpec* creation, std::int32_t mode, IfxLobHandle* handle);
  std::int32_t (*lobOpen)(const IfxLobHandle* handle, std::int32_t mode);
  std::int32_t (*lobWrite)(std::int32_t descriptor, const char* buffer, std::int32_t length);
  std::int32_t (*lobRead)(std::int32_t descriptor, char* buffer, std::int32_t length);
  std::int32_t (*lobStat)(std::int32_t descriptor, IfxLobStat* stat);
  std::int32_t (*lobSize)(const IfxLobStat* stat, std::int64_t* size);
  std::int32_t (*lobClose)(std::int32_t descriptor);

  // One-row queries and variable-length texts (the routine type lists).
  IfxValueArea* (*inputArea)(std::int32_t count);
  IfxValueArea* (*outputArea)(std::int32_t count);
  std::int32_t (*bindInput)(IfxValueArea* area, std::int32_t index, std::int32_t type, const void* data,
                            std::int32_t length);
  std::int32_t (*bindOutput)(IfxValueArea* area, std::int32_t index, std::int32_t type, void* place,
                             std::int32_t length, std::int16_t* indicator);
  void (*selectInto)(void* id, const char* sql, IfxValueArea* input, IfxValueArea* output);
  std::int32_t (*varTextNew)(IfxVarText** text);
  std::int32_t (*varTextFree)(IfxVarText* text);
  std::int32_t (*varTextIsNull)(const IfxVarText* text);
  const char* (*varTextData)(const IfxVarText* text);
  std::int32_t (*varTextLength)(const IfxVarText* text);
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
