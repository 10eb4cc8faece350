// INFCursor: the result set of a data statement, handed out by the command's
// execute. It holds only its reference count and the link to its command;
// the column descriptors, the row buffer and the client cursor belong to the
// command. The last release closes the command's results. Once the command
// or its connection is gone, every operation answers RESULT_INVALID_HANDLE.
//
// Readers take a column number from 1 and report NULL through isNull. Before
// the first fetchNext every column reads as NULL; after the end of rows the
// last row stays readable.
#pragma once

#include <cstdint>

#include <vector>

#include "client/client_statement.h"
#include "client/column_layout.h"
#include "object_links.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

class INFCommand;

class INFCursor final : public SQLCursor {
 public:
  // A new cursor on the linked command with count 0, or null when it cannot be allocated.
  static INFCursor* create(Shared<CommandLink> command) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
  // setOption and getOption keep the base defaults: no cursor options exist.
  ResultCode errorMessage(char* text) noexcept override;
  ResultCode errorMessageLength(std::int16_t* length) noexcept override;
  ResultCode columnCount(std::int16_t* count) noexcept override;
  ResultCode columnNameLength(std::uint16_t column, std::int16_t* length) noexcept override;
  ResultCode columnName(std::uint16_t column, char* name) noexcept override;
  ResultCode columnType(std::uint16_t column, std::uint16_t* fieldType, std::uint16_t* subtype) noexcept override;
  ResultCode columnLength(std::uint16_t column, std::int32_t* length) noexcept override;
  ResultCode columnPrecision(std::uint16_t column, std::int16_t* precision) noexcept override;
  ResultCode columnScale(std::uint16_t column, std::int16_t* scale) noexcept override;
  ResultCode columnNullable(std::uint16_t column, std::int32_t* nullable) noexcept override;
  ResultCode columnAutoIncrement(std::uint16_t column, std::int32_t* autoIncrement) noexcept override;
  ResultCode columnReadOnly(std::uint16_t column, std::int32_t* readOnly) noexcept override;
  ResultCode columnSearchable(std::uint16_t column, std::int32_t* searchable) noexcept override;
  ResultCode blobSizeExact(std::uint16_t column, std::int32_t* exact) noexcept override;
  ResultCode fetchNext() noexcept override;
  ResultCode readString(std::uint16_t column, char* text, std::int32_t* isNull) noexcept override;
  ResultCode readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) noexcept override;
  ResultCode readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept override;
  ResultCode readDouble(std::uint16_t column, double* value, std::int32_t* isNull) noexcept override;
  ResultCode readBcd(std::uint16_t column, BcdRecord* value, std::int32_t* isNull) noexcept override;
  ResultCode readTimeStamp(std::uint16_t column, TimestampRecord* value, std::int32_t* isNull) noexcept override;
  ResultCode readTime(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept override;
  ResultCode readDate(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept override;
  ResultCode readBytes(std::uint16_t column, void* buffer, std::int32_t* isNull) noexcept override;
  ResultCode readBlobSize(std::uint16_t column, std::uint32_t* size, std::int32_t* isNull) noexcept override;
  ResultCode readBlob(std::uint16_t column, void* buffer, std::int32_t* isNull, std::uint32_t length) noexcept override;

 private:
  explicit INFCursor(Shared<CommandLink> command) : command_(std::move(command)) {}
  // The command while it and its connection are there, else null.
  INFCommand* reachableCommand() const;
  ~INFCursor() = default;

  // The command's results while they are this cursor's; none once the
  // command ran again, closed or went away.
  const std::vector<ColumnDescriptor>& columns() const;
  RowBuffer* rowBuffer();
  ClientStatement* statement();

  // The column numbered `column` (from 1): RESULT_INVALID_HANDLE once the
  // command or its connection is gone, RESULT_OUT_OF_RANGE for a number
  // outside the columns.
  ResultCode lookUp(std::uint16_t column, const ColumnDescriptor*& found) const;

  struct Value {
    const ColumnDescriptor* column = nullptr;
    const std::uint8_t* slot = nullptr;
    bool null = false;
  };
  // The readers' common prologue: column number, field type, row buffer,
  // the NULL test, then the place for the value; `convert(value, *out)`
  // runs only when there is a value to convert.
  template <typename Out, typename Convert>
  ResultCode readValue(std::uint16_t column, std::int16_t fieldType, Out* out, std::int32_t* isNull,
                       Convert convert);
  // The blob readers' checks: column, row buffer, client handles, NULL test.
  ResultCode blobPrologue(std::uint16_t column, std::int32_t* isNull, Value& value);

  ReferenceCount references_;
  Shared<CommandLink> command_;
};

}  // namespace quovex::inf
