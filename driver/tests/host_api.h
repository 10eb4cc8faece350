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
  ResultCode setParameter(std::uint16_t number, std::uint16_t childPosition, std::uint8_t direction,
                          std::uint16_t fieldType, std::uint16_t subtype, std::int32_t precision, std::int32_t scale,
                          std::uint32_t length, const void* value, std::int32_t isNull) const {
    return callSlot<ResultCode>(self, 5, number, childPosition, direction, fieldType, subtype, precision, scale,
                                length, const_cast<void*>(value), isNull);
  }
  ResultCode getParameter(std::uint16_t number, std::uint16_t childPosition, void* value, std::int32_t bufferLength,
                          std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 6, number, childPosition, value, bufferLength, isNull);
  }
  ResultCode prepare(const char* sql, std::uint16_t parameterCount) const {
    return callSlot<ResultCode>(self, 7, sql, parameterCount);
  }
  ResultCode execute(void** cursor) const { return callSlot<ResultCode>(self, 8, cursor); }
  ResultCode executeDirect(const char* sql, void** cursor) const { return callSlot<ResultCode>(self, 9, sql, cursor); }
  ResultCode nextResult(void** cursor) const { return callSlot<ResultCode>(self, 10, cursor); }
  ResultCode rowsAffected(std::int32_t* count) const { return callSlot<ResultCode>(self, 11, count); }
  ResultCode close() const { return callSlot<ResultCode>(self, 12); }
  ResultCode errorMessage(char* text) const { return callSlot<ResultCode>(self, 13, text); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 14, length); }

  // An input parameter that is not NULL.
  ResultCode set(std::uint16_t number, std::uint16_t fieldType, std::uint16_t subtype, std::uint32_t length,
                 const void* value) const {
    return setParameter(number, 0, 1, fieldType, subtype, 0, 0, length, value, 0);
  }
  ResultCode setNull(std::uint16_t number, std::uint16_t fieldType, std::uint16_t subtype = 0) const {
    return setParameter(number, 0, 1, fieldType, subtype, 0, 0, 0, nullptr, 1);
  }
  // errorMessageLength then errorMessage, as a host asks for the text.
  std::string errorText() const;
};

struct Cursor : Object {
  ResultCode setOption(std::int32_t option, std::intptr_t value) const {
    return callSlot<ResultCode>(self, 3, option, value);
  }
  ResultCode getOption(std::int32_t option, void* value, std::int16_t maxLength, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 4, option, value, maxLength, length);
  }
  ResultCode errorMessage(char* text) const { return callSlot<ResultCode>(self, 5, text); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 6, length); }
  ResultCode columnCount(std::int16_t* count) const { return callSlot<ResultCode>(self, 7, count); }
  ResultCode columnNameLength(std::uint16_t column, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 8, column, length);
  }
  ResultCode columnName(std::uint16_t column, char* name) const { return callSlot<ResultCode>(self, 9, column, name); }
  ResultCode columnType(std::uint16_t column, std::uint16_t* type, std::uint16_t* subtype) const {
    return callSlot<ResultCode>(self, 10, column, type, subtype);
  }
  ResultCode columnLength(std::uint16_t column, std::int32_t* length) const {
    return callSlot<ResultCode>(self, 11, column, length);
  }
  ResultCode columnPrecision(std::uint16_t column, std::int16_t* precision) const {
    return callSlot<ResultCode>(self, 12, column, precision);
  }
  ResultCode columnScale(std::uint16_t column, std::int16_t* scale) const {
    return callSlot<ResultCode>(self, 13, column, scale);
  }
  // Slots 14 to 18: nullable, auto-increment, read-only, searchable, blob size exact.
  ResultCode columnFlag(int slot, std::uint16_t column, std::int32_t* flag) const {
    return callSlot<ResultCode>(self, slot, column, flag);
  }
  ResultCode fetchNext() const { return callSlot<ResultCode>(self, 19); }
  ResultCode readString(std::uint16_t column, char* text, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 20, column, text, isNull);
  }
  ResultCode readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 21, column, value, isNull);
  }
  ResultCode readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 22, column, value, isNull);
  }
  ResultCode readDouble(std::uint16_t column, double* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 23, column, value, isNull);
  }
  ResultCode readBcd(std::uint16_t column, quovex::BcdRecord* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 24, column, value, isNull);
  }
  ResultCode readTimeStamp(std::uint16_t column, quovex::TimestampRecord* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 25, column, value, isNull);
  }
  ResultCode readTime(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 26, column, value, isNull);
  }
  ResultCode readDate(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 27, column, value, isNull);
  }
  ResultCode readBytes(std::uint16_t column, void* buffer, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 28, column, buffer, isNull);
  }
  ResultCode readBlobSize(std::uint16_t column, std::uint32_t* size, std::int32_t* isNull) const {
    return callSlot<ResultCode>(self, 29, column, size, isNull);
  }
  ResultCode readBlob(std::uint16_t column, void* buffer, std::int32_t* isNull, std::uint32_t length) const {
    return callSlot<ResultCode>(self, 30, column, buffer, isNull, length);
  }
};

struct MetaData : Object {
  ResultCode setOption(std::int32_t option, std::intptr_t value) const {
    return callSlot<ResultCode>(self, 3, option, value);
  }
  ResultCode getOption(std::int32_t option, void* value, std::int16_t maxLength, std::int16_t* length) const {
    return callSlot<ResultCode>(self, 4, option, value, maxLength, length);
  }
  ResultCode listObjects(std::int32_t kind, void** cursor) const { return callSlot<ResultCode>(self, 5, kind, cursor); }
  ResultCode listTables(const char* pattern, std::uint32_t mask, void** cursor) const {
    return callSlot<ResultCode>(self, 6, pattern, mask, cursor);
  }
  ResultCode listProcedures(const char* pattern, std::uint32_t mask, void** cursor) const {
    return callSlot<ResultCode>(self, 7, pattern, mask, cursor);
  }
  ResultCode listColumns(const char* table, const char* pattern, std::uint32_t mask, void** cursor) const {
    return callSlot<ResultCode>(self, 8, table, pattern, mask, cursor);
  }
  ResultCode listProcedureParameters(const char* procedure, const char* pattern, void** cursor) const {
    return callSlot<ResultCode>(self, 9, procedure, pattern, cursor);
  }
  ResultCode listIndexes(const char* table, std::uint32_t mask, void** cursor) const {
    return callSlot<ResultCode>(self, 10, table, mask, cursor);
  }
  ResultCode errorMessage(char* text) const { return callSlot<ResultCode>(self, 11, text); }
  ResultCode errorMessageLength(std::int16_t* length) const { return callSlot<ResultCode>(self, 12, length); }
};

}  // namespace host
