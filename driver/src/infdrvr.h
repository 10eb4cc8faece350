// INFDriver: the driver object handed out by getSQLDriverINFORMIX. It creates
// connections and keeps three option values; the size setting (option 0) is
// handed to every connection it creates. Connections do not refer back to
// the driver and may outlive it.
#pragma once

#include <cstdint>

#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFDriver final : public SQLDriver {
 public:
  // A new driver with count 0, or null when it cannot be allocated.
  static INFDriver* create() noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  ResultCode createConnection(SQLConnection** connection) noexcept override;
  ResultCode setOption(OptionNumber option, OptionValue value) noexcept override;
  ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                       std::int16_t* length) noexcept override;

 private:
  INFDriver() = default;
  ~INFDriver() = default;

  ReferenceCount references_;
  std::int32_t sizeSetting_ = 1024;  // option 0
  std::int32_t storedValue1_ = 0;    // option 1, stored only
  std::int32_t storedValue2_ = 0;    // option 2, stored only
};

}  // namespace quovex::inf
