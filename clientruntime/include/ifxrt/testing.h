// Test controls of the client runtime stand-in: fault injection, the log of
// statements the runtime was asked to run, and resetting the runtime between
// tests. Not part of the real runtime's face; only tests include this. Tests
// also make their databases, so the administration header comes with it.
#pragma once

#include "ifxrt/admin.h"
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
  IFX_ROLE_MESSAGE_TEXT = 539,
  // Statements, cursors, values and large objects (ifxrt/statements.h).
  // A planned fault makes a statement-level role leave the fault's status
  // (clientFindStatement and clientDescribe then give null); a conversion or
  // large-object role returns the fault's code without doing anything
  // (clientLobFreeSpec still frees, clientFreeDescriptor still frees).
  IFX_ROLE_FIND_STATEMENT = 31,
  IFX_ROLE_PREPARE = 39,
  IFX_ROLE_DESCRIBE = 41,
  IFX_ROLE_EXECUTE = 47,
  IFX_ROLE_DECLARE_CURSOR = 21,
  IFX_ROLE_OPEN_CURSOR = 29,
  IFX_ROLE_FETCH = 23,
  IFX_ROLE_CLOSE_CURSOR = 35,
  IFX_ROLE_FREE = 89,
  IFX_ROLE_FREE_DESCRIPTOR = 581,
  IFX_ROLE_TEXT_TO_DECIMAL = 422,
  IFX_ROLE_DOUBLE_TO_DECIMAL = 423,
  IFX_ROLE_DECIMAL_TO_TEXT = 434,
  IFX_ROLE_DECIMAL_TO_DOUBLE = 435,
  IFX_ROLE_TEXT_TO_DATETIME = 440,
  IFX_ROLE_EXTEND_DATETIME = 442,
  IFX_ROLE_DATETIME_TO_TEXT = 443,
  IFX_ROLE_DATE_TO_TRIPLE = 470,
  IFX_ROLE_TRIPLE_TO_DATE = 473,
  IFX_ROLE_LOB_SPEC = 794,
  IFX_ROLE_LOB_FREE_SPEC = 788,
  IFX_ROLE_LOB_CREATE = 796,
  IFX_ROLE_LOB_OPEN = 798,
  IFX_ROLE_LOB_WRITE = 818,
  IFX_ROLE_LOB_READ = 814,
  IFX_ROLE_LOB_STAT = 812,
  IFX_ROLE_LOB_SIZE = 772,
  IFX_ROLE_LOB_CLOSE = 800,
  // One-row queries and variable-length texts (ifxrt/onerow.h). A planned
  // fault makes an area role give null, a bind role or clientVarTextNew
  // return the fault's code, clientSelectInto leave the fault's status (its
  // areas are still freed), clientVarTextIsNull answer 1, clientVarTextData
  // "" and clientVarTextLength 0; a failing clientVarTextFree still frees.
  IFX_ROLE_INPUT_AREA = 119,
  IFX_ROLE_OUTPUT_AREA = 123,
  IFX_ROLE_BIND_INPUT = 75,
  IFX_ROLE_BIND_OUTPUT = 79,
  IFX_ROLE_SELECT_INTO = 59,
  IFX_ROLE_VARTEXT_NEW = 658,
  IFX_ROLE_VARTEXT_FREE = 662,
  IFX_ROLE_VARTEXT_IS_NULL = 666,
  IFX_ROLE_VARTEXT_DATA = 672,
  IFX_ROLE_VARTEXT_LENGTH = 676
} IfxRole;

// Makes the nth call (1 = the next one) of `role` fail: the call does nothing
// but set the status code to `code` and the second detail code to
// `secondDetail` (roles that return a value return their failure value).
// Every call of the role counts, whether it would succeed or not. Several
// faults may be planned, for the same role or others; nth below 1 is
// ignored. Failure values: clientMakeLogin null; clientStatusCode the code;
// clientStatusArea the area (holding the code); clientMessageText the code
// (see client.h). A failing clientFreeLogin still frees the login.
IFXRT_API void ifxrtFailCall(IfxRole role, int nth, int32_t code, int32_t secondDetail);
// Forgets every fault still pending.
IFXRT_API void ifxrtClearFaults(void);

// Statements the runtime was asked to run (clientExecuteText, clientExecuteFixed
// and the transaction roles as "BEGIN WORK", "COMMIT WORK", "ROLLBACK WORK"),
// oldest first, each with the connection name it ran under.
// A statement is recorded when the runtime starts to run it, even when it
// then fails; the connection name is empty when there was no current
// connection. Calls made to fail by ifxrtFailCall are not recorded, nor are
// fixed statements refused for an id that was not cleared. Only the latest
// 4096 statements are kept (older ones are dropped, so a long run does not
// grow the log without bound). The texts stay valid until
// ifxrtClearStatements or ifxrtReset, or until dropped; index past the end:
// null.
IFXRT_API size_t ifxrtStatementCount(void);
IFXRT_API const char* ifxrtStatementText(size_t index);
IFXRT_API const char* ifxrtStatementConnection(size_t index);
IFXRT_API void ifxrtClearStatements(void);

// Closes every open connection and resets the status area (between tests).
// Also forgets planned faults and clears the statement log.
IFXRT_API void ifxrtReset(void);

#ifdef __cplusplus
}
#endif
