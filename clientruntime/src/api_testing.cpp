// Test controls (ifxrt/testing.h): faults, the statement log and resetting
// the runtime between tests.
#include "call_guard.h"

using namespace ifxrt;

extern "C" {

IFXRT_API void ifxrtFailCall(IfxRole role, int nth, int32_t code, int32_t secondDetail) {
  try {
    runtime().faults.add(role, nth, Fault{code, secondDetail});
  } catch (...) {
    // Out of memory while planning a fault: the fault is not planned.
  }
}

IFXRT_API void ifxrtClearFaults(void) { runtime().faults.clear(); }

IFXRT_API size_t ifxrtStatementCount(void) { return runtime().statements.size(); }

IFXRT_API const char* ifxrtStatementText(size_t index) { return runtime().statements.text(index); }

IFXRT_API const char* ifxrtStatementConnection(size_t index) { return runtime().statements.connection(index); }

IFXRT_API void ifxrtClearStatements(void) { runtime().statements.clear(); }

IFXRT_API void ifxrtReset(void) {
  Runtime& rt = runtime();
  rt.prepared.clear();
  rt.lobs.clear();
  rt.connections.closeAll();
  rt.faults.clear();
  rt.statements.clear();
  resetStatusArea(rt.status);
}

}  // extern "C"
