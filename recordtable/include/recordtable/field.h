// Field kinds, field definitions, display settings and the field object
// through which the values of the current record are read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/formats.h"
#include "recordtable/export.h"

namespace recordtable {

// Calendar date and time of day (formats' type, shared so that display
// patterns apply to it directly).
using DateTime = formats::DateTime;

// The kinds a field can have. Every value of every kind may be null.
enum class FieldKind : std::uint8_t {
  Text = 1,      // text of at most `size` characters (UTF-8 code points)
  Int16 = 2,     // signed 16-bit integer
  Int32 = 3,     // signed 32-bit integer
  Float = 4,     // 64-bit floating-point number (finite)
  DateTime = 5,  // date and time of day, to the millisecond, years 1 to 9999
  LongText = 6,  // text of any length
  Decimal = 7,   // fixed-point decimal: a signed 64-bit count of 10^-size units
};

// "text", "int16", "int32", "float", "datetime", "longtext", "decimal": the
// names used by the table file and by the JSON form of zultool.
RECORDTABLE_EXPORT std::string_view kindName(FieldKind kind);
// The kind of a name above (exact, lower case); nullopt for any other text.
RECORDTABLE_EXPORT std::optional<FieldKind> kindFromName(std::string_view name);

// Largest `size` of a Text field, and of a Decimal field (decimal places).
inline constexpr int kMaxTextSize = 65535;
inline constexpr int kMaxDecimalPlaces = 18;
// Longest field name, in bytes. Names are an ASCII letter or "_" followed by
// letters, digits or "_"; lookups ignore ASCII case.
inline constexpr std::size_t kMaxFieldNameLength = 64;

// One field of a table.
//   Text:    size = the most characters a value may hold (1..kMaxTextSize).
//   Decimal: size = the count of decimal places (0..kMaxDecimalPlaces).
//   others:  size = 0.
struct FieldDef {
  std::string name;
  FieldKind kind = FieldKind::Text;
  int size = 0;
  friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

// Throws TableError when `def` breaks a rule above (name, size for kind).
RECORDTABLE_EXPORT void validateFieldDef(const FieldDef& def);

enum class Alignment : std::uint8_t { Left, Right, Center };

// How a field is shown. `pattern` is a number pattern for Int16, Int32,
// Float and Decimal fields and a date pattern for DateTime fields (formats'
// notation); empty shows the value's plain text. `displayWidth` is the width
// of a grid column in characters, 0 meaning "choose from the field".
// `alignment` unset means right for numbers, left for everything else.
struct DisplaySettings {
  std::string pattern;
  int displayWidth = 0;
  std::optional<Alignment> alignment;
  friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

// Date-time helpers shared by the engine, zultool and the program (formats'
// own, named here too so that callers need only this header).
// True for a real calendar date in years 1..9999 and a real time of day.
using formats::isValidDateTime;
// "yyyy-mm-ddThh:nn:ss" with ".zzz" appended when milliseconds are not 0.
using formats::formatIsoDateTime;
// Reads "yyyy-mm-dd", "yyyy-mm-ddThh:nn", "yyyy-mm-ddThh:nn:ss" or with
// ".zzz" (a blank may stand for "T"); nullopt when malformed or invalid.
RECORDTABLE_EXPORT std::optional<DateTime> parseIsoDateTime(std::string_view text);

class Table;
class TableImpl;

// A field of an open or closed table: its definition, its display settings,
// and the value it holds in the current record (the pending record while
// appending or editing).
//
// Owned by its Table; a reference stays valid until the table's field
// definitions are replaced (setFieldDefs or loadFromFile) or the table is
// destroyed. Reading a value of a table with no current record gives null.
// Writing needs the table in append or edit state. Every failure raises
// TableError naming the field.
//
// Text conversions ("as text"), the same for reading and writing:
//   Text, LongText  the text itself (well-formed UTF-8 without U+0000).
//   Int16, Int32    decimal digits with an optional leading "-".
//   Float, Decimal  Brazilian form without grouping: "-1234,5"; a Float gives
//                   the shortest text that reads back to the same number,
//                   a Decimal exactly its decimal places ("12,50" for size 2).
//                   Writing accepts "," as decimal separator (formats'
//                   readNumber); a Decimal refuses more places than it has.
//   DateTime        "dd/mm/yyyy" at midnight, else "dd/mm/yyyy hh:nn:ss";
//                   writing also accepts "dd/mm/yyyy hh:nn" and ISO 8601.
//   null            reads as "" (and as 0 / 1899-12-30 for the other reads).
// Writing "" to any field other than Text and LongText stores null.
class RECORDTABLE_EXPORT Field {
 public:
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  const std::string& name() const;
  FieldKind kind() const;
  int size() const;
  const FieldDef& def() const;
  // Position among the table's fields, from 0.
  std::size_t index() const;

  const DisplaySettings& display() const;
  // Throws when a pattern is given for a field that is neither a number nor
  // a date-time, or the width is negative.
  void setDisplay(const DisplaySettings& settings);
  Alignment alignment() const;  // the effective one

  bool isNull() const;
  // Raw text as described above.
  std::string asText() const;
  // Integer value: integers as they are; Float and Decimal rounded half away
  // from zero; texts read as integers (blanks around allowed). Fails for a
  // date-time, a text that is not an integer, or a value beyond 64 bits.
  std::int64_t asInteger() const;
  // Number value: numbers as they are; texts read with "," decimals. Fails
  // for a date-time or a text that is not a number.
  double asFloat() const;
  // Date-time value; texts read as by setText. Fails for numbers.
  DateTime asDateTime() const;
  // Decimal fields: the stored count of 10^-size units. Fails for others.
  std::int64_t asDecimalUnits() const;
  // The value shown in grids and reports: the display pattern applied to
  // numbers and date-times (formats), else asText(); "" for null.
  std::string displayText() const;

  void setText(std::string_view text);
  // Integers must fit the field's range (Int16, Int32, Decimal); a Text
  // field takes the decimal digits; Float takes the number. DateTime fails.
  void setInteger(std::int64_t value);
  // Fails for non-finite numbers; an integer field takes only whole numbers
  // in its range; a Decimal rounds half away from zero to its places; a Text
  // field takes asText's form. DateTime fails.
  void setFloat(double value);
  // DateTime fields (and texts, which take asText's form); fails when the
  // date is not valid.
  void setDateTime(const DateTime& value);
  void setDecimalUnits(std::int64_t units);
  void setNull();

 private:
  friend class TableImpl;
  Field(TableImpl& owner, std::size_t index);
  TableImpl* owner_;
  std::size_t index_;
};

}  // namespace recordtable
