// Connection half of the client access layer: the ClientConnection record and
// the plain functions that run the client runtime's connection, isolation and
// transaction steps for it. Together with client_statement and client_error
// this is the only code that calls the runtime (through clientRoles()).
//
// Every step stores the status code of its client call in the record's
// lastStatus and returns RESULT_OK or RESULT_CLIENT_ERROR; the error text of a
// failure is built from lastStatus (client_error.h). Functions do not throw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "client_error.h"
#include "quovex/types.h"

namespace quovex::inf {

// One per attempted connect; owned by the INFConnection that made it.
struct ClientConnection {
  static constexpr std::uint8_t kFlagLogged = 2;  // the database keeps a transaction log

  std::uint8_t flags = 0;
  std::unique_ptr<char[]> name;  // absent until named
  std::int32_t lastStatus = 0;   // status of the last client call made for this connection
  StatusDetails details;         // what came with it
  std::unique_ptr<TraceRecord> trace;
  TraceCallback traceCallback = nullptr;

  bool logged() const { return (flags & kFlagLogged) != 0; }
};

// Status the driver records, in place of a runtime status, when a connect
// is refused because the connection is already open (no runtime call made).
inline constexpr std::int32_t kStatusAlreadyConnected = -0x7FFF0001;

enum class TransactionKind { Begin, Commit, Rollback };

// Makes an empty record with a zeroed trace record. RESULT_CLIENT_NO_MEMORY
// (nothing made) when either cannot be allocated.
ResultCode makeClientConnection(std::unique_ptr<ClientConnection>& record);

// Names the record; an empty or absent name leaves it without name.
// RESULT_NO_MEMORY (name unchanged) when the copy cannot be allocated.
ResultCode setClientConnectionName(ClientConnection& record, const char* name);

// Gives the record the host's trace callback, and the host's value to the
// trace record.
void setClientTraceCallback(ClientConnection& record, TraceCallback callback);
void setClientTraceValue(ClientConnection& record, OptionValue clientValue);

// Sends one trace message to the host when the record has a callback and a
// trace record: the text is zero-filled, at most 1024 characters are copied,
// the category is set to 256 and the callback is called with 1 and the record.
void traceClientStep(ClientConnection& record, const char* message);

// The text a connect hands the runtime, "database@server,name" with a server
// name and the database alone without one, and how much of it names the
// database: everything but the ",name" the driver appended. A database path
// may hold "," or "@" itself, so the target is never found by searching.
struct ConnectText {
  std::string text;
  std::size_t targetLength = 0;

  std::string target() const { return text.substr(0, targetLength); }
};

// Builds the connect text; throws std::bad_alloc.
ConnectText makeConnectText(const char* database, const char* serverName, const char* connectionName);

// Opens the database named by the connect text's target. Names the record
// "CONN<n>" when it has no name yet.
// Reads the warning flags: a logged database sets kFlagLogged; a database in
// ANSI mode gets isolation level 0 at once. Returns RESULT_OK;
// RESULT_INVALID_LOGIN when the runtime refused the connection;
// RESULT_CLIENT_ERROR when the ANSI isolation step failed, in which case the
// runtime connection has been closed again. lastStatus holds the failure.
ResultCode openClientDatabase(ClientConnection& record, const ConnectText& connectText, const char* user,
                              const char* password);

// Makes the record's connection current (traced as "ESQL/C SetConnect").
ResultCode makeClientConnectionCurrent(ClientConnection& record);

// Applies an isolation level: 0 committed read, 1 repeatable read, 2 dirty
// read; any other level sends nothing and gives the make-current result.
ResultCode applyClientIsolation(ClientConnection& record, std::int16_t level);

// Makes the connection current and runs begin, commit or rollback work.
// Begin commits first; that commit failing with "Not in transaction" is not a
// failure, any other failure of it stops begin.
ResultCode runClientTransaction(ClientConnection& record, TransactionKind kind);

// Makes the connection current, commits (result ignored) and closes it.
// RESULT_CLIENT_ERROR when making it current or closing fails; the runtime
// connection then stays open.
ResultCode closeClientDatabase(ClientConnection& record);

// Closes the runtime connection without committing and without tracing, for
// an owner that goes away still connected (an open transaction is rolled
// back by the runtime). lastStatus and the runtime's status area are left as
// they were, so the error text still describes the failure before it.
void abandonClientDatabase(ClientConnection& record);

}  // namespace quovex::inf
