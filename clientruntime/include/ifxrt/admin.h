// Administration of the client runtime stand-in's databases: making a
// database of a logging kind, its users, its stored procedures, and running
// an SQL script into it. Not part of the real runtime's face (a real server
// has its own tools for this); quovex-mkdb, the samples and tests include it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "ifxrt/client.h"

#ifdef __cplusplus
extern "C" {
#endif

// Logging kinds of a database.
typedef enum IfxLogging { IFX_LOG_NONE = 0, IFX_LOG_BUFFERED = 1, IFX_LOG_ANSI = 2 } IfxLogging;

// Creates (or reopens) the SQLite database at `path` and marks its logging
// kind. Returns 0, or -1 when the file cannot be written.
// The kind is the row ('logging', 'none' | 'buffered' | 'ansi') of the table
// ifxrt_properties (name TEXT PRIMARY KEY, value TEXT NOT NULL); a database
// without that table or row is logged ('buffered'). Any SQLite file with
// such a row, however made, is a database of that kind.
IFXRT_API int32_t ifxrtCreateDatabase(const char* path, IfxLogging logging);
// Adds a user to the database; once a database has users, a connect with
// another user or a wrong password fails with -951. Returns 0 or -1.
// Users live in ifxrt_users (name TEXT PRIMARY KEY, password TEXT NOT NULL);
// adding a user again replaces the password. The file must exist (-1 when
// it does not; it is never created here).
IFXRT_API int32_t ifxrtAddUser(const char* path, const char* user, const char* password);

// Runs an SQL script into the existing database file `path` (make it first
// with ifxrtCreateDatabase): statements separated by ";" outside quotes and
// comments, each run by SQLite after the Informix type phrases are
// rewritten as for clientExecuteText (see README), on a connection of its
// own (not one of the runtime's). Stops at the
// first failing statement. Returns 0, or that statement's Informix code;
// when `error` is given it receives (cut to `errorSize`, NUL-terminated) the
// failing statement's message argument or text.
IFXRT_API int32_t ifxrtRunScript(const char* path, const char* script, char* error, size_t errorSize);

// Stored procedures of a database are the rows of the table
//   ifxrt_procedures (name TEXT PRIMARY KEY, parameters TEXT NOT NULL,
//                     returns TEXT NOT NULL, body TEXT NOT NULL)
// - name: the procedure's name as EXECUTE PROCEDURE gives it (case does not
//   matter);
// - parameters: "name type, name type, ..." in Informix types ("p_id
//   INTEGER, p_price DECIMAL(16,2)"); commas inside parentheses belong to
//   the type; "" for none;
// - returns: "type, type, ..." of the values it returns; "" for a procedure
//   that returns nothing; a routine with returns is a function;
// - body: one statement in SQLite's dialect, naming the parameters as
//   ":name". A function's body is a SELECT whose columns, in order, are the
//   returned values; each of its rows is a returned row. A procedure's body
//   runs once and its changed rows are the rows processed.
// EXECUTE PROCEDURE name (arg, ...) binds the arguments ("?" markers or
// literals) to the parameters by position; fewer or more arguments than
// parameters give -674 at prepare.
// Adds (or replaces) a procedure in the existing database file; creates the
// table when needed. Returns 0 or -1.
IFXRT_API int32_t ifxrtAddProcedure(const char* path, const char* name, const char* parameters,
                                    const char* returns, const char* body);

#ifdef __cplusplus
}
#endif
