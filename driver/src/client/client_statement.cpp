#include "client_statement.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "client_connection.h"
#include "client_names.h"
#include "client_roles.h"
#include "client_types.h"
#include "client_values.h"
#include "statement_text.h"

namespace quovex::inf {
namespace {

constexpr std::int32_t kStatusNoMoreRows = 100;
constexpr std::int32_t kStatusValueCut = -451;
constexpr std::int32_t kStatusHostVariableCount = -254;
constexpr std::int32_t kCursorOption = 4096;
constexpr std::int32_t kLobOpenReadWrite = 2;
constexpr std::int32_t kLobOpenReadOnly = 4;
constexpr std::int32_t kLobHandleLength = 72;

std::int32_t takeStatus(ClientStatement& statement) {
  return noteStatus(statement, clientRoles().statusCode());
}

ResultCode resultOfStatus(std::int32_t status) { return status == 0 ? RESULT_OK : RESULT_CLIENT_ERROR; }

void trace(ClientStatement& statement, const char* message) { traceClientStep(*statement.connection, message); }

// Makes the statement's connection current (traced as "ESQL/C SetConnect").
ResultCode makeCurrent(ClientStatement& statement) {
  trace(statement, "ESQL/C SetConnect");
  const ClientConnection& connection = *statement.connection;
  clientRoles().setConnection(connection.name ? connection.name.get() : "");
  return resultOfStatus(takeStatus(statement));
}

IfxStatement* findCursor(const ClientStatement& statement) {
  return clientRoles().findStatement(statement.cursorName.c_str(), IFX_FIND_CURSOR);
}

IfxStatement* findPrepared(const ClientStatement& statement) {
  return clientRoles().findStatement(statement.statementName.c_str(), IFX_FIND_STATEMENT);
}

IfxDescriptorEntry& columnEntry(ClientStatement& statement, std::uint16_t index) {
  return statement.columnArea->entries[index];
}

// Puts every column entry back as described, so a later execute binds anew.
void restoreColumnEntries(ClientStatement& statement) {
  if (!statement.columnArea) return;
  for (std::uint16_t i = 0; i < statement.columnCount; ++i) {
    IfxDescriptorEntry& entry = columnEntry(statement, i);
    entry.type = static_cast<std::int16_t>(entry.sourceType);
    entry.length = entry.sourceLength;
    entry.data = nullptr;
    entry.indicator = nullptr;
  }
}

// Frees what locators hold from the last fetch; the locators stay for the next bind.
void freeFetchedBlobs(ClientStatement& statement) {
  for (ColumnPlace& place : statement.columnPlaces) place.locator.reset();
}

void closeCursor(ClientStatement& statement) {
  restoreColumnEntries(statement);
  trace(statement, "ESQL/C Close Cursor");
  clientRoles().closeCursor(findCursor(statement));
  trace(statement, "ESQL/C Free Cursor");
  clientRoles().free(findCursor(statement));
  statement.cursorOpen = false;
  statement.openCursor = nullptr;
  freeFetchedBlobs(statement);
}

// Drops the driver's copy of what describing and preparing made.
void dropAreas(ClientStatement& statement) {
  statement.columnArea.reset();
  statement.columnPlaces.clear();
  statement.parameterArea = nullptr;
  statement.parameterBlock.reset();
  statement.parameterPlaces.clear();
  statement.columnCount = 0;
  statement.kind = 0;
}

// Frees the runtime's statement and cursor and the driver's areas.
void releasePrepared(ClientStatement& statement) {
  if (statement.cursorOpen) closeCursor(statement);
  if (statement.prepared) {
    trace(statement, "ESQL/C Free Statement");
    clientRoles().free(findPrepared(statement));
    statement.prepared = false;
  }
  dropAreas(statement);
}

ResultCode makeParameterArea(ClientStatement& statement, std::size_t markers) {
  if (markers > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) return RESULT_CLIENT_ERROR;
  statement.parameterBlock.reset(new (std::nothrow) unsigned char[IFX_DESCRIPTOR_SIZE(markers)]());
  if (!statement.parameterBlock) return RESULT_CLIENT_NO_MEMORY;
  try {
    statement.parameterPlaces.resize(markers);
  } catch (const std::bad_alloc&) {
    statement.parameterBlock.reset();
    return RESULT_CLIENT_NO_MEMORY;
  }
  auto* area = reinterpret_cast<IfxDescriptor*>(statement.parameterBlock.get());
  area->count = static_cast<std::int16_t>(markers);
  area->entries = reinterpret_cast<IfxDescriptorEntry*>(statement.parameterBlock.get() + sizeof(IfxDescriptor));
  statement.parameterArea = area;
  return RESULT_OK;
}

// Describes the prepared statement: kind, column area and parameter area.
ResultCode describePrepared(ClientStatement& statement) {
  trace(statement, "ESQL/C Describe Statement");
  IfxDescriptor* columns = nullptr;
  clientRoles().describe(findPrepared(statement), &columns);
  statement.columnArea.reset(columns);
  const std::int32_t status = clientRoles().statusCode();
  statement.kind = status;
  noteStatus(statement, status < 0 ? status : 0);
  if (status < 0) return RESULT_CLIENT_ERROR;
  if ((status == IFX_KIND_SELECT || status == IFX_KIND_EXECUTE_PROCEDURE) && columns != nullptr &&
      columns->count > 0) {
    statement.columnCount = static_cast<std::uint16_t>(columns->count);
    try {
      statement.columnPlaces.resize(statement.columnCount);
    } catch (const std::bad_alloc&) {
      return RESULT_CLIENT_NO_MEMORY;
    }
  }
  return makeParameterArea(statement, countParameterMarkers(statement.text.c_str()));
}

// Length placed in a parameter's descriptor entry.
std::int32_t parameterEntryLength(std::uint16_t clientType, const void* value, std::uint32_t length, bool null) {
  switch (clientType) {
    case CT_CHAR: return static_cast<std::int32_t>(length) + 1;
    case CT_MONEY:
    case CT_DECIMAL: return static_cast<std::int32_t>(kClientDecimalSize);
    case CT_DATE: return static_cast<std::int32_t>(kClientDateSize);
    case CT_DATETIME: return value != nullptr ? static_cast<std::int16_t>(clientDatetimeQualifier(value)) : 0;
    case CT_VARCHAR: return null ? 0 : static_cast<std::int32_t>(length) + 1;
    case CT_BLOB:
    case CT_CLOB: return kLobHandleLength;
    default: return static_cast<std::int32_t>(length);
  }
}

// Creates a large object holding `length` bytes of `value` and writes its handle.
ResultCode writeLargeObject(ClientStatement& statement, IfxLobHandle& handle, std::uint16_t clientType,
                            const void* value, std::uint32_t length) {
  const ClientRoles& roles = clientRoles();
  IfxLobSpec* creation = nullptr;
  std::int32_t result = roles.lobSpec(&creation);
  if (result == 0 && clientType == CT_CLOB) result = roles.lobSpecSetType(creation, kExtendedTypeClob);
  if (result == 0) result = roles.lobCreate(creation, kLobOpenReadWrite, &handle);
  if (result == 0) {
    const std::int32_t descriptor = roles.lobOpen(&handle, kLobOpenReadWrite);
    if (descriptor < 0) {
      result = descriptor;
    } else {
      const std::int32_t written =
          length > 0 ? roles.lobWrite(descriptor, static_cast<const char*>(value), static_cast<std::int32_t>(length))
                     : 0;
      const std::int32_t closed = roles.lobClose(descriptor);
      result = written < 0 ? written : closed;
    }
  }
  if (creation != nullptr) roles.lobFreeSpec(creation);
  if (result >= 0) return RESULT_OK;
  noteStatus(statement, result);
  return RESULT_CLIENT_ERROR;
}

void updateIndicator(const ColumnDescriptor& column, const ColumnPlace& place, const IfxDescriptorEntry& entry,
                     RowBuffer& row) {
  std::int32_t clientIndicator = place.indicator;
  std::int32_t length = 0;
  if (isLocatorType(column.clientType)) {
    const IfxLocator* locator = place.locator.get();
    if (locator != nullptr && (locator->indicator == -1 || locator->status != 0)) {
      clientIndicator = -1;
    } else {
      clientIndicator = 0;
      length = locator != nullptr ? locator->size : 0;
    }
  } else if (!isLargeObjectType(column.clientType)) {
    length = entry.length;
  }
  if (clientIndicator == -1) {
    row.setIndicator(column, kIndicatorNull);
  } else if (clientIndicator == 0) {
    row.setIndicator(column, length);
  } else {
    row.setIndicator(column, kIndicatorFlagged);
  }
}

// A locator's data when it holds a fetched value, else null with size 0.
const IfxLocator* fetchedLocator(const ClientStatement& statement, const ColumnDescriptor& column) {
  if (column.index >= statement.columnPlaces.size()) return nullptr;
  const IfxLocator* locator = statement.columnPlaces[column.index].locator.get();
  if (locator == nullptr || locator->indicator == -1 || locator->status != 0) return nullptr;
  return locator;
}

const IfxLobHandle* fetchedHandle(const ClientStatement& statement, const ColumnDescriptor& column) {
  if (column.index >= statement.columnPlaces.size()) return nullptr;
  return statement.columnPlaces[column.index].handle.get();
}

std::uint32_t clampedSize(std::int64_t size) {
  if (size <= 0) return 0;
  return static_cast<std::uint32_t>(std::min<std::int64_t>(size, std::numeric_limits<std::uint32_t>::max()));
}

// The result of a large-object step sequence: the close error first, then
// the open or read error; "no more rows" is no error.
ResultCode lobResult(std::int32_t stepError, std::int32_t closeError) {
  const std::int32_t result = closeError < 0 ? closeError : stepError;
  return (result >= 0 || result == kStatusNoMoreRows) ? RESULT_OK : result;
}

}  // namespace

void DescriptorAreaFree::operator()(IfxDescriptor* area) const { clientRoles().freeDescriptor(area); }

void LocatorFree::operator()(IfxLocator* locator) const {
  if ((locator->memoryFlags & IFX_LOC_RUNTIME_BUFFER) != 0) std::free(locator->buffer);
  delete locator;
}

ResultCode makeClientStatement(ClientConnection* connection, std::unique_ptr<ClientStatement>& statement) {
  if (connection == nullptr) return RESULT_INVALID_HANDLE;
  statement.reset(new (std::nothrow) ClientStatement);
  if (!statement) return RESULT_CLIENT_NO_MEMORY;
  statement->connection = connection;
  return RESULT_OK;
}

ResultCode prepareClientStatement(ClientStatement& statement, const char* sql) {
  if (ResultCode made = makeCurrent(statement); made != RESULT_OK) return made;
  // A statement prepared before is no longer reachable once renamed: free it.
  releasePrepared(statement);
  try {
    statement.text = sql;
    statement.statementName = nextClientName("SI");
  } catch (const std::bad_alloc&) {
    return RESULT_CLIENT_NO_MEMORY;
  }
  trace(statement, "ESQL/C Prepare Statement");
  trace(statement, sql);
  clientRoles().prepare(statement.statementName.c_str(), sql);
  if (takeStatus(statement) != 0) return RESULT_CLIENT_ERROR;
  statement.prepared = true;
  const ResultCode described = describePrepared(statement);
  if (described != RESULT_OK) {
    statement.columnArea.reset();
    statement.columnPlaces.clear();
    statement.columnCount = 0;
  }
  return described;
}

void describeClientColumn(const ClientStatement& statement, std::uint16_t index, ColumnDescription& description) {
  const IfxDescriptorEntry& entry = statement.columnArea->entries[index];
  description.name = entry.name != nullptr ? entry.name : "";
  description.serverType = entry.sourceType;
  description.length = entry.sourceLength;
  description.extendedTypeId = entry.extendedType;
}

ResultCode bindClientParameter(ClientStatement& statement, std::uint16_t number, void* value, std::uint32_t length,
                               std::uint16_t clientType, const std::int16_t* nullIndicator) {
  if (statement.parameterArea == nullptr || number == 0 || number > statement.parameterPlaces.size()) {
    return RESULT_OUT_OF_RANGE;
  }
  ParameterPlace& place = statement.parameterPlaces[number - 1];
  IfxDescriptorEntry& entry = statement.parameterArea->entries[number - 1];
  const std::int16_t serverType = serverTypeOfClientType(clientType);
  if (serverType < 0) return RESULT_CLIENT_ERROR;
  const bool null = *nullIndicator == -1;
  void* data = value;
  if (isLocatorType(clientType)) {
    if (!place.locator) place.locator.reset(new (std::nothrow) IfxLocator{});
    if (!place.locator) return RESULT_CLIENT_NO_MEMORY;
    IfxLocator& locator = *place.locator;
    locator.locationKind = IFX_LOC_MEMORY;
    locator.indicator = null ? -1 : 0;
    locator.type = serverType;
    locator.buffer = static_cast<char*>(value);
    locator.bufferSize = static_cast<std::int32_t>(length);
    locator.size = static_cast<std::int32_t>(length);
    data = &locator;
  } else if (isLargeObjectType(clientType)) {
    if (!place.handle) place.handle.reset(new (std::nothrow) IfxLobHandle{});
    if (!place.handle) return RESULT_CLIENT_NO_MEMORY;
    if (!null) {
      if (ResultCode written = writeLargeObject(statement, *place.handle, clientType, value, length);
          written != RESULT_OK) {
        return written;
      }
    }
    data = place.handle.get();
  }
  place.bound = true;
  place.value = value;
  place.length = length;
  place.nullIndicator = nullIndicator;
  entry.type = serverType;
  entry.length = parameterEntryLength(clientType, value, length, null);
  entry.data = static_cast<char*>(data);
  entry.indicator = &place.indicator;
  entry.extendedType = clientType == CT_CLOB ? kExtendedTypeClob : (clientType == CT_BLOB ? kExtendedTypeBlob : 0);
  return RESULT_OK;
}

ResultCode executeClientStatement(ClientStatement& statement) {
  if (ResultCode made = makeCurrent(statement); made != RESULT_OK) return made;
  if (statement.cursorOpen) closeCursor(statement);
  for (ParameterPlace& place : statement.parameterPlaces) {
    place.indicator = (place.nullIndicator != nullptr && *place.nullIndicator == -1) ? -1 : 0;
  }
  IfxDescriptor* parameters = statement.parameterPlaces.empty() ? nullptr : statement.parameterArea;
  const ClientRoles& roles = clientRoles();
  if (statement.columnCount == 0) {
    trace(statement, "ESQL/C Execute");
    roles.execute(findPrepared(statement), parameters);
    std::int32_t status = roles.statusCode();
    const IfxStatusArea* area = roles.statusArea();
    statement.rowsProcessed = area != nullptr ? area->sqlerrd[2] : 0;
    if (status == kStatusNoMoreRows) status = 0;
    noteStatus(statement, status);
    return resultOfStatus(status);
  }
  try {
    statement.cursorName = nextClientName("CN");
  } catch (const std::bad_alloc&) {
    return RESULT_CLIENT_NO_MEMORY;
  }
  trace(statement, "ESQL/C Declare Cursor");
  roles.declareCursor(statement.cursorName.c_str(), findPrepared(statement), kCursorOption);
  if (takeStatus(statement) != 0) return RESULT_CLIENT_ERROR;
  trace(statement, "ESQL/C Open Cursor");
  IfxStatement* cursor = findCursor(statement);
  roles.openCursor(cursor, parameters);
  if (takeStatus(statement) != 0) {
    // The declared cursor would keep its name; free it.
    const std::int32_t failed = statement.lastStatus;
    IfxStatusArea* area = roles.statusArea();
    const IfxStatusArea kept = area != nullptr ? *area : IfxStatusArea{};
    roles.free(findCursor(statement));
    if (area != nullptr) *area = kept;
    statement.lastStatus = failed;
    return RESULT_CLIENT_ERROR;
  }
  statement.cursorOpen = true;
  statement.openCursor = cursor;
  return RESULT_OK;
}

ResultCode checkClientParameterCount(ClientStatement& statement, std::size_t valueCount) {
  if (valueCount == statement.parameterPlaces.size()) return RESULT_OK;
  statement.lastStatus = kStatusHostVariableCount;
  statement.details = StatusDetails{};
  return RESULT_CLIENT_ERROR;
}

ResultCode bindClientColumn(ClientStatement& statement, const ColumnDescriptor& column, std::uint8_t* slot) {
  if (!statement.columnArea || column.index >= statement.columnCount) return RESULT_INVALID_HANDLE;
  IfxDescriptorEntry& entry = columnEntry(statement, column.index);
  ColumnPlace& place = statement.columnPlaces[column.index];
  place.indicator = 0;
  entry.indicator = &place.indicator;
  entry.type = serverTypeOfClientType(column.clientType);
  if (isLocatorType(column.clientType)) {
    if (!place.locator) place.locator.reset(new (std::nothrow) IfxLocator{});
    if (!place.locator) return RESULT_CLIENT_NO_MEMORY;
    place.locator->locationKind = IFX_LOC_MEMORY;
    place.locator->type = entry.type;
    place.locator->bufferSize = -1;  // the runtime allocates the buffer
    place.locator->openFlags = 0;
    entry.data = reinterpret_cast<char*>(place.locator.get());
    entry.length = static_cast<std::int32_t>(sizeof(IfxLocator));
  } else if (isLargeObjectType(column.clientType)) {
    if (!place.handle) place.handle.reset(new (std::nothrow) IfxLobHandle{});
    if (!place.handle) return RESULT_CLIENT_NO_MEMORY;
    entry.data = place.handle->bytes;
    entry.length = kLobHandleLength;
  } else {
    entry.data = reinterpret_cast<char*>(slot);
    entry.length = column.slotSize;
  }
  return RESULT_OK;
}

ResultCode fetchClientRow(ClientStatement& statement, const std::vector<ColumnDescriptor>& columns, RowBuffer& row) {
  if (ResultCode made = makeCurrent(statement); made != RESULT_OK) return made;
  trace(statement, "ESQL/C Fetch");
  // The runtime's cursor found when it was opened: it stays the same until it is closed.
  clientRoles().fetch(statement.openCursor, statement.columnArea.get());
  const std::int32_t status = clientRoles().statusCode();
  if (status == 0 || status == kStatusValueCut) {
    noteStatus(statement, 0);
    for (const ColumnDescriptor& column : columns) {
      updateIndicator(column, statement.columnPlaces[column.index], columnEntry(statement, column.index), row);
    }
    return RESULT_OK;
  }
  if (status == kStatusNoMoreRows) {
    noteStatus(statement, 0);
    return statement.columnCount > 0 ? RESULT_NO_MORE_ROWS : RESULT_OK;
  }
  noteStatus(statement, status);
  return RESULT_CLIENT_ERROR;
}

ResultCode closeClientResults(ClientStatement& statement) {
  if (ResultCode made = makeCurrent(statement); made != RESULT_OK) return made;
  if (statement.cursorOpen) closeCursor(statement);
  return RESULT_OK;
}

void releaseClientStatement(ClientStatement& statement, bool connectionOpen) {
  // The runtime freed the statement and cursor itself when their connection closed.
  if (connectionOpen && (statement.prepared || statement.cursorOpen) && makeCurrent(statement) == RESULT_OK) {
    releasePrepared(statement);
  }
  statement.prepared = false;
  statement.cursorOpen = false;
  statement.openCursor = nullptr;
  dropAreas(statement);
}

ResultCode clientBlobSize(ClientStatement& statement, const ColumnDescriptor& column, std::uint32_t& size) {
  size = 0;
  if (isLocatorType(column.clientType)) {
    if (const IfxLocator* locator = fetchedLocator(statement, column)) size = clampedSize(locator->size);
    return RESULT_OK;
  }
  const IfxLobHandle* handle = fetchedHandle(statement, column);
  if (handle == nullptr) return RESULT_OK;
  const ClientRoles& roles = clientRoles();
  const std::int32_t descriptor = roles.lobOpen(handle, kLobOpenReadOnly);
  if (descriptor < 0) return descriptor;
  IfxLobStat stat{};
  std::int64_t objectSize = 0;
  if (roles.lobStat(descriptor, &stat) >= 0 && roles.lobSize(&stat, &objectSize) >= 0) size = clampedSize(objectSize);
  return lobResult(0, roles.lobClose(descriptor));
}

ResultCode readClientBlob(ClientStatement& statement, const ColumnDescriptor& column, void* buffer,
                          std::uint32_t length) {
  if (isLocatorType(column.clientType)) {
    const IfxLocator* locator = fetchedLocator(statement, column);
    if (locator == nullptr || buffer == nullptr || locator->buffer == nullptr) return RESULT_OK;
    std::memcpy(buffer, locator->buffer, std::min(length, clampedSize(locator->size)));
    return RESULT_OK;
  }
  const IfxLobHandle* handle = fetchedHandle(statement, column);
  if (handle == nullptr) return RESULT_OK;
  const ClientRoles& roles = clientRoles();
  const std::int32_t descriptor = roles.lobOpen(handle, kLobOpenReadOnly);
  if (descriptor < 0) return lobResult(descriptor, 0);
  IfxLobStat stat{};
  std::int64_t objectSize = 0;
  if (roles.lobStat(descriptor, &stat) < 0 || roles.lobSize(&stat, &objectSize) < 0) objectSize = 0;
  std::int32_t readError = 0;
  const std::uint32_t wanted = std::min({length, clampedSize(objectSize),
                                         static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())});
  if (wanted > 0 && buffer != nullptr) {
    std::memset(buffer, 0, wanted);
    const std::int32_t read = roles.lobRead(descriptor, static_cast<char*>(buffer), static_cast<std::int32_t>(wanted));
    if (read < 0) readError = read;
  }
  return lobResult(readError, roles.lobClose(descriptor));
}

}  // namespace quovex::inf
