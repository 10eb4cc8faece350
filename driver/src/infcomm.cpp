#include "infcomm.h"

#include <cstring>
#include <new>

#include "option_values.h"

namespace quovex::inf {
namespace {

enum CommandOption {
  kOptionSizeSetting = 1,
  kOptionReadsZero2 = 2,
  kOptionReadsZero3 = 3,
  kOptionParameterCount = 4,
  kOptionRefusedOnRead = 5,
  kOptionRefusedByStatement = 6,
  kOptionProcedureMode = 7,
  kOptionAcceptedNoEffect = 10,
};

}  // namespace

INFCommand* INFCommand::create(INFConnection& connection) noexcept {
  return new (std::nothrow) INFCommand(connection);
}

ResultCode INFCommand::attachClientStatement(ClientConnection* client) noexcept {
  return makeClientStatement(client, statement_);
}

ResultCode INFCommand::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFCommand::addRef() noexcept { return references_.add(); }

std::int32_t INFCommand::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) delete this;  // frees the client statement record with the command
  return count;
}

ResultCode INFCommand::setOption(OptionNumber option, OptionValue value) noexcept {
  switch (optionKey(option)) {
    case kOptionSizeSetting: sizeSetting_ = static_cast<std::int32_t>(value); return RESULT_OK;
    case kOptionParameterCount: parameterCount_ = static_cast<std::uint16_t>(value); return RESULT_OK;
    case kOptionRefusedByStatement: return RESULT_CLIENT_NOT_SUPPORTED;
    case kOptionProcedureMode: procedureMode_ = value != 0; return RESULT_OK;
    case kOptionAcceptedNoEffect: return RESULT_OK;
    default: return RESULT_NOT_SUPPORTED;
  }
}

ResultCode INFCommand::getOption(OptionNumber option, void* value, std::int16_t /*maxLength*/,
                                 std::int16_t* /*length*/) noexcept {
  switch (optionKey(option)) {
    case kOptionReadsZero2:
    case kOptionReadsZero3: return writeNumber(value, 0);
    case kOptionParameterCount: return writeNumber(value, parameterCount_);
    case kOptionRefusedOnRead: return RESULT_NOT_SUPPORTED;
    default: return RESULT_NOT_SUPPORTED;
  }
}

// To be completed by the command work: parameters, prepare, execute, close.
ResultCode INFCommand::setParameter(std::uint16_t, std::uint16_t, std::uint8_t, std::uint16_t, std::uint16_t,
                                    std::int32_t, std::int32_t, std::uint32_t, void*, std::int32_t) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFCommand::getParameter(std::uint16_t, std::uint16_t, void*, std::int32_t, std::int32_t*) noexcept {
  return RESULT_NOT_SUPPORTED;
}

ResultCode INFCommand::prepare(const char*, std::uint16_t) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFCommand::execute(SQLCursor**) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFCommand::executeDirect(const char*, SQLCursor**) noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFCommand::close() noexcept { return RESULT_NOT_SUPPORTED; }

ResultCode INFCommand::rowsAffected(std::int32_t* count) noexcept { return writeNumber(count, rowsAffected_); }

ResultCode INFCommand::errorMessage(char* text) noexcept {
  if (text != nullptr) std::memcpy(text, errorText_, std::strlen(errorText_) + 1);
  return RESULT_OK;
}

ResultCode INFCommand::errorMessageLength(std::int16_t* length) noexcept {
  if (!statement_) return RESULT_INVALID_HANDLE;
  if (length == nullptr) return RESULT_INVALID_PARAMETER;
  errorLength_ =
      buildClientErrorText(statement_->connection, statement_->lastStatus, errorText_, sizeof errorText_);
  *length = errorLength_;
  return RESULT_OK;
}

}  // namespace quovex::inf
