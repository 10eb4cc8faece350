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
IFXRT_API IfxLogin* clientMakeLogin(const char* user, const char* password);
// 874: frees a login made by clientMakeLogin; null is ignored.
IFXRT_API void clientFreeLogin(IfxLogin* login);

// 65: opens the database `target` ("path" or "path@server") as the named
// connection and makes it current. Status: 0, -329 (second detail -111) when
// the database file does not exist, -951 for a wrong user or password, -1803
// when the name is already in use. On success sqlwarn[1] is 'W' for a logged
// database, sqlwarn[1] and sqlwarn[2] for an ANSI one.
IFXRT_API void clientConnect(const char* target, const char* connectionName, const IfxLogin* login);
// 69: makes the named connection current; -1803 for an unknown name.
IFXRT_API void clientSetConnection(const char* connectionName);
// 67: closes the named connection; -1803 for an unknown name. An open
// transaction is rolled back.
IFXRT_API void clientDisconnect(const char* connectionName);

// 960, 15, 17: transaction of the current connection. Begin: -256 in a
// database without log, -535 when one is already open. Commit and rollback:
// -255 "Not in transaction" when none is open in a logged database; in ANSI
// mode a transaction is always implicitly open; -256 without log.
IFXRT_API void clientBeginWork(void);
IFXRT_API void clientCommitWork(void);
IFXRT_API void clientRollbackWork(void);

// 49: runs one SQL text on the current connection. -201 syntax error, -206
// unknown table (message argument: the table name), -1803 no current
// connection. Rows processed is set for INSERT, UPDATE and DELETE.
IFXRT_API void clientExecuteText(const char* sql);

// 415: clears an 8-byte statement id before clientExecuteFixed.
IFXRT_API void clientClearBuffer(void* id, size_t length);
// 61: runs a fixed SQL text (for example " SET ISOLATION TO DIRTY READ")
// with a cleared id. SET ISOLATION texts are accepted and recorded.
IFXRT_API void clientExecuteFixed(void* id, const char* sql);

// 539: copies the message template for a status code into `buffer`
// (NUL-terminated, cut to `size`); the template may hold one "%s" for the
// status area's message argument. Writes the full template length to
// `length` when given. Returns 0, or a negative code when no template exists
// for the code (the buffer then holds a generic text).
IFXRT_API int32_t clientMessageText(int32_t code, char* buffer, size_t size, size_t* length);

#ifdef __cplusplus
}
#endif
