// Statement half of the client access layer: the ClientStatement record a
// command works through, and the plain functions that prepare, describe,
// bind, execute, fetch and close on the client runtime for it.
//
// Every step that calls the runtime stores the status of its call in the
// record's lastStatus and returns RESULT_OK or RESULT_CLIENT_ERROR; the error
// text is built from lastStatus (client_error.h). Functions do not throw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "client_error.h"
#include "column_layout.h"
#include "ifxrt/client.h"
#include "quovex/types.h"

namespace quovex::inf {

struct ClientConnection;

// Frees a descriptor area made by the runtime's describe.
struct DescriptorAreaFree {
  void operator()(IfxDescriptor* area) const;
};

// Frees a locator's buffer when the runtime allocated it at fetch.
struct LocatorFree {
  void operator()(IfxLocator* locator) const;
};

// The driver's places for one result column: the client's 16-bit indicator
// and, for blob columns, the locator or large-object handle it fetches into.
struct ColumnPlace {
  std::int16_t indicator = 0;
  std::unique_ptr<IfxLocator, LocatorFree> locator;  // BYTE, TEXT
  std::unique_ptr<IfxLobHandle> handle;              // BLOB, CLOB
};

// The driver's places for one parameter marker.
struct ParameterPlace {
  bool bound = false;
  void* value = nullptr;
  std::uint32_t length = 0;
  std::int16_t indicator = 0;
  const std::int16_t* nullIndicator = nullptr;  // the parameter's own, -1 when NULL
  std::unique_ptr<IfxLocator> locator;          // BYTE, TEXT: points at the value
  std::unique_ptr<IfxLobHandle> handle;         // BLOB, CLOB: the object written from it
};

// Owned by its command; refers to the connection's ClientConnection, which
// must outlive it (commands are released before their connection).
struct ClientStatement {
  ClientConnection* connection = nullptr;
  std::string statementName;  // "SI<n>", new for every prepare
  std::string cursorName;     // "CN<n>", new for every opened cursor
  std::int32_t kind = 0;      // the status left by describing
  std::string text;
  std::unique_ptr<IfxDescriptor, DescriptorAreaFree> columnArea;
  std::vector<ColumnPlace> columnPlaces;
  std::unique_ptr<unsigned char[]> parameterBlock;  // head and entries of the parameter area
  IfxDescriptor* parameterArea = nullptr;           // inside parameterBlock
  std::vector<ParameterPlace> parameterPlaces;
  std::int32_t rowsProcessed = 0;
  std::int32_t lastStatus = 0;
  StatusDetails details;  // what came with lastStatus
  std::uint16_t columnCount = 0;
  bool prepared = false;
  bool cursorOpen = false;
  IfxStatement* openCursor = nullptr;  // the runtime's open cursor, null when none
};

// Makes a statement record on `connection`. RESULT_INVALID_HANDLE when there
// is no client connection, RESULT_CLIENT_NO_MEMORY when the record cannot be
// allocated; `statement` is left empty in both cases.
ResultCode makeClientStatement(ClientConnection* connection, std::unique_ptr<ClientStatement>& statement);

// Prepares `sql` under a new statement name and describes it: the statement
// kind, the result columns (for a SELECT or EXECUTE PROCEDURE) and a
// parameter area with one entry per "?" marker outside quotes. A statement
// prepared before is released first.
ResultCode prepareClientStatement(ClientStatement& statement, const char* sql);

// What the runtime described of result column `index` (from 0).
void describeClientColumn(const ClientStatement& statement, std::uint16_t index, ColumnDescription& description);

// Binds parameter `number` (from 1): the value in the runtime's form for
// `clientType`, its length, and the parameter's null indicator, read at
// execute. BYTE and TEXT go through a locator, BLOB and CLOB through a large
// object written from the value. RESULT_OUT_OF_RANGE when the statement has
// fewer markers; RESULT_CLIENT_ERROR for a client type without server type
// or a large object that cannot be written (lastStatus holds its code).
ResultCode bindClientParameter(ClientStatement& statement, std::uint16_t number, void* value, std::uint32_t length,
                               std::uint16_t clientType, const std::int16_t* nullIndicator);

// RESULT_OK when `valueCount` values match the statement's markers; else
// RESULT_CLIENT_ERROR with Informix's -254 ("Too many or too few host
// variables given.") as the statement's status.
ResultCode checkClientParameterCount(ClientStatement& statement, std::size_t valueCount);

// Runs the prepared statement with its parameters: a statement with result
// columns opens a cursor under a new name, any other runs once and sets
// rowsProcessed. Results still open are closed first.
ResultCode executeClientStatement(ClientStatement& statement);

// Binds result column `column` to its slot of the row buffer (or to a
// locator or large-object handle for blobs). RESULT_CLIENT_NO_MEMORY when a
// locator or handle cannot be allocated.
ResultCode bindClientColumn(ClientStatement& statement, const ColumnDescriptor& column, std::uint8_t* slot);

// Fetches the next row into the bound places and updates the row buffer's
// indicators. RESULT_NO_MORE_ROWS after the last row.
ResultCode fetchClientRow(ClientStatement& statement, const std::vector<ColumnDescriptor>& columns, RowBuffer& row);

// Makes the connection current and ends an open cursor (close and free).
// A failure to make the connection current leaves the cursor open.
ResultCode closeClientResults(ClientStatement& statement);

// Releases everything the statement holds. When `connectionOpen`, the
// runtime's cursor and statement are freed too (after the connection is
// made current); the driver's own memory is freed in every case.
void releaseClientStatement(ClientStatement& statement, bool connectionOpen);

// Size of a fetched blob value: a locator's size, or a large object's size
// read through its handle (0 when it cannot be read; the open, read or close
// error is returned).
ResultCode clientBlobSize(ClientStatement& statement, const ColumnDescriptor& column, std::uint32_t& size);

// Copies at most `length` bytes of a fetched blob value into `buffer`.
ResultCode readClientBlob(ClientStatement& statement, const ColumnDescriptor& column, void* buffer,
                          std::uint32_t length);

}  // namespace quovex::inf
