// The library's one exported function.
#include <type_traits>

#include "client/client_roles.h"
#include "export.h"
#include "infdrvr.h"
#include "quovex/quovex.h"

using quovex::ResultCode;

// Hands out a new driver object with reference count 1. Without a place for
// it: RESULT_NO_MEMORY and nothing allocated. The two texts are the host's
// and are passed to the client library start-up step, which ignores them.
extern "C" QUOVEX_EXPORT ResultCode getSQLDriverINFORMIX(const char* first, const char* second,
                                                         quovex::SQLDriver** driver) {
  if (driver == nullptr) return quovex::RESULT_NO_MEMORY;
  quovex::inf::INFDriver* made = quovex::inf::INFDriver::create();
  if (made == nullptr) return quovex::RESULT_NO_MEMORY;
  made->addRef();
  *driver = made;
  quovex::inf::startClientLibrary(first, second);
  return quovex::RESULT_OK;
}

// The entry point must keep the type hosts call it through.
static_assert(std::is_same_v<decltype(&getSQLDriverINFORMIX), quovex::GetSQLDriverFn>);
