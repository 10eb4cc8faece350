// The driver as a host sees it: the library loaded with dlopen, the entry
// point found by name, and every operation called through the object's table
// of operations by slot number. Slot numbers are written out here as the
// host contract lists them, independently of the contract header's classes.
#pragma once

#include <cstdint>
#include <string>

#include "quovex/types.h"

namespace host {

using quovex::ResultCode;

// Calls slot `slot` of `object`'s table, passing the object first.
template <typename Result, typename... Args>
Result callSlot(void* object, int slot, Args... args) {
  using Operation = Result (*)(void*, Args...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Operation>(table[slot])(object, args...);
}

// getSQLDriverINFORMIX of the loaded library (loaded once, never unloaded).
ResultCode getDriver(const char* first, const char* second, void** driver);

// Slots 0 to 2, the same on every interface.
struct Object {
  void* self = nullptr;
  ResultCode query(void* first, void* second) const { return callSlot<ResultCode>(self, 0, first, second); }
  std::int32_t addRef() const { return callSlot<std::int32_t>(self, 1); }
  std::int32_t release() const { return callSlot<std::int32_t>(self, 2); }
};

struct Connection;

struct Driver : Object {
  ResultCode createConnection(void** connection) const { return callSlot<ResultCode>(self, 3, connection); }
  ResultCode setOption(std::int32_t option, std::intptr_t value) const {
    return callSlot<ResultCode>(self, 4, option, value);
  }
  ResultCode getOption(std::int32_t option, void* value, std::int16_t maxLength, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 5, option, value, maxLength, length);
  }
};

struct Connection : Object {
  ResultCode connect(const char* database, const char* user = "", const char* password = "") const {
    return callSlot<ResultCode>(self, 3, database, user, password);
  }
  ResultCode disconnect() const { return callSlot<ResultCode>(self, 4); }
  ResultCode createCommand(void** command) const { return callSlot<ResultCode>(self, 5, command); }
  ResultCode createMetaData(void** metadata) const { return callSlot<ResultCode>(self, 6, metadata); }
  ResultCode setOption(std::int32_t option, std::intptr_t value) const {
    return callSlot<ResultCode>(self, 7, option, value);
  }
  ResultCode getOption(std::int32_t option, void* value, std::int16_t maxLength, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 8, option, value, maxLength, length);
  }
  ResultCode begin(quovex::TransactionDesc* desc) const { return callSlot<ResultCode>(self, 9, desc); }
  ResultCode commit(quovex::TransactionDesc* desc) const { return callSlot<ResultCode>(self, 10, desc); }
  ResultCode rollback(quovex::TransactionDesc* desc) const { return callSlot<ResultCode>(self, 11, desc); }
  ResultCode errorMessage(char* text) const { return callSlot<ResultCode>(self, 12, text); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 13, length); }

  // errorMessageLength then errorMessage, as a host asks for the text.
  std::string errorText() const;
  // A 32-bit number option.
  std::int32_t numberOption(std::int32_t option) const;
};

struct Command : Object {
  ResultCode setOption(std::int32_t option, std::intptr_t value) const {
    return callSlot<ResultCode>(self, 3, option, value);
  }
  ResultCode getOption(std::int32_t option, void* value, std::int16_t maxLength, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 4, option, value, maxLength, length);
  }
  ResultCode nextResult(void** cursor) const { return callSlot<ResultCode>(self, 10, cursor); }
  ResultCode rowsAffected(std::int32_t* count) const { return callSlot<ResultCode>(self, 11, count); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 14, length); }
};

struct MetaData : Object {
  ResultCode errorMessage(char* text) const { return callSlot<ResultCode>(self, 11, text); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 12, length); }
};

}  // namespace host
