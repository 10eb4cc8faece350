// Rewrites the Informix type phrases and other SQL of Informix's dialect
// that SQLite's grammar does not take.
//
// "DATETIME YEAR TO SECOND" and "INTERVAL DAY(3) TO FRACTION(3)" are not
// SQLite type names (a type name is words with one optional number list at
// the end), so they become one quoted type name, "DATETIME YEAR TO SECOND",
// which SQLite keeps as the column's declared type. Every other Informix
// type (CHAR(n), NCHAR(n), VARCHAR(m,r), DECIMAL(p,s), MONEY(p,s), BYTE,
// TEXT, SMALLFLOAT, SERIAL ...) is already a valid SQLite type name and stays
// as written. A number literal of more than 15 significant digits that is
// not a whole number within 19 digits becomes a blob literal of its text
// (X'...'), since SQLite would read it as a double and round it; a DECIMAL
// column stores every digit of it. Quoted texts, quoted names and comments
// are never changed.
#pragma once

#include <string>
#include <string_view>

namespace ifxrt {

std::string rewriteTypePhrases(std::string_view sql);

// One statement of Informix's dialect as SQLite runs it: the type phrases
// and long literals above, and
//   { ... } comments              -> /* ... */
//   TODAY                         -> the local date, "yyyy-mm-dd"
//   CURRENT [qualifier]           -> the local date and time of those fields
//   MATCHES                       -> GLOB (the same * ? [...] wild cards)
//   DATETIME (v) q, INTERVAL (v) q -> the text 'v'
//   SELECT [SKIP m] [FIRST n] ... -> SELECT ... LIMIT n OFFSET m
//   SELECT ... INTO TEMP t [WITH NO LOG] -> CREATE TEMP TABLE t AS SELECT ...
std::string rewriteInformixStatement(std::string_view sql);

}  // namespace ifxrt
