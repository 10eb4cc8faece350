// Stand-in for the Informix ESQL/C client runtime, backed by SQLite.
//
// The operations are named by role; the comment before each gives the ordinal
// the real runtime exports it under. After each statement-level call the
// caller reads clientStatusCode(): 0 success, 100 no more rows, negative an
// error. clientStatusArea() gives the 116-byte status area of the last call.
//
// A database name is the path of an SQLite file. A server name ("db@server")
// selects nothing. Whether a database keeps a transaction log or is in ANSI
// mode is a property stored in the database (see ifxrt/testing.h).
//
// Threading: one process-wide status area and connection list; the caller
// serialises all calls, as with the real runtime.
//
// Which calls touch the status area: connect, set connection, disconnect,
// begin, commit, rollback, execute text, execute fixed and make login clear
// the whole area first and then report their own status. The readers
// (clientStatusCode, clientStatusArea), clientFreeLogin, clientClearBuffer and
// clientMessageText leave it as it is, so a caller can free the login after
// clientConnect and still read the connect's status and warning flags.
// sqlwarn[0] is 'W' whenever another warning flag is set.
//
// Status codes the runtime produces besides those named below: -3 no memory;
// -100 (as second detail of -268) duplicate key; -107 (second detail of -244)
// record locked; -208 SQLite out of memory; -217 unknown column; -244 lock
// held by another connection; -268 unique or primary key
// violated; -310 table exists; -316 index exists; -391 NULL into a NOT NULL
// column; -530 check constraint; -691 foreign key; -29000 any other SQLite
// failure, with the SQLite extended result code as second detail code and
// "(<SQLite message>) " as message argument. Each has a message template.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(IFXRT_BUILDING)
#define IFXRT_API __attribute__((visibility("default")))
#else
#define IFXRT_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Layout of the status area. Offsets are fixed: callers read it as bytes.
typedef struct IfxStatusArea {
  int32_t sqlcode;       // 0: status code of the last call
  char sqlerrm[72];      // 4: message argument, NUL-terminated
  char sqlerrp[8];       // 76: internal
  int32_t sqlerrd[6];    // 84: [1] at 88 second detail code, [2] at 92 rows processed
  char sqlwarn[8];       // 108: [1] at 109 'W' logged database, [2] at 110 'W' ANSI mode, [3] at 111
} IfxStatusArea;

#ifdef __cplusplus
static_assert(sizeof(IfxStatusArea) == 116, "status area is 116 bytes");
static_assert(offsetof(IfxStatusArea, sqlerrm) == 4, "message argument at 4");
static_assert(offsetof(IfxStatusArea, sqlerrd) + 4 == 88, "second detail code at 88");
static_assert(offsetof(IfxStatusArea, sqlerrd) + 8 == 92, "rows processed at 92");
static_assert(offsetof(IfxStatusArea, sqlwarn) + 1 == 109, "warning flags from 109");
#endif

// Opaque login made from a user name and a password.
typedef struct IfxLogin IfxLogin;

// 281: status code of the last call.
IFXRT_API int32_t clientStatusCode(void);
// 283: the status area of the last call; lives as long as the process.
IFXRT_API IfxStatusArea* clientStatusArea(void);

// 872: makes a login; null (status -3, no memory) when it cannot be allocated.
// Null texts count as empty. The caller owns the login.
IFXRT_API IfxLogin* clientMakeLogin(const char* user, const char* password);
// 874: frees a login made by clientMakeLogin; null is ignored. Leaves the
// status area alone (see above); a planned fault sets it but the login is
// still freed.
IFXRT_API void clientFreeLogin(IfxLogin* login);

