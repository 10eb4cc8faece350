#include "infcurs.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "client/client_statement.h"
#include "client/client_types.h"
#include "client/client_values.h"
#include "infcomm.h"
#include "option_values.h"
#include "quovex/dates.h"

namespace quovex::inf {
namespace {

template <typename T>
ResultCode writeOut(T* place, T value) {
  if (place == nullptr) return RESULT_INVALID_PARAMETER;
  *place = value;
  return RESULT_OK;
}

}  // namespace

INFCursor* INFCursor::create(Shared<CommandLink> command) noexcept {
  return new (std::nothrow) INFCursor(std::move(command));
}

INFCommand* INFCursor::reachableCommand() const {
  INFCommand* command = command_->command;
  return command != nullptr && command->clientStatement() != nullptr ? command : nullptr;
}

ResultCode INFCursor::query(void* /*first*/, void* /*second*/) noexcept { return RESULT_OK; }

std::int32_t INFCursor::addRef() noexcept { return references_.add(); }

std::int32_t INFCursor::release() noexcept {
  const std::int32_t count = references_.drop();
  if (count == 0) {
    if (INFCommand* command = command_->command) command->cursorReleased(this);  // ends the statement's results
    delete this;
  }
  return count;
}

ResultCode INFCursor::errorMessage(char* text) noexcept {
  INFCommand* command = command_->command;
  return command != nullptr ? command->errorMessage(text) : RESULT_INVALID_HANDLE;
}

ResultCode INFCursor::errorMessageLength(std::int16_t* length) noexcept {
  INFCommand* command = command_->command;
  return command != nullptr ? command->errorMessageLength(length) : RESULT_INVALID_HANDLE;
}

const std::vector<ColumnDescriptor>& INFCursor::columns() const {
  static const std::vector<ColumnDescriptor> kNone;
  const INFCommand* command = reachableCommand();
  return command != nullptr ? command->columns(this) : kNone;
}

RowBuffer* INFCursor::rowBuffer() {
  INFCommand* command = reachableCommand();
  return command != nullptr ? command->rowBuffer(this) : nullptr;
}

ClientStatement* INFCursor::statement() {
  const INFCommand* command = reachableCommand();
  return command != nullptr ? command->clientStatement() : nullptr;
}

ResultCode INFCursor::lookUp(std::uint16_t column, const ColumnDescriptor*& found) const {
  found = nullptr;
  if (reachableCommand() == nullptr) return RESULT_INVALID_HANDLE;
  const auto& all = columns();
  if (column == 0 || column > all.size()) return RESULT_OUT_OF_RANGE;
  found = &all[column - 1];
  return RESULT_OK;
}

// ---- column descriptions ----

ResultCode INFCursor::columnCount(std::int16_t* count) noexcept {
  if (reachableCommand() == nullptr) return RESULT_INVALID_HANDLE;
  return writeOut(count, static_cast<std::int16_t>(columns().size()));
}

ResultCode INFCursor::columnNameLength(std::uint16_t column, std::int16_t* length) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(length, static_cast<std::int16_t>(d->name.size() + 1));
}

ResultCode INFCursor::columnName(std::uint16_t column, char* name) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  if (name == nullptr) return RESULT_INVALID_PARAMETER;
  std::memcpy(name, d->name.c_str(), d->name.size() + 1);
  return RESULT_OK;
}

ResultCode INFCursor::columnType(std::uint16_t column, std::uint16_t* fieldType, std::uint16_t* subtype) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  if (fieldType == nullptr || subtype == nullptr) return RESULT_INVALID_PARAMETER;
  *fieldType = static_cast<std::uint16_t>(d->fieldType);
  *subtype = static_cast<std::uint16_t>(d->subtype);
  return RESULT_OK;
}

ResultCode INFCursor::columnLength(std::uint16_t column, std::int32_t* length) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(length, d->length);
}

ResultCode INFCursor::columnPrecision(std::uint16_t column, std::int16_t* precision) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(precision, d->precision);
}

ResultCode INFCursor::columnScale(std::uint16_t column, std::int16_t* scale) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(scale, d->scale);
}

ResultCode INFCursor::columnNullable(std::uint16_t column, std::int32_t* nullable) noexcept {
  if (nullable == nullptr) return RESULT_INVALID_PARAMETER;
  *nullable = 1;
  const ColumnDescriptor* d = nullptr;
  return lookUp(column, d);
}

ResultCode INFCursor::columnAutoIncrement(std::uint16_t column, std::int32_t* autoIncrement) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(autoIncrement, 0);
}

ResultCode INFCursor::columnReadOnly(std::uint16_t column, std::int32_t* readOnly) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return writeOut(readOnly, 0);
}

ResultCode INFCursor::columnSearchable(std::uint16_t column, std::int32_t* searchable) noexcept {
  if (searchable == nullptr) return RESULT_INVALID_PARAMETER;
  *searchable = 1;
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  if (isLocatorType(d->clientType)) *searchable = 0;
  return RESULT_OK;
}

ResultCode INFCursor::blobSizeExact(std::uint16_t /*column*/, std::int32_t* exact) noexcept {
  return writeOut(exact, 1);
}

// ---- rows ----

ResultCode INFCursor::fetchNext() noexcept {
  ClientStatement* client = statement();
  RowBuffer* buffer = rowBuffer();
  if (client == nullptr || buffer == nullptr) return RESULT_INVALID_HANDLE;
  return fetchClientRow(*client, columns(), *buffer);
}

