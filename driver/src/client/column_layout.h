// Result columns as the cursor reports them (ColumnDescriptor) and the one
// contiguous RowBuffer a fetch writes into: for each column its value slot,
// then at once a 32-bit indicator (-1 NULL, -2 flagged by the client, else
// the value's length).
//
// Built by the command at execute from the client layer's description of
// each column; read by INFCursor and by cursors that wrap one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quovex/types.h"

namespace quovex::inf {

// What the client layer tells of one result column.
struct ColumnDescription {
  std::string name;
  std::int32_t serverType = 0;  // low 8 bits the type, high bits flags (NOT NULL 256)
  std::int32_t length = 0;      // encoded length, low 16 bits used
  std::int32_t extendedTypeId = 0;
};

struct ColumnDescriptor {
  static constexpr std::size_t kMaxNameLength = 30;

  std::uint16_t index = 0;  // position, from 0
  std::string name;         // at most 30 characters
  std::int16_t fieldType = 0;
  std::int16_t subtype = SUBTYPE_NONE;
  std::int16_t precision = 0;
  std::int16_t scale = 0;
  std::int32_t length = 0;
  std::uint16_t clientType = 0;
  std::uint16_t clientPrecision = 0;  // DECIMAL and MONEY only
  std::uint16_t clientScale = 0;
  std::int32_t dataOffset = 0;
  std::int32_t slotSize = 0;
  std::int32_t indicatorOffset = 0;
};

// Sizes of the slots whose size is not the described length.
inline constexpr std::int32_t kDecimalSlotSize = 22;   // the client's decimal
inline constexpr std::int32_t kDatetimeSlotSize = 24;  // the client's date-time
inline constexpr std::int32_t kIntervalSlotSize = 26;  // interval text and NUL
inline constexpr std::int32_t kLocatorSlotSize = 62;
inline constexpr std::int32_t kLargeObjectSlotSize = 72;
inline constexpr std::int32_t kIndicatorSize = 4;
inline constexpr std::int32_t kIndicatorNull = -1;
inline constexpr std::int32_t kIndicatorFlagged = -2;

// Fills `descriptor` for column `index` from its description: client type,
// field type and subtype, reported length, precision and scale, slot size.
// RESULT_INVALID_FIELD_TYPE or RESULT_CLIENT_ERROR for a type without mapping.
ResultCode describeColumn(std::uint16_t index, const ColumnDescription& description, ColumnDescriptor& descriptor);

// The error text of a column describeColumn refuses: it names the column and its type.
std::string uncarriedColumnText(const ColumnDescription& description);

// The row buffer: one block laid out from the descriptors' offsets.
class RowBuffer {
 public:
  // Sets every descriptor's data and indicator offsets and allocates the
  // block with every indicator -1 (no row yet). RESULT_NO_MEMORY when it
  // cannot be allocated; the descriptors' offsets are set either way.
  ResultCode layOut(std::vector<ColumnDescriptor>& columns);

  std::size_t size() const { return size_; }
  std::uint8_t* slot(const ColumnDescriptor& column) { return block_.get() + column.dataOffset; }
  const std::uint8_t* slot(const ColumnDescriptor& column) const { return block_.get() + column.dataOffset; }
  std::int32_t indicator(const ColumnDescriptor& column) const;
  void setIndicator(const ColumnDescriptor& column, std::int32_t value);

 private:
  std::unique_ptr<std::uint8_t[]> block_;
  std::size_t size_ = 0;
};

}  // namespace quovex::inf
