// INFMetadataCursor: the result of a catalogue listing. It reads the rows of
// the listing's catalogue statement through an inner data cursor and gives
// each row the fixed column shape of its kind (catalogue_shapes.h): columns
// passed through, constants, the row number, and values decoded from the
// catalogue (type codes, lengths, precision and scale, table, routine and
// index kinds, sort order). A procedure-parameter listing turns each
// procedure row into one row per parameter.
//
// Ownership: the cursor owns one reference on its command and on its inner
// cursor and releases the inner cursor first, then the command. It reaches
// the connection's client record for the routine type query through the
// connection's link; once the connection is gone its reads answer
// RESULT_INVALID_HANDLE (through the inner cursor) and no query runs.
//
// The end of rows is RESULT_NO_MORE_ROWS (100) from every listing; only a
// cursor without an inner cursor answers RESULT_CATALOGUE_END (10).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue_shapes.h"
#include "client_routine_types.h"
#include "object_links.h"
#include "quovex/interfaces.h"
#include "reference_count.h"

namespace quovex::inf {

struct ClientConnection;

class INFMetadataCursor final : public SQLCursor {
 public:
  struct Listing {
    CatalogueKind kind;
    std::uint32_t mask;
    bool objectList;  // listObjects: the four-column object-list shape
  };

  // Takes over one reference on `command` and on `inner` (either may be
  // null). Count 0; null when it cannot be allocated (nothing taken over).
  static INFMetadataCursor* create(SQLCommand* command, SQLCursor* inner, Listing listing,
                                   Shared<ConnectionLink> connection) noexcept;

  ResultCode query(void* first, void* second) noexcept override;
  std::int32_t addRef() noexcept override;
  std::int32_t release() noexcept override;
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
  ResultCode fetchNext() noexcept override;
  ResultCode readString(std::uint16_t column, char* text, std::int32_t* isNull) noexcept override;
  ResultCode readShort(std::uint16_t column, std::int16_t* value, std::int32_t* isNull) noexcept override;
  ResultCode readLong(std::uint16_t column, std::int32_t* value, std::int32_t* isNull) noexcept override;
  // Options, blobSizeExact and readDouble to readBlob keep the base
  // defaults: RESULT_NOT_SUPPORTED.

 private:
  INFMetadataCursor(SQLCommand* command, SQLCursor* inner, Listing listing,
                    Shared<ConnectionLink> connection)
      : listing_(listing), shape_(catalogueShape(listing.kind, listing.objectList)),
        connection_(std::move(connection)), session_(connection_->session), command_(command), inner_(inner) {}
  ~INFMetadataCursor() = default;

  bool expandsParameters() const;
  const ShapeColumn* lookUp(std::uint16_t column) const;
  ResultCode fetchParameter();
  void takeOverErrorText();
  // The routine's type lists, empty once the connection is out of reach.
  RoutineTypeLists routineTypes(std::int32_t routine) const;

  // Inner reads into owned places.
  ResultCode innerText(std::uint16_t column, std::string& text, std::int32_t& isNull);
  ResultCode innerShort(std::uint16_t column, std::int16_t& value, std::int32_t& isNull);
  ResultCode innerLong(std::uint16_t column, std::int32_t& value, std::int32_t& isNull);

  // Values of the computed sources; RESULT_OK with `value` set, or a code.
  ResultCode integerValue(const ShapeColumn& column, std::int32_t& value, std::int32_t* isNull);
  ResultCode textValue(const ShapeColumn& column, char* text, std::int32_t* isNull);
  ResultCode tableType(std::int32_t& value);
  ResultCode routineType(std::int32_t& value);
  ResultCode indexType(std::int32_t& value, std::int32_t* isNull);
  ResultCode returnCount(std::int32_t& value, std::int32_t* isNull);
  ResultCode columnTypeEntry(const InformixType*& type);
  ResultCode columnDecoded(Source source, std::int32_t& value, std::int32_t* isNull);
  const InformixType* parameterTypeEntry() const;
  std::string parameterTypeName() const;

  ReferenceCount references_;
  std::int32_t rows_ = 0;  // fetchNext calls counted, the current one included
  Listing listing_;
  Shape shape_;
  std::optional<std::string> errorText_;
  Shared<ConnectionLink> connection_;
  std::uint64_t session_;  // the connect the listing ran on
  // Procedure-parameter expansion: the current procedure's type lists.
  std::int32_t parameterCount_ = 0;
  std::int32_t position_ = 0;
  std::int32_t inputCount_ = 0;
  RoutineTypeLists types_;
  SQLCommand* command_;  // one reference owned
  SQLCursor* inner_;     // one reference owned
};

}  // namespace quovex::inf
