// Informix type numbers and encoded lengths for declared column types.
//
// A column's declared type is the Informix type phrase it was created with
// ("DECIMAL(16,2)", "DATETIME YEAR TO SECOND", "NCHAR(10)"), whether SQLite
// keeps it as written or as a quoted type name. The system catalogue and the
// describe role both present columns through columnTypeOf.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ifxrt {

struct ColumnType {
  int16_t type = 0;          // Informix type number (IFX_TYPE_...), without the NOT NULL flag
  int32_t length = 0;        // encoded length (see ifxrt/statements.h)
  int32_t extendedType = 0;  // 10 BLOB, 11 CLOB for type 41, else 0
};

// The Informix type of a declared type, case and surrounding blanks or
// quotes ignored. Empty for a text that names no Informix type (an
// expression's missing type, or a type only SQLite knows).
std::optional<ColumnType> columnTypeOf(std::string_view declared);

// A DATETIME or INTERVAL qualifier from its phrase ("YEAR TO SECOND",
// "DAY(3) TO FRACTION(3)", "HOUR"); empty for an invalid phrase.
std::optional<int16_t> datetimeQualifierOf(std::string_view phrase);
std::optional<int16_t> intervalQualifierOf(std::string_view phrase);

// The encoded length of DECIMAL(precision, scale); scale 255 for a floating
// decimal.
inline int32_t decimalLength(int precision, int scale) { return precision * 256 + scale; }

}  // namespace ifxrt
