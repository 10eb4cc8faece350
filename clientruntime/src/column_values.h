// Values as a column stores them: every value written into a column
// (INSERT, UPDATE, parameters, literals, procedure bodies) is converted to
// the column's Informix type first, and a value the column cannot hold is
// refused with Informix's code, as the server does.
#pragma once

#include <cstdint>
#include <string>

#include "column_types.h"

struct sqlite3_value;
struct sqlite3_context;

namespace ifxrt {

// Whether a text longer than its CHAR or VARCHAR column is cut (a database
// without ANSI mode) or refused with -1279 (ANSI mode).
enum class LongText { Cut, Refuse };

// A refused value: the Informix code and the message argument (the value
// as it was given, quoted when it is a text).
struct Refusal {
  int32_t code = 0;
  std::string argument;
};

// Sets the result of `context` to what a column of `type` stores for
// `value`: integers as integers, FLOAT as doubles, decimals rounded to the
// column's scale (stored as for decimal parameters), dates as "yyyy-mm-dd",
// date-times and intervals as their text in the column's qualifier, texts
// cut to the column, BOOLEAN as 1 or 0; NULL stays NULL, and large-object
// columns keep what they are given. Returns false with the refusal when the
// column cannot hold the value (the result is then not set).
bool storeForColumn(const ColumnType& type, LongText longText, sqlite3_value* value, sqlite3_context* context,
                    Refusal& refusal);

// How the value of a double is named in a refusal: "NaN", "Infinity",
// "-Infinity", or its shortest text.
std::string doubleName(double value);

// The longest prefix of `text` of at most `bytes` bytes that does not end
// inside a UTF-8 sequence.
size_t utf8Prefix(const std::string& text, size_t bytes);

}  // namespace ifxrt
