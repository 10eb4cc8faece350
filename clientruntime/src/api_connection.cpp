// Roles 872, 874, 65, 69, 67: logins and named connections.
#include <memory>
#include <string>

#include "call_guard.h"
#include "login.h"
#include "sqlite_path.h"

using namespace ifxrt;

namespace {

Status openConnection(Runtime& rt, const std::string& target, std::string name, const IfxLogin* login) {
  // A connection opened without a name is known by its target, as in
  // Informix's CONNECT TO without AS.
  if (name.empty()) name = target;
  if (rt.connections.contains(name)) return Status::error(code::kConnectionNameInUse);
  std::unique_ptr<Database> database;
  Status status = Database::open(databasePathOfTarget(target), database);
  if (!status.failed()) status = database->checkLogin(login);
  if (status.failed()) return status;
  status.warnLogged = database->logging() != Logging::None;
  status.warnAnsi = database->logging() == Logging::Ansi;
  rt.connections.add(name, std::move(database));
  return status;
}

std::string textOrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

extern "C" {

IFXRT_API IfxLogin* clientMakeLogin(const char* user, const char* password) {
  IfxLogin* login = nullptr;
  runStatementCall(IFX_ROLE_MAKE_LOGIN, [&](Runtime&) {
    login = new IfxLogin{textOrEmpty(user), textOrEmpty(password)};
    return Status::ok();
  });
  return login;
}

IFXRT_API void clientFreeLogin(IfxLogin* login) {
  // Even a failing free releases the login, so fault tests do not leak. The
  // status area is left alone otherwise: callers read the connect status
  // after freeing the login.
  takeFault(runtime(), IFX_ROLE_FREE_LOGIN);
  delete login;
}

IFXRT_API void clientConnect(const char* target, const char* connectionName, const IfxLogin* login) {
  runStatementCall(IFX_ROLE_CONNECT, [&](Runtime& rt) {
    return openConnection(rt, textOrEmpty(target), textOrEmpty(connectionName), login);
  });
}

IFXRT_API void clientSetConnection(const char* connectionName) {
  runStatementCall(IFX_ROLE_SET_CONNECTION, [&](Runtime& rt) {
    return rt.connections.makeCurrent(textOrEmpty(connectionName))
               ? Status::ok()
               : Status::error(code::kConnectionDoesNotExist);
  });
}

IFXRT_API void clientDisconnect(const char* connectionName) {
  runStatementCall(IFX_ROLE_DISCONNECT, [&](Runtime& rt) {
    return rt.connections.close(textOrEmpty(connectionName))
               ? Status::ok()
               : Status::error(code::kConnectionDoesNotExist);
  });
}

}  // extern "C"
