// Helpers shared by the driver classes' option and out-value operations.
#pragma once

#include <cstdint>
#include <cstring>

#include "quovex/types.h"

namespace quovex::inf {

// Writes a 32-bit number into a host's out place; a missing place is the
// caller's bad argument, answered with a code instead of a crash.
inline ResultCode writeNumber(void* value, std::int32_t number) {
  if (value == nullptr) return RESULT_INVALID_PARAMETER;
  std::memcpy(value, &number, sizeof number);
  return RESULT_OK;
}

}  // namespace quovex::inf
