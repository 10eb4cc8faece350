#include "call_guard.h"

namespace ifxrt {

bool takeFault(Runtime& rt, IfxRole role) {
  const std::optional<Fault> fault = rt.faults.countCall(role);
  if (!fault) return false;
  resetStatusArea(rt.status);
  rt.status.sqlcode = fault->code;
  rt.status.sqlerrd[1] = fault->secondDetail;
  return true;
}

}  // namespace ifxrt
