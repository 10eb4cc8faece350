#include "result_reader.h"

#include <algorithm>
#include <cstring>

#include "value_text.h"

namespace quovexsql {

using namespace quovex;

namespace {

std::string failure(ResultCode result) { return "<error " + std::to_string(result) + ">"; }

// Reads one value with `read(value, isNull)` and turns it into text.
template <typename Value, typename Read, typename Text>
Cell readWith(Read read, Text text) {
  Value value{};
  std::int32_t isNull = 0;
  const ResultCode result = read(&value, &isNull);
  if (result != RESULT_OK) return failure(result);
  if (isNull == 1) return std::nullopt;
  return text(value);
}

Cell readStringCell(SQLCursor& cursor, std::uint16_t column, const ColumnInfo& info) {
  // The reader writes up to precision characters and a NUL at position
  // precision; a catalogue column may report only its length. A length
  // beyond what a 16-bit precision can describe is not believed.
  constexpr std::int32_t kLongestText = 65536;
  const std::size_t size =
      static_cast<std::size_t>(std::max<std::int32_t>({std::min(info.length, kLongestText), info.precision, 0})) + 2;
  std::string buffer(size, '\0');
  std::int32_t isNull = 0;
  const ResultCode result = cursor.readString(column, buffer.data(), &isNull);
  if (result != RESULT_OK) return failure(result);
  if (isNull == 1) return std::nullopt;
  buffer.resize(::strnlen(buffer.data(), size));
  return buffer;
}

// A TEXT or CLOB value as its text, a BYTE or BLOB value in hexadecimal.
Cell readBlobCell(SQLCursor& cursor, std::uint16_t column, const ColumnInfo& info) {
  std::uint32_t size = 0;
  std::int32_t isNull = 0;
  ResultCode result = cursor.readBlobSize(column, &size, &isNull);
  if (result != RESULT_OK) return failure(result);
  if (isNull == 1) return std::nullopt;
  std::string bytes(size, '\0');
  if (size > 0) {
    result = cursor.readBlob(column, bytes.data(), &isNull, size);
    if (result != RESULT_OK) return failure(result);
  }
  if (info.subtype == SUBTYPE_MEMO || info.subtype == SUBTYPE_CHAR_LOB) return bytes;
  return bytesText(bytes);
}

}  // namespace

bool isNumericField(std::uint16_t fieldType) {
  return fieldType == FIELD_INT16 || fieldType == FIELD_INT32 || fieldType == FIELD_FLOAT || fieldType == FIELD_BCD;
}

bool isEndOfRows(ResultCode result) { return result == RESULT_NO_MORE_ROWS || result == RESULT_CATALOGUE_END; }

ResultCode readColumns(SQLCursor& cursor, std::vector<ColumnInfo>* columns) {
  std::int16_t count = 0;
  if (const ResultCode result = cursor.columnCount(&count); result != RESULT_OK) return result;
  columns->clear();
  for (std::uint16_t column = 1; column <= static_cast<std::uint16_t>(std::max<std::int16_t>(count, 0)); ++column) {
    ColumnInfo info;
    std::int16_t nameLength = 0;
    if (const ResultCode result = cursor.columnNameLength(column, &nameLength); result != RESULT_OK) return result;
    // Data cursors count the NUL in the length, catalogue cursors do not:
    // room for both, and the name ends at its NUL.
    std::string name(static_cast<std::size_t>(std::max<std::int16_t>(nameLength, 0)) + 2, '\0');
    if (const ResultCode result = cursor.columnName(column, name.data()); result != RESULT_OK) return result;
    info.name = name.substr(0, ::strnlen(name.data(), name.size()));
    if (const ResultCode result = cursor.columnType(column, &info.fieldType, &info.subtype); result != RESULT_OK) {
      return result;
    }
    if (const ResultCode result = cursor.columnLength(column, &info.length); result != RESULT_OK) return result;
    if (const ResultCode result = cursor.columnPrecision(column, &info.precision); result != RESULT_OK) return result;
    if (const ResultCode result = cursor.columnScale(column, &info.scale); result != RESULT_OK) return result;
    columns->push_back(std::move(info));
  }
  return RESULT_OK;
}

Cell readCell(SQLCursor& cursor, std::uint16_t column, const ColumnInfo& info) {
  switch (info.fieldType) {
    case FIELD_STRING:
      return readStringCell(cursor, column, info);
    case FIELD_INT16:
      return readWith<std::int16_t>([&](std::int16_t* v, std::int32_t* n) { return cursor.readShort(column, v, n); },
                                    [](std::int16_t v) { return std::to_string(v); });
    case FIELD_INT32:
      return readWith<std::int32_t>([&](std::int32_t* v, std::int32_t* n) { return cursor.readLong(column, v, n); },
                                    [](std::int32_t v) { return std::to_string(v); });
    case FIELD_FLOAT:
      // A SMALLFLOAT column has precision 4 (its stored size).
      return readWith<double>([&](double* v, std::int32_t* n) { return cursor.readDouble(column, v, n); },
                              [&](double v) { return floatText(v, info.precision == 4); });
    case FIELD_BCD:
      return readWith<BcdRecord>([&](BcdRecord* v, std::int32_t* n) { return cursor.readBcd(column, v, n); },
                                 [](const BcdRecord& v) { return bcdText(v); });
    case FIELD_DATE:
      return readWith<std::int32_t>([&](std::int32_t* v, std::int32_t* n) { return cursor.readDate(column, v, n); },
                                    [](std::int32_t v) { return dateText(v); });
    case FIELD_TIME:
      return readWith<std::int32_t>([&](std::int32_t* v, std::int32_t* n) { return cursor.readTime(column, v, n); },
                                    [](std::int32_t v) { return timeOfDayText(v); });
    case FIELD_TIMESTAMP:
      return readWith<TimestampRecord>(
          [&](TimestampRecord* v, std::int32_t* n) { return cursor.readTimeStamp(column, v, n); },
          [](const TimestampRecord& v) { return timestampText(v); });
    case FIELD_BLOB:
      return readBlobCell(cursor, column, info);
    default:
      return "<field type " + std::to_string(info.fieldType) + ">";
  }
}

ResultCode readRows(SQLCursor& cursor, const std::vector<ColumnInfo>& columns,
                    const std::function<void(Row&&)>& onRow, const std::function<bool()>& stop) {
  for (;;) {
    if (stop && stop()) return RESULT_OK;
    const ResultCode result = cursor.fetchNext();
    if (isEndOfRows(result)) return RESULT_OK;
    if (result != RESULT_OK) return result;
    Row row;
    row.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
      row.push_back(readCell(cursor, static_cast<std::uint16_t>(i + 1), columns[i]));
    }
    onRow(std::move(row));
  }
}

}  // namespace quovexsql
