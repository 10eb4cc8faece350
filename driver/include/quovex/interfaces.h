// The five interfaces of the Quovex driver framework.
//
// Each interface is an abstract class whose virtual functions are declared in
// slot order and nothing else is virtual (no virtual destructor), so the
// object's first member is the address of its table of operations and entry N
// of that table is slot N. A host that does not use these classes calls slot N
// as ((Fn*)(*(void***)object))[N](object, args...), passing the object first
// (Itanium C++ ABI on x86-64). The slot order is binary contract: never insert,
// remove or reorder a virtual function here.
//
// Lifetime: every object is reference counted. A freshly obtained object has
// count 1 and is owned by the host, which ends each reference with release().
// Children (commands, metadata objects, cursors) keep a plain pointer to their
// parent and must be released before it. Objects are not thread-safe: the host
// serialises its calls.
//
// A virtual function with a body below is a base-class default: it ignores its
// arguments and returns RESULT_NOT_SUPPORTED. Pure slots are filled by every
// concrete class.
#pragma once

#include <cstdint>

#include "quovex/types.h"

namespace quovex {

class SQLConnection;
class SQLCommand;
class SQLCursor;
class SQLMetaData;

class SQLDriver {
 public:
  /* 0 */ virtual ResultCode query(void* first, void* second) = 0;
  /* 1 */ virtual std::int32_t addRef() = 0;
  /* 2 */ virtual std::int32_t release() = 0;
  /* 3 */ virtual ResultCode createConnection(SQLConnection** connection) = 0;
  /* 4 */ virtual ResultCode setOption(OptionNumber option, OptionValue value) = 0;
  /* 5 */ virtual ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                       std::int16_t* length) = 0;

 protected:
  ~SQLDriver() = default;
};

class SQLConnection {
 public:
  /* 0 */ virtual ResultCode query(void* first, void* second) = 0;
  /* 1 */ virtual std::int32_t addRef() = 0;
  /* 2 */ virtual std::int32_t release() = 0;
  /* 3 */ virtual ResultCode connect(const char* database, const char* user, const char* password) = 0;
  /* 4 */ virtual ResultCode disconnect() = 0;
  /* 5 */ virtual ResultCode createCommand(SQLCommand** command) = 0;
  /* 6 */ virtual ResultCode createMetaData(SQLMetaData** metadata) = 0;
  /* 7 */ virtual ResultCode setOption(OptionNumber option, OptionValue value) = 0;
  /* 8 */ virtual ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                       std::int16_t* length) = 0;
  /* 9 */ virtual ResultCode beginTransaction(TransactionDesc* /*desc*/) { return RESULT_NOT_SUPPORTED; }
  /* 10 */ virtual ResultCode commitTransaction(TransactionDesc* /*desc*/) { return RESULT_NOT_SUPPORTED; }
  /* 11 */ virtual ResultCode rollbackTransaction(TransactionDesc* /*desc*/) { return RESULT_NOT_SUPPORTED; }
  // Copies the text built by errorMessageLength (at most 256 characters and a
  // NUL); ask errorMessageLength first and pass a buffer of that size.
  /* 12 */ virtual ResultCode errorMessage(char* text) = 0;
  // Builds the error text of the last failure and gives its length with the NUL.
  /* 13 */ virtual ResultCode errorMessageLength(std::int16_t* length) = 0;

 protected:
  ~SQLConnection() = default;
};

class SQLCommand {
 public:
  /* 0 */ virtual ResultCode query(void* first, void* second) = 0;
  /* 1 */ virtual std::int32_t addRef() = 0;
  /* 2 */ virtual std::int32_t release() = 0;
  /* 3 */ virtual ResultCode setOption(OptionNumber option, OptionValue value) = 0;
  /* 4 */ virtual ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                       std::int16_t* length) = 0;
  /* 5 */ virtual ResultCode setParameter(std::uint16_t number, std::uint16_t childPosition,
                                          std::uint8_t direction, std::uint16_t fieldType,
                                          std::uint16_t subtype, std::int32_t precision, std::int32_t scale,
                                          std::uint32_t length, void* value, std::int32_t isNull) = 0;
  /* 6 */ virtual ResultCode getParameter(std::uint16_t number, std::uint16_t childPosition, void* value,
                                          std::int32_t bufferLength, std::int32_t* isNull) = 0;
  /* 7 */ virtual ResultCode prepare(const char* sql, std::uint16_t parameterCount) = 0;
  /* 8 */ virtual ResultCode execute(SQLCursor** cursor) = 0;
  /* 9 */ virtual ResultCode executeDirect(const char* sql, SQLCursor** cursor) = 0;
  /* 10 */ virtual ResultCode nextResult(SQLCursor** /*cursor*/) { return RESULT_NOT_SUPPORTED; }
  /* 11 */ virtual ResultCode rowsAffected(std::int32_t* count) = 0;
  /* 12 */ virtual ResultCode close() = 0;
  /* 13 */ virtual ResultCode errorMessage(char* text) = 0;
  /* 14 */ virtual ResultCode errorMessageLength(std::int16_t* length) = 0;

 protected:
  ~SQLCommand() = default;
};

