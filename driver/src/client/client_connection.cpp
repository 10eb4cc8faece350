#include "client_connection.h"

#include <cstring>
#include <new>
#include <string>

#include "client_names.h"
#include "client_roles.h"

namespace quovex::inf {
namespace {

// Informix status of a commit or rollback with no transaction open.
constexpr std::int32_t kNotInTransaction = -255;
constexpr char kWarningSet = 'W';

// Reads the status of the client call just made into the record.
std::int32_t takeStatus(ClientConnection& record) {
  return noteStatus(record, clientRoles().statusCode());
}

ResultCode resultOfStatus(std::int32_t status) { return status == 0 ? RESULT_OK : RESULT_CLIENT_ERROR; }

const char* nameOf(const ClientConnection& record) { return record.name ? record.name.get() : ""; }

const char* isolationStatement(std::int16_t level) {
  switch (level) {
    case ISOLATION_COMMITTED_READ: return " SET ISOLATION TO COMMITTED READ";
    case ISOLATION_REPEATABLE_READ: return " SET ISOLATION TO REPEATABLE READ";
    case ISOLATION_DIRTY_READ: return " SET ISOLATION TO DIRTY READ";
    default: return nullptr;
  }
}

// Makes the connection current, then commits; the result of the commit.
ResultCode runCommitSteps(ClientConnection& record) {
  if (ResultCode made = makeClientConnectionCurrent(record); made != RESULT_OK) return made;
  traceClientStep(record, "ESQL/C Commit Work");
  clientRoles().commitWork();
  return resultOfStatus(takeStatus(record));
}

// Runs the runtime's connect with a login made for it. Returns the status and
// reads the warning flags of the connect before the login is freed.
std::int32_t connectWithLogin(ClientConnection& record, const std::string& target, const char* user,
                              const char* password, char (&warnings)[2]) {
  const ClientRoles& roles = clientRoles();
  IfxLogin* login = roles.makeLogin(user ? user : "", password ? password : "");
  if (login == nullptr) return takeStatus(record);
  roles.connect(target.c_str(), nameOf(record), login);
  std::int32_t status = takeStatus(record);
  if (status == 0) {
    // The flags belong to the connect only while the area still holds its
    // success; a failed read of the area fails the connect.
    const IfxStatusArea* area = roles.statusArea();
    if (area == nullptr || area->sqlcode != 0) {
      status = area != nullptr ? area->sqlcode : takeStatus(record);
      noteStatus(record, status);
      abandonClientDatabase(record);
    } else {
      warnings[0] = area->sqlwarn[1];
      warnings[1] = area->sqlwarn[2];
    }
  }
  roles.freeLogin(login);
  return status;
}

}  // namespace

ResultCode makeClientConnection(std::unique_ptr<ClientConnection>& record) {
  std::unique_ptr<ClientConnection> made(new (std::nothrow) ClientConnection);
  if (!made) return RESULT_CLIENT_NO_MEMORY;
  made->trace.reset(new (std::nothrow) TraceRecord{});
  if (!made->trace) return RESULT_CLIENT_NO_MEMORY;
  record = std::move(made);
  return RESULT_OK;
}

ResultCode setClientConnectionName(ClientConnection& record, const char* name) {
  if (name == nullptr || *name == '\0') {
    record.name.reset();
    return RESULT_OK;
  }
  const std::size_t length = std::strlen(name);
  std::unique_ptr<char[]> copy(new (std::nothrow) char[length + 1]);
  if (!copy) return RESULT_NO_MEMORY;
  std::memcpy(copy.get(), name, length + 1);
  record.name = std::move(copy);
  return RESULT_OK;
}

void setClientTraceCallback(ClientConnection& record, TraceCallback callback) { record.traceCallback = callback; }

void setClientTraceValue(ClientConnection& record, OptionValue clientValue) {
  if (record.trace) setTraceClientValue(*record.trace, clientValue);
}

void traceClientStep(ClientConnection& record, const char* message) {
  if (record.traceCallback == nullptr || !record.trace) return;
  TraceRecord& trace = *record.trace;
  std::memset(trace.text, 0, sizeof trace.text);
  std::memcpy(trace.text, message, strnlen(message, sizeof trace.text));
  trace.category = TRACE_CATEGORY;
  record.traceCallback(1, &trace);
}

ConnectText makeConnectText(const char* database, const char* serverName, const char* connectionName) {
  ConnectText made;
  made.text = database;
  if (*serverName != '\0') {
    made.text += '@';
    made.text += serverName;
  }
  made.targetLength = made.text.size();
  if (*serverName != '\0') {
    made.text += ',';
    made.text += connectionName;
  }
  return made;
}

ResultCode openClientDatabase(ClientConnection& record, const ConnectText& connectText, const char* user,
                              const char* password) {
  // The target has no length limit of its own: cutting it could open another database.
  std::string target;
  try {
    target = connectText.target();
  } catch (const std::bad_alloc&) {
    return RESULT_CLIENT_NO_MEMORY;
  }
  traceClientStep(record, "ESQL/C Open Database");
  if (!record.name) {
    std::string generated;
    try {
      generated = nextClientName("CONN");
    } catch (const std::bad_alloc&) {
      return RESULT_CLIENT_NO_MEMORY;
    }
    if (setClientConnectionName(record, generated.c_str()) != RESULT_OK) return RESULT_CLIENT_NO_MEMORY;
  }
  char warnings[2] = {0, 0};
  if (connectWithLogin(record, target, user, password, warnings) != 0) return RESULT_INVALID_LOGIN;
  if (warnings[0] == kWarningSet) record.flags |= ClientConnection::kFlagLogged;
  if (warnings[1] == kWarningSet && applyClientIsolation(record, ISOLATION_COMMITTED_READ) != RESULT_OK) {
    // The caller drops the record; close the runtime connection so that its
    // name and database are not held by a connection nobody can reach.
    abandonClientDatabase(record);
    return RESULT_CLIENT_ERROR;
  }
  return RESULT_OK;
}

ResultCode makeClientConnectionCurrent(ClientConnection& record) {
  traceClientStep(record, "ESQL/C SetConnect");
  clientRoles().setConnection(nameOf(record));
  return resultOfStatus(takeStatus(record));
}

ResultCode applyClientIsolation(ClientConnection& record, std::int16_t level) {
  // A failure to make the connection current stops here: going on would set
  // the level of whichever connection happens to be current and report success.
  if (record.name) {
    clientRoles().setConnection(record.name.get());
    if (takeStatus(record) != 0) return RESULT_CLIENT_ERROR;
  }
  traceClientStep(record, "ESQL/C SetIsolationLevel");
  const char* statement = isolationStatement(level);
  if (statement == nullptr) return RESULT_OK;
  char statementId[8] = {};
  clientRoles().clearBuffer(statementId, sizeof statementId);
  clientRoles().executeFixed(statementId, statement);
  return resultOfStatus(takeStatus(record));
}

ResultCode runClientTransaction(ClientConnection& record, TransactionKind kind) {
  if (ResultCode made = makeClientConnectionCurrent(record); made != RESULT_OK) return made;
  const ClientRoles& roles = clientRoles();
  switch (kind) {
    case TransactionKind::Begin: {
      // Ends any transaction still open; with none open a logged database
      // answers "Not in transaction", which is the ordinary case.
      const ResultCode committed = runCommitSteps(record);
      if (committed != RESULT_OK && record.lastStatus != kNotInTransaction) return committed;
      traceClientStep(record, "ESQL/C Begin Work");
      roles.beginWork();
      break;
    }
    case TransactionKind::Commit:
      traceClientStep(record, "ESQL/C Commit Work");
      roles.commitWork();
      break;
    case TransactionKind::Rollback:
      traceClientStep(record, "ESQL/C Rollback Work");
      roles.rollbackWork();
      break;
  }
  return resultOfStatus(takeStatus(record));
}

ResultCode closeClientDatabase(ClientConnection& record) {
  if (ResultCode made = makeClientConnectionCurrent(record); made != RESULT_OK) return made;
  runCommitSteps(record);  // ends an open transaction; "Not in transaction" is expected
  traceClientStep(record, "ESQL/C Close Database");
  clientRoles().disconnect(nameOf(record));
  return resultOfStatus(takeStatus(record));
}

void abandonClientDatabase(ClientConnection& record) {
  if (!record.name) return;
  // Closing rewrites the status area, which still describes the failure that
  // led here: its error text reads the message argument and second detail
  // code from it. Put them back once the connection is closed.
  IfxStatusArea* area = clientRoles().statusArea();
  const IfxStatusArea kept = area != nullptr ? *area : IfxStatusArea{};
  clientRoles().disconnect(record.name.get());
  if (area != nullptr) *area = kept;
}

}  // namespace quovex::inf
