// Reads a driver cursor (a data cursor or a catalogue cursor) into texts:
// its column descriptions and, row by row, every value in its natural text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "quovex/interfaces.h"

namespace quovexsql {

struct ColumnInfo {
  std::string name;
  std::uint16_t fieldType = 0;
  std::uint16_t subtype = 0;
  std::int32_t length = 0;
  std::int16_t precision = 0;
  std::int16_t scale = 0;
};

// One value: absent for NULL.
using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

// True for the field types a table aligns to the right.
bool isNumericField(std::uint16_t fieldType);

// The end of the rows: a data cursor reports RESULT_NO_MORE_ROWS, a catalogue
// cursor RESULT_CATALOGUE_END in some listings.
bool isEndOfRows(quovex::ResultCode result);

// Column descriptions of `cursor`. A failing call gives its code.
quovex::ResultCode readColumns(quovex::SQLCursor& cursor, std::vector<ColumnInfo>* columns);

// The value of `column` (from 1) of the current row. A reader that fails
// gives "<error N>" with its code, so one bad value does not hide the rest.
Cell readCell(quovex::SQLCursor& cursor, std::uint16_t column, const ColumnInfo& info);

// Fetches every row and hands each to `onRow`. Returns RESULT_OK at the end
// of the rows, or the failing fetch's code. When `stop` is given and says
// true before a fetch, the rows end there (RESULT_OK).
quovex::ResultCode readRows(quovex::SQLCursor& cursor, const std::vector<ColumnInfo>& columns,
                            const std::function<void(Row&&)>& onRow, const std::function<bool()>& stop = {});

// Error text of the last failure of a cursor, connection, command or
// metadata object (length first, which builds it, then the text); empty when
// the object has none.
template <typename Object>
std::string errorTextOf(Object& object) {
  std::int16_t length = 0;
  if (object.errorMessageLength(&length) != quovex::RESULT_OK || length <= 0) return {};
  // One byte more than asked: objects that report the length without the NUL
  // still write it.
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  if (object.errorMessage(text.data()) != quovex::RESULT_OK) return {};
  text.resize(text.find('\0'));
  return text;
}

// The error text of `object` after a failure with `result`, and on a second
// line the detail the driver keeps for the next request (such as the ISAM
// error behind an SQL error), asked for at once so it is not given later to
// a failure it does not belong to.
template <typename Object>
std::string failureText(Object& object, quovex::ResultCode result) {
  const std::string text = errorTextOf(object);
  if (text.empty()) return "the driver returned " + std::to_string(result);
  const std::string detail = errorTextOf(object);
  return detail.empty() || detail == text ? text : text + "\n  " + detail;
}

}  // namespace quovexsql
