// Roles 281 and 283: reading the status of the last call. Neither resets the
// status area; a planned fault leaves its code in the area, which is returned
// as usual.
#include "call_guard.h"

using namespace ifxrt;

extern "C" {

IFXRT_API int32_t clientStatusCode(void) {
  Runtime& rt = runtime();
  takeFault(rt, IFX_ROLE_STATUS_CODE);
  return rt.status.sqlcode;
}

IFXRT_API IfxStatusArea* clientStatusArea(void) {
  Runtime& rt = runtime();
  takeFault(rt, IFX_ROLE_STATUS_AREA);
  return &rt.status;
}

}  // extern "C"
