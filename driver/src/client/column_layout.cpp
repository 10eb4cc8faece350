#include "column_layout.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "client_types.h"

namespace quovex::inf {
namespace {

struct TypeRow {
  std::int16_t fieldType;
  std::int16_t subtype;
};

TypeRow fieldTypeOf(std::uint16_t clientType) {
  switch (clientType) {
    case CT_CHAR: return {FIELD_STRING, SUBTYPE_FIXED};
    case CT_VARCHAR:
    case CT_INTERVAL: return {FIELD_STRING, SUBTYPE_NONE};
    case CT_SMALLINT: return {FIELD_INT16, SUBTYPE_NONE};
    case CT_INTEGER:
    case CT_SERIAL: return {FIELD_INT32, SUBTYPE_NONE};
    case CT_SMALLFLOAT:
    case CT_FLOAT: return {FIELD_FLOAT, SUBTYPE_NONE};
    case CT_DECIMAL:
    case CT_MONEY: return {FIELD_BCD, SUBTYPE_NONE};
    case CT_DATE: return {FIELD_DATE, SUBTYPE_NONE};
    case CT_DATETIME: return {FIELD_TIMESTAMP, SUBTYPE_NONE};
    case CT_BYTE: return {FIELD_BLOB, SUBTYPE_BINARY};
    case CT_TEXT: return {FIELD_BLOB, SUBTYPE_MEMO};
    case CT_BLOB: return {FIELD_BLOB, SUBTYPE_BINARY_LOB};
    case CT_CLOB: return {FIELD_BLOB, SUBTYPE_CHAR_LOB};
    default: return {0, SUBTYPE_NONE};
  }
}

// Length, precision, scale and slot size by client type, from the reported
// length n (already in descriptor.length, precision and slotSize).
void applySizes(ColumnDescriptor& d) {
  const std::int32_t n = d.length;
  switch (d.clientType) {
    case CT_CHAR:
    case CT_VARCHAR:
      d.length = n + 1;
      d.scale = 0;
      d.slotSize = n + 1;
      break;
    case CT_SMALLINT:
    case CT_INTEGER:
    case CT_SERIAL: d.scale = 0; break;
    case CT_SMALLFLOAT:
    case CT_FLOAT:
      // The slot keeps the value's own width (4 or 8): readDouble tells them apart by it.
      d.length = 8;
      d.scale = 0;
      break;
    case CT_DECIMAL:
    case CT_MONEY:
      d.length = sizeof(BcdRecord);
      d.precision = static_cast<std::int16_t>(d.clientPrecision);
      d.scale = static_cast<std::int16_t>(d.clientScale);
      d.slotSize = kDecimalSlotSize;
      break;
    case CT_DATE:
      d.length = 4;
      d.scale = 0;
      d.slotSize = 4;
      break;
    case CT_DATETIME:
      d.length = sizeof(TimestampRecord);
      d.scale = 0;
      d.slotSize = kDatetimeSlotSize;
      break;
    case CT_INTERVAL:
      // The scale carries the interval's encoded qualifier.
      d.length = kIntervalSlotSize;
      d.precision = kIntervalSlotSize;
      d.scale = static_cast<std::int16_t>(n);
      d.slotSize = kIntervalSlotSize;
      break;
    case CT_BYTE:
    case CT_TEXT:
      d.precision = 1;
      d.scale = 0;
      d.slotSize = kLocatorSlotSize;
      break;
    case CT_BLOB:
    case CT_CLOB:
      d.precision = 1;
      d.scale = 0;
      d.slotSize = kLargeObjectSlotSize;
      break;
    default: break;
  }
}

}  // namespace

ResultCode describeColumn(std::uint16_t index, const ColumnDescription& description, ColumnDescriptor& d) {
  d = ColumnDescriptor{};
  d.index = index;
  d.name = description.name.substr(0, ColumnDescriptor::kMaxNameLength);
  if (ResultCode mapped = clientTypeOfServerType(description.serverType, description.extendedTypeId, d.clientType);
      mapped != RESULT_OK) {
    return mapped;
  }
  std::int32_t n = description.length & 0xFFFF;
  const int low = description.serverType & 0xFF;
  if (low == SERVER_DECIMAL || low == SERVER_MONEY) {
    d.clientPrecision = static_cast<std::uint16_t>((n >> 8) & 0xFF);
    d.clientScale = static_cast<std::uint16_t>(n & 0xFF);
  } else if (isExact64Type(low)) {
    d.clientPrecision = kExact64Digits;
    d.clientScale = 0;
  } else if (low == SERVER_BOOLEAN) {
    n = kBooleanSlotSize;  // fetched as a 16-bit integer
  }
  const TypeRow row = fieldTypeOf(d.clientType);
  d.fieldType = row.fieldType;
  d.subtype = row.subtype;
  d.precision = static_cast<std::int16_t>(n);
  d.scale = static_cast<std::int16_t>(d.clientScale);
  d.length = n;
  d.slotSize = n;
  applySizes(d);
  return RESULT_OK;
}

std::string uncarriedColumnText(const ColumnDescription& description) {
  const char* name = serverTypeName(description.serverType);
  // (snprintf, not std::to_string: that one's digit table would be exported from the library)
  char number[16];
  std::snprintf(number, sizeof number, "type %d", static_cast<int>(description.serverType & 0xFF));
  const std::string type = name != nullptr ? name : number;
  return "Column " + description.name + " is of the Informix " + type + ", which the driver cannot read.";
}

ResultCode RowBuffer::layOut(std::vector<ColumnDescriptor>& columns) {
  std::size_t total = 0;
  for (ColumnDescriptor& column : columns) {
    column.dataOffset = static_cast<std::int32_t>(total);
    column.indicatorOffset = column.dataOffset + column.slotSize;
    total += static_cast<std::size_t>(column.slotSize) + kIndicatorSize;
    if (total > static_cast<std::size_t>(INT32_MAX)) {
      block_.reset();
      size_ = 0;
      return RESULT_NO_MEMORY;  // offsets are 32-bit
    }
  }
  block_.reset(new (std::nothrow) std::uint8_t[total == 0 ? 1 : total]());
  size_ = block_ ? total : 0;
  if (!block_) return RESULT_NO_MEMORY;
  for (const ColumnDescriptor& column : columns) setIndicator(column, kIndicatorNull);
  return RESULT_OK;
}

std::int32_t RowBuffer::indicator(const ColumnDescriptor& column) const {
  std::int32_t value = 0;
  std::memcpy(&value, block_.get() + column.indicatorOffset, sizeof value);
  return value;
}

void RowBuffer::setIndicator(const ColumnDescriptor& column, std::int32_t value) {
  std::memcpy(block_.get() + column.indicatorOffset, &value, sizeof value);
}

}  // namespace quovex::inf
