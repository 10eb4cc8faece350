#include "infmeta.h"

#include <new>

namespace quovex::inf {

INFMetadata* INFMetadata::create(INFConnection& connection) noexcept {
  return new (std::nothrow) INFMetadata(connection);
}

ResultCode INFMetadata::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFMetadata::addRef() noexcept { return references_.add(); }

std::int32_t INFMetadata::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) delete this;
  return count;
}

// To be completed by the catalogue work: options and every listing.
ResultCode INFMetadata::setOption(OptionNumber, OptionValue) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFMetadata::getOption(OptionNumber, void*, std::int16_t, std::int16_t*) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFMetadata::listObjects(std::int32_t, SQLCursor**) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFMetadata::listTables(const char*, std::uint32_t, SQLCursor**) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFMetadata::listProcedures(const char*, std::uint32_t, SQLCursor**) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFMetadata::listColumns(const char*, const char*, std::uint32_t, SQLCursor**) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFMetadata::listProcedureParameters(const char*, const char*, SQLCursor**) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFMetadata::listIndexes(const char*, std::uint32_t, SQLCursor**) noexcept { return RESULT_NOT_SUPPORTED; }

}  // namespace quovex::inf
