// INFCommand: prepares and executes SQL texts and stored procedures on its
// connection. It keeps a plain pointer to the INFConnection that created it
// and works through its own ClientStatement on the connection's client
// record; the host releases it before the connection.
//
// This is the shell the connection hands out for now: lifetime, options and
// error text work; preparing, parameters, executing and closing answer
// RESULT_NOT_SUPPORTED until the command work completes them.
#pragma once

#include <cstdint>
#include <memory>

#include "client_error.h"
#include "client_statement.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFConnection;

class INFCommand final : public SQLCommand {
 public:
  static constexpr int kOptionSizeSetting = 1;

  // A new command on `connection` with count 0, or null when it cannot be allocated.
  static INFCommand* create(INFConnection& connection) noexcept;

  // Makes the command's client statement on the connection's client record:
  // RESULT_INVALID_HANDLE without a record, RESULT_CLIENT_NO_MEMORY when it
  // cannot be allocated; the command then exists without statement.
  ResultCode attachClientStatement(ClientConnection* client) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;
  ResultCode setParameter(std::uint16_t number, std::uint16_t childPosition, std::uint8_t direction,
                          std::uint16_t fieldType, std::uint16_t subtype, std::int32_t precision, std::int32_t scale,
                          std::uint32_t length, void* value, std::int32_t isNull) noexcept override;
  ResultCode getParameter(std::uint16_t number, std::uint16_t childPosition, void* value,
                          std::int32_t bufferLength, std::int32_t* isNull) noexcept override;
  ResultCode prepare(const char* sql, std::uint16_t parameterCount) noexcept override;
  ResultCode execute(SQLCursor** cursor) noexcept override;
  ResultCode executeDirect(const char* sql, SQLCursor** cursor) noexcept override;
  // nextResult keeps the base default: a command never has a second result set.
  ResultCode rowsAffected(std::int32_t* count) noexcept override;
  ResultCode close() noexcept override;
  ResultCode errorMessage(char* text) noexcept override;
  ResultCode errorMessageLength(std::int16_t* length) noexcept override;

 private:
  explicit INFCommand(INFConnection& connection) : connection_(&connection) {}
  ~INFCommand() = default;

  ReferenceCount references_;
  INFConnection* connection_;  // not counted; outlives the command
  std::unique_ptr<ClientStatement> statement_;
  std::int32_t rowsAffected_ = 0;
  std::uint16_t parameterCount_ = 0;
  bool procedureMode_ = false;
  char errorText_[kErrorTextSize] = {};
  std::int16_t errorLength_ = 0;
  std::int32_t sizeSetting_ = 0;  // option 1; stored, no other effect
};

}  // namespace quovex::inf
