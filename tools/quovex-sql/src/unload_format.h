// Informix's delimited unload format and the UNLOAD / LOAD statements the
// shell runs itself: one record per line, each field followed by the
// delimiter ("|" unless DELIMITER 'c' says otherwise), NULL as an empty
// field, and a backslash before a delimiter, a backslash or a line feed that
// belongs to the value.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "result_reader.h"

namespace quovexsql {

struct TransferStatement {
  enum class Kind { Unload, Load };
  Kind kind = Kind::Unload;
  std::string file;
  char delimiter = '|';
  std::string rest;  // the SELECT of an UNLOAD, the INSERT INTO of a LOAD
};

// UNLOAD TO 'file' [DELIMITER 'c'] SELECT ... and LOAD FROM 'file'
// [DELIMITER 'c'] INSERT INTO ...; nothing for other statements. A statement
// that starts so but is malformed gives a text in `error`.
std::optional<TransferStatement> parseTransfer(const std::string& sql, std::string* error);

// One record of values as written: each field and its delimiter, then "\n".
std::string unloadRecord(const Row& cells, char delimiter);

// Reads the next record; false at the end of the input. `line` is the
// number of the record's first line (counted by the caller's counter,
// which this advances).
bool readUnloadRecord(std::istream& in, char delimiter, std::vector<Cell>* fields, int* line);

// Bytes from hexadecimal digits; nothing when a digit is not one.
std::optional<std::string> bytesFromHex(const std::string& hex);

// The INSERT's table and its listed columns: "INSERT INTO t (a, b)".
bool parseInsertTarget(const std::string& insert, std::string* table, std::vector<std::string>* columns);

}  // namespace quovexsql