// 65: opens the database `target` ("path" or "path@server") as the named
// connection and makes it current. Status: 0, -329 (second detail -111) when
// the database file does not exist, -951 for a wrong user or password, -1802
// when the name is already in use. On success sqlwarn[1] is 'W' for a logged
// database, sqlwarn[1] and sqlwarn[2] for an ANSI one.
// The path is the target up to its first "@"; only an existing regular file
// is opened (":memory:", folders, empty and null targets give -329 too; a file
// that is not an SQLite database gives -329 without second detail). A null or
// empty connection name names the connection by its target. A null login
// connects when the database has no users, else gives -951. An unknown
// logging property in the database gives -29000.
IFXRT_API void clientConnect(const char* target, const char* connectionName, const IfxLogin* login);
// 69: makes the named connection current; -1803 for an unknown name.
IFXRT_API void clientSetConnection(const char* connectionName);
// 67: closes the named connection; -1803 for an unknown name. An open
// transaction is rolled back. Closing the current connection leaves none
// current.
IFXRT_API void clientDisconnect(const char* connectionName);

// 960, 15, 17: transaction of the current connection. Begin: -256 in a
// database without log, -535 when one is already open. Commit and rollback:
// -255 "Not in transaction" when none is open in a logged database; in ANSI
// mode a transaction is always implicitly open; -256 without log.
// In ANSI mode begin succeeds and keeps the open transaction; the first
// statement after a commit or rollback opens the next one. Without log each
// statement commits by itself, as it does in a logged database outside BEGIN.
// All three: -1803 without a current connection.
IFXRT_API void clientBeginWork(void);
IFXRT_API void clientCommitWork(void);
IFXRT_API void clientRollbackWork(void);

// 49: runs one SQL text on the current connection. -201 syntax error, -206
// unknown table (message argument: the table name), -1803 no current
// connection. Rows processed is set for INSERT, UPDATE and DELETE.
// Exactly one statement: a second one in the text (after ";") is -201, as
// are a null or blank text. SET ISOLATION TO {DIRTY READ | COMMITTED READ |
// CURSOR STABILITY | REPEATABLE READ} is accepted without running anything;
// SET LOCK MODE TO {WAIT [seconds] | NOT WAIT} sets how long the connection
// waits for another connection's lock (NOT WAIT, failing at once with -244,
// until set otherwise); another tail of either is -201.
// "BEGIN [WORK]", "COMMIT [WORK]" and "ROLLBACK [WORK]" behave as the
// transaction roles above. Other texts run in SQLite's SQL dialect.
IFXRT_API void clientExecuteText(const char* sql);

// 415: clears an 8-byte statement id before clientExecuteFixed.
IFXRT_API void clientClearBuffer(void* id, size_t length);
// 61: runs a fixed SQL text (for example " SET ISOLATION TO DIRTY READ")
// with a cleared id. SET ISOLATION texts are accepted and recorded.
// Any other text runs as with clientExecuteText. A null id or one whose 8
// bytes are not all zero gives -29000 with message argument
// "(statement id not cleared) " and runs nothing. The id is not written.
IFXRT_API void clientExecuteFixed(void* id, const char* sql);

// 539: copies the message template for a status code into `buffer`
// (NUL-terminated, cut to `size`); the template may hold one "%s" for the
// status area's message argument. Writes the full template length to
// `length` when given. Returns 0, or a negative code when no template exists
// for the code (the buffer then holds a generic text).
// The generic text is "Message number <code> not found." and the result -1.
// With a null buffer or size 0 nothing is copied. The -29000 template is
// "Error in the client runtime. %s" (the argument, when set, ends with a
// blank, so "sqlerrd[1] = <n>" can be appended directly). A planned fault
// copies an empty text, reports length 0 and returns the fault's code.
IFXRT_API int32_t clientMessageText(int32_t code, char* buffer, size_t size, size_t* length);

#ifdef __cplusplus
}
#endif

// Prepared statements, cursors, values and large objects (roles 31 to 818).
#include "ifxrt/statements.h"

// One-row queries and variable-length texts (roles 119, 123, 75, 79, 59, 658 to 676).
#include "ifxrt/onerow.h"
