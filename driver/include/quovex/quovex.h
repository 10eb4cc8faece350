// The Quovex host contract: everything a host program needs to load and use
// the Informix driver library libquovexinf.so.
//
//   void* lib = dlopen("libquovexinf.so", RTLD_NOW);
//   auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(dlsym(lib, quovex::kEntryPointName));
//   quovex::SQLDriver* driver = nullptr;
//   entry(nullptr, nullptr, &driver);   // driver has reference count 1
//
// The library exports this one function and nothing else.
#pragma once

#include "quovex/dates.h"
#include "quovex/interfaces.h"
#include "quovex/types.h"

namespace quovex {

// getSQLDriverINFORMIX(first, second, out driver): hands out a new driver
// object with reference count 1 and returns RESULT_OK; with no place for the
// driver returns RESULT_NO_MEMORY and allocates nothing. The two texts are the
// host's and are not read.
using GetSQLDriverFn = ResultCode (*)(const char* first, const char* second, SQLDriver** driver);

inline constexpr const char* kEntryPointName = "getSQLDriverINFORMIX";

}  // namespace quovex
