// The frame of the roles that answer through their return value (value
// conversions, large objects): a planned fault returns its code without
// touching the status area, and no exception leaves the library.
#pragma once

#include <cstdint>
#include <new>
#include <optional>

#include "ifxrt/testing.h"
#include "runtime.h"
#include "status_codes.h"

namespace ifxrt {

template <typename Body>
int32_t runValueCall(IfxRole role, Body&& body) {
  try {
    if (const std::optional<Fault> fault = runtime().faults.countCall(role)) return fault->code;
    return body();
  } catch (const std::bad_alloc&) {
    return code::kOutOfMemory;
  } catch (...) {
    return code::kRuntimeError;
  }
}

}  // namespace ifxrt
