// The frame of every exported role: counts the call for planned faults,
// resets the status area where the role reports a status, and keeps C++
// exceptions inside the library.
#pragma once

#include <new>

#include "ifxrt/testing.h"
#include "runtime.h"
#include "status.h"
#include "status_codes.h"

namespace ifxrt {

// Counts a call of `role`. When a planned fault falls due the status area is
// reset and holds the fault's code and second detail code, and the result is
// true: the caller then does nothing else.
bool takeFault(Runtime& rt, IfxRole role);

// Runs a role that reports through the status area: resets it, lets a due
// fault take the call's place, runs `body` (Status body(Runtime&)) and writes
// its outcome. An allocation failure becomes -3, any other exception -29000.
template <typename Body>
void runStatementCall(IfxRole role, Body&& body) {
  Runtime& rt = runtime();
  resetStatusArea(rt.status);
  if (takeFault(rt, role)) return;
  Status status;
  try {
    status = body(rt);
  } catch (const std::bad_alloc&) {
    status = Status::error(code::kOutOfMemory);
  } catch (...) {
    status = Status::error(code::kRuntimeError, 0, "(unexpected failure) ");
  }
  writeStatus(rt.status, status);
}

}  // namespace ifxrt
