// Roles 794, 788, 796, 798, 818, 814, 812, 772, 800: large objects.
#include <new>

#include "lob_store.h"
#include "value_call.h"

using namespace ifxrt;

// The creation record: which kind of object to make.
struct IfxLobSpec {
  int32_t kind = IFX_XID_BLOB;
};

namespace {

int32_t createOnCurrent(const IfxLobSpec* creation, IfxLobHandle* handle) {
  if (creation == nullptr || handle == nullptr) return code::kLobBadDescriptor;
  Database* database = runtime().connections.current();
  if (database == nullptr) return code::kConnectionDoesNotExist;
  int64_t id = 0;
  const Status status = createLob(*database, creation->kind, id);
  if (status.failed()) return status.code;
  writeLobHandle(lobNameFor(database->handle(), id, creation->kind), *handle);
  return 0;
}

int32_t openOnCurrent(const IfxLobHandle* handle, int32_t mode) {
  LobName name;
  if (handle == nullptr || !readLobHandle(*handle, name)) return code::kLobBadDescriptor;
  Runtime& rt = runtime();
  Database* database = rt.connections.current();
  if (database == nullptr) return code::kConnectionDoesNotExist;
  return rt.lobs.open(*database, name, mode);
}

}  // namespace

extern "C" {

IFXRT_API int32_t clientLobSpec(IfxLobSpec** creation) {
  if (creation != nullptr) *creation = nullptr;
  return runValueCall(IFX_ROLE_LOB_SPEC, [&]() -> int32_t {
    if (creation == nullptr) return code::kLobBadDescriptor;
    *creation = new (std::nothrow) IfxLobSpec;
    return *creation != nullptr ? 0 : code::kOutOfMemory;
  });
}

IFXRT_API int32_t clientLobFreeSpec(IfxLobSpec* creation) {
  int32_t result = 0;
  try {
    if (const std::optional<Fault> fault = runtime().faults.countCall(IFX_ROLE_LOB_FREE_SPEC)) result = fault->code;
  } catch (...) {
  }
  delete creation;  // freed even when a fault is planned
  return result;
}

IFXRT_API int32_t clientLobSpecSetType(IfxLobSpec* creation, int32_t extendedType) {
  if (creation == nullptr || (extendedType != IFX_XID_BLOB && extendedType != IFX_XID_CLOB)) return code::kLobBadDescriptor;
  creation->kind = extendedType;
  return 0;
}

IFXRT_API int32_t clientLobCreate(IfxLobSpec* creation, int32_t /*mode*/, IfxLobHandle* handle) {
  return runValueCall(IFX_ROLE_LOB_CREATE, [&] { return createOnCurrent(creation, handle); });
}

IFXRT_API int32_t clientLobOpen(const IfxLobHandle* handle, int32_t mode) {
  return runValueCall(IFX_ROLE_LOB_OPEN, [&] { return openOnCurrent(handle, mode); });
}

IFXRT_API int32_t clientLobWrite(int32_t descriptor, const char* buffer, int32_t length) {
  return runValueCall(IFX_ROLE_LOB_WRITE, [&] { return runtime().lobs.write(descriptor, buffer, length); });
}

IFXRT_API int32_t clientLobRead(int32_t descriptor, char* buffer, int32_t length) {
  return runValueCall(IFX_ROLE_LOB_READ, [&] { return runtime().lobs.read(descriptor, buffer, length); });
}

IFXRT_API int32_t clientLobStat(int32_t descriptor, IfxLobStat* stat) {
  return runValueCall(IFX_ROLE_LOB_STAT, [&]() -> int32_t {
    if (stat == nullptr) return code::kLobBadDescriptor;
    return runtime().lobs.stat(descriptor, *stat);
  });
}

IFXRT_API int32_t clientLobSize(const IfxLobStat* stat, int64_t* size) {
  return runValueCall(IFX_ROLE_LOB_SIZE, [&]() -> int32_t {
    if (stat == nullptr || size == nullptr) return code::kLobBadDescriptor;
    *size = stat->size;
    return 0;
  });
}

IFXRT_API int32_t clientLobClose(int32_t descriptor) {
  return runValueCall(IFX_ROLE_LOB_CLOSE, [&] {
    Runtime& rt = runtime();
    return rt.lobs.close(descriptor, rt.connections.current());
  });
}

}  // extern "C"
