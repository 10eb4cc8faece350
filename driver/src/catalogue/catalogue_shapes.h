// The fixed column shapes of the catalogue listings, the Informix type
// table, and the small decoders a catalogue cursor applies to catalogue
// values. Plain data and functions; the cursor (infmetacurs) reads through
// them.
#pragma once

#include <cstdint>
#include <string_view>

#include "catalogue_statements.h"

namespace quovex::inf {

// Where a shaped column's value comes from.
enum class Source : std::uint8_t {
  RowNumber,        // the cursor's row counter
  Empty,            // an empty text
  Trimmed,          // a catalogue text, trailing blanks removed
  Untrimmed,        // a catalogue text as it is
  Number,           // a catalogue integer
  TableType,        // from the table kind letter and table number
  RoutineType,      // from the procedure flag and routine number
  IndexType,        // from the index and constraint kind letters
  SortOrder,        // "A" or "D" from the first key part
  ReturnCount,      // items in the routine's return type list
  ColumnKind,       // the constant 8
  ColumnDatatype,   // decoded from the Informix column type
  ColumnTypename,
  ColumnSubtype,
  ColumnLength,
  ColumnPrecision,
  ColumnScale,
  ColumnNullable,
  ParamName,        // the parameter position as text
  ParamPosition,
  ParamDirection,
  ParamDatatype,
  ParamSubtype,
  ParamTypename,
  ParamLength,
  ParamPrecision,
  ParamScale,
  ParamNullable,
};

// How a shaped column's length or precision is found.
enum class Measure : std::uint8_t {
  Fixed,        // `value`
  InnerOr31,    // the inner cursor's length of catalogue column `column`, or 31 when not above 0
  InnerLength,  // the inner cursor's length of catalogue column `column`
  InnerPrecision,
};

struct ShapeColumn {
  const char* name;
  std::uint16_t fieldType;
  Measure lengthMeasure;
  std::int32_t length;
  Measure precisionMeasure;
  std::int16_t precision;
  Source source;
  std::uint16_t column;  // the catalogue column the source or measures read (from 1), 0 for none
};

struct Shape {
  const ShapeColumn* columns = nullptr;
  std::uint16_t count = 0;
};

// The object-list shape when `objectList` is set; otherwise the shape of the
// kind (tables, procedures, columns, procedure parameters, indexes), and no
// columns for any other kind.
Shape catalogueShape(CatalogueKind kind, bool objectList);

// How a column's length, precision and scale follow from its catalogue
// column length n, so that they match what describing the column reports.
enum class LengthDecoding : std::uint8_t {
  Fixed,         // the entry's fixed length; precision and scale 0
  Character,     // CHAR, NCHAR, LVARCHAR: length n+1, precision n, scale 0
  Varying,       // VARCHAR, NVARCHAR: n holds min*256 + max; length max+1, precision max, scale 0
  Decimal,       // DECIMAL, MONEY: length n+1, precision n/256, scale n%256 (255 for a floating decimal)
  Interval,      // the interval's text: length 26, precision 26, scale n (its encoded qualifier)
  LargeObject,   // BYTE, TEXT, BLOB, CLOB: length n, precision and scale 0
  Exact64,       // a 64-bit integer carried as BCD: length 34, precision 19, scale 0
};

// One entry of the Informix type table.
struct InformixType {
  std::int16_t code;
  const char* upperName;
  const char* lowerName;
  std::uint16_t fieldType;
  std::uint16_t subtype;
  LengthDecoding decoding;
  std::int32_t fixedLength;  // for LengthDecoding::Fixed
};
inline constexpr std::int16_t kNotNullBit = 256;
// The extended type id of a CLOB column (type 41); any other id is a BLOB.
inline constexpr std::int32_t kExtendedTypeClob = 11;

// The entry of an Informix type number (the NOT NULL bit already removed)
// and, for type 41, its extended type id; null when the table has none.
const InformixType* informixTypeByCode(std::int32_t code, std::int32_t extendedId = 0);
// The entry whose lower-case name is exactly `name`; null when none.
const InformixType* informixTypeByLowerName(std::string_view name);

// TABLE_TYPE: 1 user table (kind "T", number above 99), 4 system catalogue
// table, 2 view, 8 synonym, 0 anything else.
std::int32_t tableTypeCode(std::string_view kind, std::int32_t tableNumber);
// PROC_TYPE: 2 function, else 1 for routine numbers from 175, 8 below.
std::int32_t routineTypeCode(std::string_view flag, std::int32_t routineNumber);
// INDEX_TYPE: 2 unique, 1 duplicates, 4 whenever the joined constraint is a
// primary key, else 0.
std::int32_t indexTypeCode(std::string_view indexKind, std::string_view constraintKind);

// Decoded COLUMN_LENGTH, COLUMN_PRECISION and COLUMN_SCALE of a column of
// type `type` with the catalogue column length `columnLength`.
std::int32_t decodedColumnLength(const InformixType& type, std::int16_t columnLength);
std::int16_t decodedColumnPrecision(const InformixType& type, std::int16_t columnLength);
std::int16_t decodedColumnScale(const InformixType& type, std::int16_t columnLength);

// PARAM_LENGTH (and PARAM_PRECISION) and PARAM_SCALE by field type and
// subtype; -1 where the type has no such size.
std::int32_t parameterLength(std::int32_t fieldType, std::int32_t subtype);
std::int16_t parameterScale(std::int32_t fieldType);

// Removes trailing blanks from the NUL-terminated `text` in place.
void trimTrailingBlanks(char* text);

}  // namespace quovex::inf
