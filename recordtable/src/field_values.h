// Converting between the values callers give or ask for and the stored
// cells of a field, with the rules documented on Field.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cell.h"
#include "recordtable/field.h"
#include "recordtable/table.h"

namespace recordtable::detail {

// A value converted to a field's stored form. Text kinds keep the text in
// `text` (cell.null tells null); other kinds are complete in `cell`.
struct StoredValue {
  Cell cell;
  std::string text;
};

// Each throws TableError naming the field when the value does not fit.
StoredValue storedFromText(const FieldDef& def, std::string_view text);
StoredValue storedFromInteger(const FieldDef& def, std::int64_t value);
StoredValue storedFromNumber(const FieldDef& def, double value);
StoredValue storedFromDateTime(const FieldDef& def, const DateTime& value);
StoredValue storedFromDecimalUnits(const FieldDef& def, std::int64_t units);
StoredValue storedFromValue(const FieldDef& def, const Value& value);

// True when `value` is of a sort the field takes but lies beyond what it can
// hold, so that no stored value can equal it: a text longer than a Text
// field, or for an integer field a number (or number text) that is not whole
// or is out of its range.
bool beyondField(const FieldDef& def, const Value& value);

// Reads of a stored cell (`text` is the cell's text for text kinds).
std::string textOfCell(const FieldDef& def, const Cell& cell, std::string_view text);
std::int64_t integerOfCell(const FieldDef& def, const Cell& cell, std::string_view text);
double numberOfCell(const FieldDef& def, const Cell& cell, std::string_view text);
DateTime dateTimeOfCell(const FieldDef& def, const Cell& cell, std::string_view text);

// Field::displayText of a cell: the display pattern applied to numbers and
// date-times, else the raw text; "" for null.
std::string displayTextOfCell(const FieldDef& def, const DisplaySettings& display, const Cell& cell,
                              std::string_view text);

// Order of two cells of one kind: null first, texts by their UTF-8 bytes.
int compareCells(FieldKind kind, const Cell& a, const Cell& b, const TextArena& arena);
// Exact equality of a stored cell with a converted value.
bool cellEquals(FieldKind kind, const Cell& cell, const StoredValue& value, const TextArena& arena);
// A number field's cell equals the integer exactly (never when null).
bool cellEqualsInteger(const FieldDef& def, const Cell& cell, std::int64_t value);
// The cell that every cell passing cellEqualsInteger(def, cell, value)
// compares equal to (compareCells), and no other cell does; nullopt when no
// cell of the field can equal the integer. Lets a sorted run of cells be
// searched for the integer instead of testing each one.
std::optional<Cell> cellMatchingInteger(const FieldDef& def, std::int64_t value);

}  // namespace recordtable::detail
