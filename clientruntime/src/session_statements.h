// Informix statements that the runtime answers itself instead of handing them
// to SQLite: the session settings SQLite has no counterpart for, and the
// transaction statements, which must follow the database's logging kind.
#pragma once

#include <string_view>

namespace ifxrt {

enum class SessionStatement {
  None,          // an ordinary statement: SQLite runs it
  Isolation,     // SET ISOLATION TO {DIRTY READ|COMMITTED READ|CURSOR STABILITY|REPEATABLE READ}
  LockMode,      // SET LOCK MODE TO {WAIT [seconds]|NOT WAIT}
  BeginWork,     // BEGIN [WORK]
  CommitWork,    // COMMIT [WORK]
  RollbackWork,  // ROLLBACK [WORK]
  Invalid        // SET ISOLATION or SET LOCK MODE with a wrong tail: a syntax error
};

// Classifies a statement text; case and blanks do not matter, one trailing
// ";" is allowed.
SessionStatement classifySessionStatement(std::string_view sql);

// How long a SET LOCK MODE statement asks to wait for locks: seconds, 0 for
// NOT WAIT, kWaitForever for WAIT without a number. Only meaningful for a
// text classified as LockMode.
inline constexpr int kWaitForever = -1;
int lockWaitSeconds(std::string_view sql);

}  // namespace ifxrt
