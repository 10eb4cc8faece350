// INFMetadata: answers catalogue questions for its connection by running
// catalogue statements through commands of that connection. It keeps a plain
// pointer to the INFConnection that created it; the host releases it before
// the connection.
//
// This is the shell the connection hands out for now: lifetime works; the
// options and listings answer RESULT_NOT_SUPPORTED until the catalogue work
// completes them.
#pragma once

#include <cstdint>

#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFConnection;

class INFMetadata final : public SQLMetaData {
 public:
  // A new metadata object for `connection` with count 0, or null when it cannot be allocated.
  static INFMetadata* create(INFConnection& connection) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;
  ResultCode listObjects(std::int32_t objectKind, SQLCursor** cursor) noexcept override;
  ResultCode listTables(const char* tablePattern, std::uint32_t typeMask, SQLCursor** cursor) noexcept override;
  ResultCode listProcedures(const char* procedurePattern, std::uint32_t typeMask,
                            SQLCursor** cursor) noexcept override;
  ResultCode listColumns(const char* tableName, const char* columnPattern, std::uint32_t typeMask,
                         SQLCursor** cursor) noexcept override;
  ResultCode listProcedureParameters(const char* procedureName, const char* parameterPattern,
                                     SQLCursor** cursor) noexcept override;
  ResultCode listIndexes(const char* tableName, std::uint32_t typeMask, SQLCursor** cursor) noexcept override;

 private:
  explicit INFMetadata(INFConnection& connection) : connection_(&connection) {}
  ~INFMetadata() = default;

  ReferenceCount references_;
  INFConnection* connection_;  // not counted; outlives this object
};

}  // namespace quovex::inf
