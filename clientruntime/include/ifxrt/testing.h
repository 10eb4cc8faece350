// Test controls of the client runtime stand-in: database properties, fault
// injection and the log of statements the runtime was asked to run. Not part
// of the real runtime's face; only tests and tools include this.
#pragma once

#include "ifxrt/client.h"

#ifdef __cplusplus
extern "C" {
#endif

// Roles, numbered by the real runtime's ordinals.
typedef enum IfxRole {
  IFX_ROLE_STATUS_CODE = 281,
  IFX_ROLE_STATUS_AREA = 283,
  IFX_ROLE_MAKE_LOGIN = 872,
  IFX_ROLE_FREE_LOGIN = 874,
  IFX_ROLE_CONNECT = 65,
  IFX_ROLE_SET_CONNECTION = 69,
  IFX_ROLE_DISCONNECT = 67,
  IFX_ROLE_BEGIN_WORK = 960,
  IFX_ROLE_COMMIT_WORK = 15,
  IFX_ROLE_ROLLBACK_WORK = 17,
  IFX_ROLE_EXECUTE_TEXT = 49,
  IFX_ROLE_EXECUTE_FIXED = 61,
  IFX_ROLE_CLEAR_BUFFER = 415,
  IFX_ROLE_MESSAGE_TEXT = 539
} IfxRole;

// Logging kinds of a database.
typedef enum IfxLogging { IFX_LOG_NONE = 0, IFX_LOG_BUFFERED = 1, IFX_LOG_ANSI = 2 } IfxLogging;

// Creates (or reopens) the SQLite database at `path` and marks its logging
// kind. Returns 0, or -1 when the file cannot be written.
IFXRT_API int32_t ifxrtCreateDatabase(const char* path, IfxLogging logging);
// Adds a user to the database; once a database has users, a connect with
// another user or a wrong password fails with -951. Returns 0 or -1.
IFXRT_API int32_t ifxrtAddUser(const char* path, const char* user, const char* password);

// Makes the nth call (1 = the next one) of `role` fail: the call does nothing
// but set the status code to `code` and the second detail code to
// `secondDetail` (roles that return a value return their failure value).
IFXRT_API void ifxrtFailCall(IfxRole role, int nth, int32_t code, int32_t secondDetail);
// Forgets every fault still pending.
IFXRT_API void ifxrtClearFaults(void);

// Statements the runtime was asked to run (clientExecuteText, clientExecuteFixed
// and the transaction roles as "BEGIN WORK", "COMMIT WORK", "ROLLBACK WORK"),
// oldest first, each with the connection name it ran under.
IFXRT_API size_t ifxrtStatementCount(void);
IFXRT_API const char* ifxrtStatementText(size_t index);
IFXRT_API const char* ifxrtStatementConnection(size_t index);
IFXRT_API void ifxrtClearStatements(void);

// Closes every open connection and resets the status area (between tests).
IFXRT_API void ifxrtReset(void);

#ifdef __cplusplus
}
#endif