template <typename Out, typename Convert>
ResultCode INFCursor::readValue(std::uint16_t column, std::int16_t fieldType, Out* out, std::int32_t* isNull,
                                Convert convert) {
  Value v;
  if (ResultCode found = lookUp(column, v.column); found != RESULT_OK) return found;
  if (v.column->fieldType != fieldType) return RESULT_INVALID_CONVERSION;
  RowBuffer* buffer = rowBuffer();
  if (buffer == nullptr) return RESULT_INVALID_HANDLE;
  if (isNull == nullptr) return RESULT_INVALID_PARAMETER;
  v.null = buffer->indicator(*v.column) == kIndicatorNull;
  *isNull = v.null ? 1 : 0;
  if (v.null) return RESULT_OK;
  if (out == nullptr) return RESULT_INVALID_PARAMETER;
  v.slot = buffer->slot(*v.column);
  return convert(v, *out);
}

ResultCode INFCursor::readString(std::uint16_t column, char* text, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_STRING, text, isNull, [](const Value& v, char& first) -> ResultCode {
    // At most `precision` characters and the NUL, and never more than the
    // reported length: that is the buffer the host was told to provide.
    const auto limit =
        static_cast<std::size_t>(std::max(0, std::min<std::int32_t>(v.column->precision, v.column->length - 1)));
    const std::size_t copied =
        strnlen(reinterpret_cast<const char*>(v.slot), std::min<std::size_t>(limit, v.column->slotSize));
    char* text = &first;
    std::memcpy(text, v.slot, copied);
    std::memset(text + copied, 0, limit - copied + 1);
    return RESULT_OK;
  });
}

namespace {

// Copies a slot of exactly the value's size.
constexpr auto copySlot = [](const auto& v, auto& value) -> ResultCode {
  std::memcpy(&value, v.slot, sizeof value);
  return RESULT_OK;
};

}  // namespace

ResultCode INFCursor::readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_INT16, value, isNull, copySlot);
}

ResultCode INFCursor::readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_INT32, value, isNull, copySlot);
}

ResultCode INFCursor::readDouble(std::uint16_t column, double* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_FLOAT, value, isNull, [](const Value& v, double& out) -> ResultCode {
    if (v.column->slotSize == sizeof(float)) {
      float single = 0;
      std::memcpy(&single, v.slot, sizeof single);
      out = single;
      return RESULT_OK;
    }
    if (v.column->slotSize == sizeof(double)) return copySlot(v, out);
    return RESULT_INVALID_PRECISION;
  });
}

ResultCode INFCursor::readBcd(std::uint16_t column, BcdRecord* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_BCD, value, isNull, [](const Value& v, BcdRecord& out) -> ResultCode {
    return clientDecimalToBcd(v.slot, v.column->clientScale, out);
  });
}

ResultCode INFCursor::readTimeStamp(std::uint16_t column, TimestampRecord* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_TIMESTAMP, value, isNull, [](const Value& v, TimestampRecord& out) -> ResultCode {
    clientDatetimeToTimestamp(v.slot, out);
    return RESULT_OK;
  });
}

ResultCode INFCursor::readTime(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept {
  // No column is described as a time of day, so this reader never gets past the type check.
  return readValue(column, FIELD_TIME, value, isNull, copySlot);
}

ResultCode INFCursor::readDate(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept {
  return readValue(column, FIELD_DATE, value, isNull, [](const Value& v, std::int32_t& out) -> ResultCode {
    return clientDateToNumber(v.slot, out);
  });
}

ResultCode INFCursor::readBytes(std::uint16_t column, void* /*buffer*/, std::int32_t* /*isNull*/) noexcept {
  const ColumnDescriptor* d = nullptr;
  if (ResultCode found = lookUp(column, d); found != RESULT_OK) return found;
  return rowBuffer() != nullptr ? RESULT_OK : RESULT_INVALID_HANDLE;
}

// ---- blobs ----

ResultCode INFCursor::blobPrologue(std::uint16_t column, std::int32_t* isNull, Value& value) {
  if (ResultCode found = lookUp(column, value.column); found != RESULT_OK) return found;
  RowBuffer* buffer = rowBuffer();
  if (buffer == nullptr || statement() == nullptr) {
    return RESULT_INVALID_HANDLE;
  }
  if (isNull == nullptr) return RESULT_INVALID_PARAMETER;
  value.null = buffer->indicator(*value.column) == kIndicatorNull;
  *isNull = value.null ? 1 : 0;
  return RESULT_OK;
}

ResultCode INFCursor::readBlobSize(std::uint16_t column, std::uint32_t* size, std::int32_t* isNull) noexcept {
  Value v;
  if (ResultCode checked = blobPrologue(column, isNull, v); checked != RESULT_OK || v.null) return checked;
  const std::uint16_t type = v.column->clientType;
  if (!isLocatorType(type) && !isLargeObjectType(type)) return RESULT_INVALID_FIELD_TYPE;
  if (size == nullptr) return RESULT_INVALID_PARAMETER;
  return clientBlobSize(*statement(), *v.column, *size);
}

ResultCode INFCursor::readBlob(std::uint16_t column, void* buffer, std::int32_t* isNull,
                               std::uint32_t length) noexcept {
  Value v;
  if (ResultCode checked = blobPrologue(column, isNull, v); checked != RESULT_OK || v.null) return checked;
  const std::uint16_t type = v.column->clientType;
  // Any other column's slot holds no locator or handle to read through.
  if (!isLocatorType(type) && !isLargeObjectType(type)) return RESULT_INVALID_FIELD_TYPE;
  return readClientBlob(*statement(), *v.column, buffer, length);
}

}  // namespace quovex::inf
