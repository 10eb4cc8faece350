// Putting texts that come from outside (files, names, SQLite's own
// messages, command lines) into messages for people. Such a text may hold
// line breaks, terminal escape codes or direction overrides: printed as is,
// a message could span lines (a second line can read like a success), clear
// the terminal or show its parts out of order. These functions show every
// such character as an escape, so that a message stays one honest line.
#pragma once

#include <string>
#include <string_view>

#include "recordtable/export.h"

namespace recordtable {

// The text with control characters shown escaped: "\n", "\r", "\t", other
// C0 bytes and DEL as "\x1B", C1 controls, line and paragraph separators and
// direction controls as "\u{202E}", bytes that are not UTF-8 as "\xFF", and
// "\" and "\"" (the quote) escaped too. Printable text, accents included,
// stays as it is.
RECORDTABLE_EXPORT std::string escapedForMessage(std::string_view text);

// The escaped text between double quotes: "\"NOME\"".
RECORDTABLE_EXPORT std::string quotedForMessage(std::string_view text);

}  // namespace recordtable