// Columns are numbered from 1; every isNull output is set to 1 for NULL, 0 otherwise.
class SQLCursor {
 public:
  /* 0 */ virtual ResultCode query(void* first, void* second) = 0;
  /* 1 */ virtual std::int32_t addRef() = 0;
  /* 2 */ virtual std::int32_t release() = 0;
  /* 3 */ virtual ResultCode setOption(OptionNumber /*option*/, OptionValue /*value*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 4 */ virtual ResultCode getOption(OptionNumber /*option*/, void* /*value*/, std::int16_t /*maxLength*/,
                                       std::int16_t* /*length*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 5 */ virtual ResultCode errorMessage(char* /*text*/) { return RESULT_NOT_SUPPORTED; }
  /* 6 */ virtual ResultCode errorMessageLength(std::int16_t* /*length*/) { return RESULT_NOT_SUPPORTED; }
  /* 7 */ virtual ResultCode columnCount(std::int16_t* count) = 0;
  /* 8 */ virtual ResultCode columnNameLength(std::uint16_t column, std::int16_t* length) = 0;
  /* 9 */ virtual ResultCode columnName(std::uint16_t column, char* name) = 0;
  /* 10 */ virtual ResultCode columnType(std::uint16_t column, std::uint16_t* fieldType, std::uint16_t* subtype) = 0;
  /* 11 */ virtual ResultCode columnLength(std::uint16_t column, std::int32_t* length) = 0;
  /* 12 */ virtual ResultCode columnPrecision(std::uint16_t column, std::int16_t* precision) = 0;
  /* 13 */ virtual ResultCode columnScale(std::uint16_t column, std::int16_t* scale) = 0;
  /* 14 */ virtual ResultCode columnNullable(std::uint16_t column, std::int32_t* nullable) = 0;
  /* 15 */ virtual ResultCode columnAutoIncrement(std::uint16_t column, std::int32_t* autoIncrement) = 0;
  /* 16 */ virtual ResultCode columnReadOnly(std::uint16_t column, std::int32_t* readOnly) = 0;
  /* 17 */ virtual ResultCode columnSearchable(std::uint16_t column, std::int32_t* searchable) = 0;
  /* 18 */ virtual ResultCode blobSizeExact(std::uint16_t /*column*/, std::int32_t* /*exact*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 19 */ virtual ResultCode fetchNext() = 0;
  /* 20 */ virtual ResultCode readString(std::uint16_t /*column*/, char* /*text*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 21 */ virtual ResultCode readShort(std::uint16_t /*column*/, std::int16_t* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 22 */ virtual ResultCode readLong(std::uint16_t /*column*/, std::int32_t* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 23 */ virtual ResultCode readDouble(std::uint16_t /*column*/, double* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 24 */ virtual ResultCode readBcd(std::uint16_t /*column*/, BcdRecord* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 25 */ virtual ResultCode readTimeStamp(std::uint16_t /*column*/, TimestampRecord* /*value*/,
                                           std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 26 */ virtual ResultCode readTime(std::uint16_t /*column*/, std::int32_t* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 27 */ virtual ResultCode readDate(std::uint16_t /*column*/, std::int32_t* /*value*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 28 */ virtual ResultCode readBytes(std::uint16_t /*column*/, void* /*buffer*/, std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 29 */ virtual ResultCode readBlobSize(std::uint16_t /*column*/, std::uint32_t* /*size*/,
                                          std::int32_t* /*isNull*/) {
    return RESULT_NOT_SUPPORTED;
  }
  /* 30 */ virtual ResultCode readBlob(std::uint16_t /*column*/, void* /*buffer*/, std::int32_t* /*isNull*/,
                                      std::uint32_t /*length*/) {
    return RESULT_NOT_SUPPORTED;
  }

 protected:
  ~SQLCursor() = default;
};

// Each listing hands out a new catalogue cursor through its last argument.
class SQLMetaData {
 public:
  /* 0 */ virtual ResultCode query(void* first, void* second) = 0;
  /* 1 */ virtual std::int32_t addRef() = 0;
  /* 2 */ virtual std::int32_t release() = 0;
  /* 3 */ virtual ResultCode setOption(OptionNumber option, OptionValue value) = 0;
  /* 4 */ virtual ResultCode getOption(OptionNumber option, void* value, std::int16_t maxLength,
                                       std::int16_t* length) = 0;
  /* 5 */ virtual ResultCode listObjects(std::int32_t objectKind, SQLCursor** cursor) = 0;
  /* 6 */ virtual ResultCode listTables(const char* tablePattern, std::uint32_t typeMask, SQLCursor** cursor) = 0;
  /* 7 */ virtual ResultCode listProcedures(const char* procedurePattern, std::uint32_t typeMask,
                                            SQLCursor** cursor) = 0;
  /* 8 */ virtual ResultCode listColumns(const char* tableName, const char* columnPattern, std::uint32_t typeMask,
                                         SQLCursor** cursor) = 0;
  /* 9 */ virtual ResultCode listProcedureParameters(const char* procedureName, const char* parameterPattern,
                                                     SQLCursor** cursor) = 0;
  /* 10 */ virtual ResultCode listIndexes(const char* tableName, std::uint32_t typeMask, SQLCursor** cursor) = 0;
  /* 11 */ virtual ResultCode errorMessage(char* /*text*/) { return RESULT_NOT_SUPPORTED; }
  /* 12 */ virtual ResultCode errorMessageLength(std::int16_t* /*length*/) { return RESULT_NOT_SUPPORTED; }

 protected:
  ~SQLMetaData() = default;
};

// Number of slots of each interface's table of operations.
inline constexpr int SQL_DRIVER_SLOTS = 6;
inline constexpr int SQL_CONNECTION_SLOTS = 14;
inline constexpr int SQL_COMMAND_SLOTS = 15;
inline constexpr int SQL_CURSOR_SLOTS = 31;
inline constexpr int SQL_METADATA_SLOTS = 13;

}  // namespace quovex
