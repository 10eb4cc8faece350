// Roles 960, 15, 17: the transaction of the current connection.
#include "call_guard.h"
#include "current_connection.h"
#include "transactions.h"

using namespace ifxrt;

extern "C" {

IFXRT_API void clientBeginWork(void) {
  runStatementCall(IFX_ROLE_BEGIN_WORK, [](Runtime& rt) { return onCurrentConnection(rt, "BEGIN WORK", beginWork); });
}

IFXRT_API void clientCommitWork(void) {
  runStatementCall(IFX_ROLE_COMMIT_WORK, [](Runtime& rt) { return onCurrentConnection(rt, "COMMIT WORK", commitWork); });
}

IFXRT_API void clientRollbackWork(void) {
  runStatementCall(IFX_ROLE_ROLLBACK_WORK,
                   [](Runtime& rt) { return onCurrentConnection(rt, "ROLLBACK WORK", rollbackWork); });
}

}  // extern "C"
