// Keeps C++ exceptions inside the library: every interface operation that can
// allocate runs its body through shielded(), so a host only ever sees a
// ResultCode.
#pragma once

#include <new>

#include "quovex/types.h"

namespace quovex::inf {

template <typename Body>
ResultCode shielded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return RESULT_NO_MEMORY;
  } catch (...) {
    return RESULT_CLIENT_ERROR;
  }
}

}  // namespace quovex::inf
