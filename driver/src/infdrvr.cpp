#include "infdrvr.h"

#include <new>

#include "client/client_roles.h"
#include "infconn.h"
#include "option_values.h"

namespace quovex::inf {
namespace {

constexpr int kOptionSizeSetting = 0;
constexpr int kOptionStored1 = 1;
constexpr int kOptionStored2 = 2;

}  // namespace

INFDriver* INFDriver::create() noexcept { return new (std::nothrow) INFDriver; }

ResultCode INFDriver::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFDriver::addRef() noexcept { return references_.add(); }

std::int32_t INFDriver::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) {
    stopClientLibrary();
    delete this;
  }
  return count;
}

ResultCode INFDriver::createConnection(SQLConnection** connection) noexcept {
  // Without a place nothing could be handed out, so nothing is made: a
  // connection made here would have no owner and leak.
  if (connection == nullptr) return RESULT_OK;
  INFConnection* made = INFConnection::create();
  if (made == nullptr) return RESULT_NO_MEMORY;
  made->addRef();
  made->setOption(INFConnection::kOptionSizeSetting, sizeSetting_);
  *connection = made;
  return RESULT_OK;
}

ResultCode INFDriver::setOption(OptionNumber option, OptionValue value) noexcept {
  switch (optionKey(option)) {
    case kOptionSizeSetting: sizeSetting_ = static_cast<std::int32_t>(value); return RESULT_OK;
    case kOptionStored1: storedValue1_ = static_cast<std::int32_t>(value); return RESULT_OK;
    case kOptionStored2: storedValue2_ = static_cast<std::int32_t>(value); return RESULT_OK;
    default: return RESULT_NOT_SUPPORTED;
  }
}

ResultCode INFDriver::getOption(OptionNumber option, void* value, std::int16_t /*maxLength*/,
                                std::int16_t* /*length*/) noexcept {
  if (optionKey(option) != kOptionSizeSetting) return RESULT_NOT_SUPPORTED;
  return writeNumber(value, sizeSetting_);
}

}  // namespace quovex::inf
