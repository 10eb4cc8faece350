// Texts of the values a driver cursor hands out, as the shell prints them,
// and the making safe of texts that came from a database.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "quovex/types.h"

namespace quovexsql {

// A decimal with every digit the record holds: integer digits without leading
// zeros (at least one), then "." and all fraction digits, trailing zeros kept;
// "-" first for a negative non-zero value. A record that claims more digits
// than it can hold, or holds a nibble above 9, gives "<bad decimal>".
std::string bcdText(const quovex::BcdRecord& value);

// dd/mm/yyyy of a date number; years 0 and earlier as -yyyy. Date number 0
// ("no date") gives an empty text.
std::string dateText(std::int32_t dateNumber);

// ISO date and time "yyyy-mm-dd hh:mm:ss", with ".fff" when the fraction
// (thousandths, taken modulo 1000) is not 0.
std::string timestampText(const quovex::TimestampRecord& value);

// "hh:mm:ss", with ".fff" when the milliseconds are not 0; a number outside
// one day gives "<bad time>".
std::string timeOfDayText(std::int32_t milliseconds);

// Shortest text that reads back as the same number; a column stored in 4
// bytes (`singlePrecision`) is written as the float it was, not as the
// widened double.
std::string floatText(double value, bool singlePrecision);

// The bytes of a BYTE or BLOB value in hexadecimal after "\\x", as psql
// shows binary data: "\\x00ff".
std::string bytesText(std::string_view bytes);

// The text with everything a terminal could take as a command made visible:
// C0 controls and DEL as \n, \r, \t or \xHH, C1 controls (U+0080..U+009F) as
// \u00HH, and bytes that are not UTF-8 as \xHH. A backslash stays as it is.
std::string escapeControls(std::string_view text);

// escapeControls for a text of many lines: its line feeds stay.
std::string escapeControlsKeepingLines(std::string_view text);

// Number of characters (UTF-8 code points) of a valid UTF-8 text, which is
// how many columns it takes in a terminal for the texts a table shows.
std::size_t displayWidth(std::string_view text);

}  // namespace quovexsql
