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

constexpr std::int32_t kNone = kDecodedLength;

constexpr InformixType kTypes[] = {
    {0, "CHAR", "char", FIELD_STRING, SUBTYPE_FIXED, kNone, true},
    {1, "SMALLINT", "smallint", FIELD_INT16, 0, 2, false},
    {2, "INT", "integer", FIELD_INT32, 0, 4, false},
    {3, "FLOAT", "float", FIELD_FLOAT, 0, 8, false},
    {4, "SMALLFLOAT", "smallfloat", FIELD_FLOAT, 0, 4, false},
    {5, "DECIMAL", "decimal", FIELD_BCD, 0, kNone, false},
    {6, "SERIAL", "serial", FIELD_INT32, 0, kNone, false},
    {7, "DATE", "date", FIELD_DATE, 0, 4, false},
    {8, "MONEY", "money", FIELD_BCD, 0, kNone, false},
    {9, "NULL", "NULL", 0, 0, 0, false},
    {10, "DATETIME", "datetime", FIELD_TIMESTAMP, 0, 16, false},
    {11, "BYTES", "bytes", FIELD_BLOB, SUBTYPE_BINARY, kNone, false},
    {12, "TEXT", "text", FIELD_BLOB, SUBTYPE_MEMO, kNone, false},
    {13, "VARCHAR", "varchar", FIELD_STRING, 0, kNone, true},
    {14, "INTERVAL", "interval", FIELD_STRING, 0, kNone, false},
    {15, "NCHAR", "nchar", FIELD_STRING, SUBTYPE_FIXED, kNone, false},
    {16, "NVARCHAR", "nvarchar", FIELD_STRING, 0, kNone, false},
    {17, "INT8", "int8", FIELD_INT16, 0, 2, false},
    {18, "SERIAL8", "serial8", FIELD_INT16, 0, 2, false},
    {19, "SET", "set", 0, 0, 0, false},
    {20, "MULTISET", "multiset", 0, 0, 0, false},
    {21, "LIST", "list", 0, 0, 0, false},
    {22, "ROW", "row", 0, 0, 0, false},
    {23, "COLLECTION", "collection", 0, 0, 0, false},
    {24, "ROWREF", "rowref", 0, 0, 0, false},
    {41, "BLOB", "blob", FIELD_BLOB, 0, 0, false},
};

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

const InformixType* informixTypeByCode(std::int32_t code) {
  for (const InformixType& type : kTypes) {
    if (type.code == code) return &type;
  }
  return nullptr;
}

const InformixType* informixTypeByLowerName(std::string_view name) {
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
  if (type.fixedLength != kDecodedLength) return type.fixedLength;
  return static_cast<std::int16_t>(columnLength + 1);
}

std::int16_t decodedColumnPrecision(const InformixType& type, std::int16_t columnLength) {
  if (type.fixedLength != kDecodedLength) return 0;
  if (type.lengthIsPrecision) return columnLength;
  return columnLength > 0 ? static_cast<std::int16_t>(columnLength / 256) : 0;
}

std::int16_t decodedColumnScale(const InformixType& type, std::int16_t columnLength) {
  if (type.fixedLength != kDecodedLength || type.lengthIsPrecision) return 0;
  return columnLength > 0 ? static_cast<std::int16_t>(columnLength % 256) : 0;
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
