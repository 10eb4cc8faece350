#include "catalogue_shapes.h"

#include <cstring>
#include <iterator>

#include "quovex/types.h"

namespace quovex::inf {
namespace {

using M = Measure;
using S = Source;

constexpr ShapeColumn kRecno = {"RECNO", FIELD_INT32, M::Fixed, 4, M::Fixed, 0, S::RowNumber, 0};
constexpr ShapeColumn kCatalogName = {"CATALOG_NAME", FIELD_STRING, M::Fixed, 7, M::Fixed, 7, S::Empty, 0};

constexpr ShapeColumn text(const char* name, std::uint16_t column) {
  return {name, FIELD_STRING, M::InnerOr31, 0, M::InnerOr31, 0, S::Trimmed, column};
}

constexpr ShapeColumn kObjects[] = {
    kRecno,
    text("SCHEMA", 2),
    {"CATEGORY", FIELD_STRING, M::Fixed, 7, M::Fixed, 7, S::Empty, 0},
    text("OBJECT_NAME", 4),
};

constexpr ShapeColumn kTables[] = {
    kRecno,
    kCatalogName,
    text("SCHEMA_NAME", 3),
    text("TABLE_NAME", 4),
    {"TABLE_TYPE", FIELD_INT32, M::Fixed, 4, M::Fixed, 0, S::TableType, 0},
};

constexpr ShapeColumn kProcedures[] = {
    kRecno,
    kCatalogName,
    text("SCHEMA_NAME", 3),
    text("PROC_NAME", 4),
    {"PROC_TYPE", FIELD_INT32, M::Fixed, 4, M::Fixed, 0, S::RoutineType, 0},
    {"IN_PARAMS", FIELD_INT32, M::Fixed, 4, M::InnerOr31, 0, S::Number, 6},
    {"OUT_PARAMS", FIELD_INT32, M::Fixed, 4, M::Fixed, 2, S::ReturnCount, 0},
};

constexpr ShapeColumn kColumns[] = {
    kRecno,
    kCatalogName,
    text("SCHEMA_NAME", 3),
    text("TABLE_NAME", 4),
    text("COLUMN_NAME", 5),
    {"COLUMN_POSITION", FIELD_INT16, M::Fixed, 2, M::InnerOr31, 0, S::Number, 6},
    {"COLUMN_TYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnKind, 0},
    {"COLUMN_DATATYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnDatatype, 0},
    {"COLUMN_TYPENAME", FIELD_STRING, M::Fixed, 30, M::Fixed, 30, S::ColumnTypename, 0},
    {"COLUMN_SUBTYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnSubtype, 0},
    {"COLUMN_LENGTH", FIELD_INT32, M::Fixed, 4, M::Fixed, 0, S::ColumnLength, 0},
    {"COLUMN_PRECISION", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnPrecision, 0},
    {"COLUMN_SCALE", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnScale, 0},
    {"COLUMN_NULLABLE", FIELD_INT16, M::Fixed, 2, M::Fixed, 0, S::ColumnNullable, 0},
};

constexpr ShapeColumn kProcedureParameters[] = {
    kRecno,
    kCatalogName,
    text("SCHEMA_NAME", 3),
    text("PROCEDURE_NAME", 4),
    {"PARAM_NAME", FIELD_STRING, M::Fixed, 31, M::Fixed, 31, S::ParamName, 0},
    {"PARAM_POSITION", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamPosition, 0},
    {"PARAM_TYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamDirection, 0},
    {"PARAM_DATATYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamDatatype, 0},
    {"PARAM_SUBTYPE", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamSubtype, 0},
    {"PARAM_TYPENAME", FIELD_STRING, M::Fixed, 31, M::Fixed, 31, S::ParamTypename, 0},
    {"PARAM_LENGTH", FIELD_INT32, M::Fixed, 4, M::Fixed, 4, S::ParamLength, 0},
    {"PARAM_PRECISION", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamPrecision, 0},
    {"PARAM_SCALE", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamScale, 0},
    {"PARAM_NULLABLE", FIELD_INT16, M::Fixed, 2, M::Fixed, 2, S::ParamNullable, 0},
};

constexpr ShapeColumn kIndexes[] = {
    kRecno,
    kCatalogName,
    text("SCHEMA_NAME", 3),
    text("TABLE_NAME", 4),
    text("INDEX_NAME", 5),
    text("COLUMN_NAME", 6),
    {"COLUMN_POSITION", FIELD_INT16, M::Fixed, 2, M::InnerOr31, 0, S::Number, 7},
    {"PKEY_NAME", FIELD_STRING, M::InnerLength, 0, M::InnerPrecision, 0, S::Untrimmed, 8},
    {"INDEX_TYPE", FIELD_INT32, M::Fixed, 4, M::Fixed, 0, S::IndexType, 0},
    {"SORT_ORDER", FIELD_STRING, M::Fixed, 2, M::Fixed, 1, S::SortOrder, 0},
    {"FILTER", FIELD_STRING, M::Fixed, 7, M::Fixed, 7, S::Empty, 0},
};

template <std::size_t N>
constexpr Shape shapeOf(const ShapeColumn (&columns)[N]) {
  return {columns, static_cast<std::uint16_t>(N)};
}

using D = LengthDecoding;

// The names are the server's; the lower-case ones are those its routine
// type lists use.
constexpr InformixType kTypes[] = {
    {0, "CHAR", "char", FIELD_STRING, SUBTYPE_FIXED, D::Character, 0},
    {1, "SMALLINT", "smallint", FIELD_INT16, 0, D::Fixed, 2},
    {2, "INT", "integer", FIELD_INT32, 0, D::Fixed, 4},
    {3, "FLOAT", "float", FIELD_FLOAT, 0, D::Fixed, 8},
    {4, "SMALLFLOAT", "smallfloat", FIELD_FLOAT, 0, D::Fixed, 4},
    {5, "DECIMAL", "decimal", FIELD_BCD, 0, D::Decimal, 0},
    {6, "SERIAL", "serial", FIELD_INT32, 0, D::Fixed, 4},
    {7, "DATE", "date", FIELD_DATE, 0, D::Fixed, 4},
    {8, "MONEY", "money", FIELD_BCD, 0, D::Decimal, 0},
    {9, "NULL", "NULL", 0, 0, D::Fixed, 0},
    {10, "DATETIME", "datetime", FIELD_TIMESTAMP, 0, D::Fixed, 16},
    {11, "BYTES", "byte", FIELD_BLOB, SUBTYPE_BINARY, D::LargeObject, 0},
    {12, "TEXT", "text", FIELD_BLOB, SUBTYPE_MEMO, D::LargeObject, 0},
    {13, "VARCHAR", "varchar", FIELD_STRING, 0, D::Varying, 0},
    {14, "INTERVAL", "interval", FIELD_STRING, 0, D::Interval, 0},
    {15, "NCHAR", "nchar", FIELD_STRING, SUBTYPE_FIXED, D::Character, 0},
    {16, "NVARCHAR", "nvarchar", FIELD_STRING, 0, D::Varying, 0},
    {17, "INT8", "int8", FIELD_BCD, 0, D::Exact64, 0},
    {18, "SERIAL8", "serial8", FIELD_BCD, 0, D::Exact64, 0},
    {19, "SET", "set", 0, 0, D::Fixed, 0},
    {20, "MULTISET", "multiset", 0, 0, D::Fixed, 0},
    {21, "LIST", "list", 0, 0, D::Fixed, 0},
    {22, "ROW", "row", 0, 0, D::Fixed, 0},
    {23, "COLLECTION", "collection", 0, 0, D::Fixed, 0},
    {24, "ROWREF", "rowref", 0, 0, D::Fixed, 0},
    {41, "BLOB", "blob", FIELD_BLOB, SUBTYPE_BINARY_LOB, D::LargeObject, 0},
    {43, "LVARCHAR", "lvarchar", FIELD_STRING, 0, D::Character, 0},
    {45, "BOOLEAN", "boolean", FIELD_INT16, 0, D::Fixed, 2},
    {52, "BIGINT", "bigint", FIELD_BCD, 0, D::Exact64, 0},
    {53, "BIGSERIAL", "bigserial", FIELD_BCD, 0, D::Exact64, 0},
};
// Type 41 with the CLOB extended type id.
constexpr InformixType kClob = {41, "CLOB", "clob", FIELD_BLOB, SUBTYPE_CHAR_LOB, D::LargeObject, 0};

constexpr std::int32_t kIntervalTextLength = 26;
constexpr std::int32_t kBcdLength = 34;
constexpr std::int16_t kExact64Digits = 19;

}  // namespace

Shape catalogueShape(CatalogueKind kind, bool objectList) {
  if (objectList) return shapeOf(kObjects);
  switch (kind) {
    case CATALOGUE_TABLES: return shapeOf(kTables);
    case CATALOGUE_PROCEDURES: return shapeOf(kProcedures);
    case CATALOGUE_COLUMNS: return shapeOf(kColumns);
    case CATALOGUE_PROCEDURE_PARAMETERS: return shapeOf(kProcedureParameters);
    case CATALOGUE_INDEXES: return shapeOf(kIndexes);
    default: return {};
  }
}

const InformixType* informixTypeByCode(std::int32_t code, std::int32_t extendedId) {
  if (code == kClob.code && extendedId == kExtendedTypeClob) return &kClob;
  for (const InformixType& type : kTypes) {
    if (type.code == code) return &type;
  }
  return nullptr;
}

const InformixType* informixTypeByLowerName(std::string_view name) {
  if (name == kClob.lowerName) return &kClob;
  for (const InformixType& type : kTypes) {
    if (name == type.lowerName) return &type;
  }
  return nullptr;
}

std::int32_t tableTypeCode(std::string_view kind, std::int32_t tableNumber) {
  if (kind == "T") return tableNumber > 99 ? 1 : 4;
  if (kind == "V") return 2;
  if (kind == "P") return 8;
  return 0;
}

std::int32_t routineTypeCode(std::string_view flag, std::int32_t routineNumber) {
  if (flag == "f") return 2;
  return routineNumber >= 175 ? 1 : 8;
}

std::int32_t indexTypeCode(std::string_view indexKind, std::string_view constraintKind) {
  std::int32_t code = 0;
  if (indexKind == "U") code = 2;
  if (indexKind == "D" || indexKind == "-") code = 1;
  if (constraintKind == "P") code = 4;
  return code;
}

std::int32_t decodedColumnLength(const InformixType& type, std::int16_t columnLength) {
  const auto n = static_cast<std::uint16_t>(columnLength);
  switch (type.decoding) {
    case D::Fixed: return type.fixedLength;
    case D::Character:
    case D::Decimal: return static_cast<std::int32_t>(n) + 1;
    case D::Varying: return (n % 256) + 1;
    case D::Interval: return kIntervalTextLength;
    case D::LargeObject: return n;
    case D::Exact64: return kBcdLength;
  }
  return 0;
}

std::int16_t decodedColumnPrecision(const InformixType& type, std::int16_t columnLength) {
  const auto n = static_cast<std::uint16_t>(columnLength);
  switch (type.decoding) {
    case D::Character: return static_cast<std::int16_t>(n);
    case D::Varying: return static_cast<std::int16_t>(n % 256);
    case D::Decimal: return static_cast<std::int16_t>(n / 256);
    case D::Interval: return static_cast<std::int16_t>(kIntervalTextLength);
    case D::Exact64: return kExact64Digits;
    default: return 0;
  }
}

std::int16_t decodedColumnScale(const InformixType& type, std::int16_t columnLength) {
  const auto n = static_cast<std::uint16_t>(columnLength);
  switch (type.decoding) {
    case D::Decimal: return static_cast<std::int16_t>(n % 256);
    case D::Interval: return columnLength;
    default: return 0;
  }
}

std::int32_t parameterLength(std::int32_t fieldType, std::int32_t subtype) {
  switch (fieldType) {
    case FIELD_STRING: return subtype == SUBTYPE_FIXED ? 32767 : 254;
    case FIELD_DATE:
    case FIELD_INT32: return 4;
    case FIELD_INT16: return 2;
    case FIELD_FLOAT: return 8;
    case FIELD_BCD: return 34;
    case FIELD_TIMESTAMP: return 16;
    default: return -1;
  }
}

std::int16_t parameterScale(std::int32_t fieldType) {
  switch (fieldType) {
    case FIELD_DATE:
    case FIELD_INT16:
    case FIELD_INT32:
    case FIELD_FLOAT: return 0;
    default: return -1;
  }
}

void trimTrailingBlanks(char* text) {
  std::size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
}

}  // namespace quovex::inf
