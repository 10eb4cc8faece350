// The JSON form of table files (tools/README.md describes it) and the three
// operations of zultool built on it. Library `zuljson`, used by the zultool
// executable and tested directly.
//
// Every failure raises ConversionError (or recordtable::TableError from the
// engine, whose message already names the file); the message is a sentence
// for the person running the tool and names the record (counted from 1) and
// the field concerned when there is one.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "ProposalTables.h"
#include "recordtable/table.h"

namespace zultool {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- JSON text -------------------------------------------------------------

// Parses JSON text; a syntax error raises ConversionError giving the line and
// column. Strings must be valid UTF-8.
nlohmann::json parseJson(std::string_view text);

// Writes a document of the JSON form with one field definition per line and
// one value per line, records apart: the layout of the sample sources, so
// that an exported sample can be compared with its source line by line.
std::string formatTableJson(const nlohmann::json& document);

// ---- conversion ------------------------------------------------------------

// Defines `table` (which must be closed) from the document's "fields" and
// optional "index", creates it empty and appends every record of "records".
// On failure the table is left closed.
void tableFromJson(const nlohmann::json& document, recordtable::Table& table);

// The document of an open table: its definitions and every stored record,
// whatever filter is on, in the table's order. The table ends on its first
// record with its filter switch as it was.
nlohmann::json tableToJson(recordtable::Table& table);

// ---- commands --------------------------------------------------------------

// Reads the JSON file and writes the table file. The table file is written
// only when the whole document converts; an existing file is then replaced
// at once, and left as it was on any failure.
void importJsonFile(const std::filesystem::path& jsonPath,
                    const std::filesystem::path& tablePath);

// The formatted JSON text of a table file.
std::string exportTableFile(const std::filesystem::path& tablePath);

// What `check` found in a table file that loads.
struct CheckReport {
  std::size_t fieldCount = 0;
  std::size_t recordCount = 0;
  // The purpose the layout was checked for, if any.
  std::optional<proposals::Purpose> purpose;
  // One sentence per field the proposal program would miss or refuse.
  std::vector<std::string> layoutProblems;
};

// The purpose a process or proposals file is for, from its name: "PL_..." or
// "CP_..." (any letter case). nullopt for other names.
std::optional<proposals::Purpose> purposeFromFileName(
    const std::filesystem::path& path);

// Loads the table file (failures raise as the engine reports them) and checks
// its fields against what the proposal program requires for `purpose`; with
// no purpose given it is taken from the file name, and when the name tells
// none the layout is not checked.
CheckReport checkTableFile(const std::filesystem::path& tablePath,
                           std::optional<proposals::Purpose> purpose);

}  // namespace zultool
