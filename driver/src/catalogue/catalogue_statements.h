// The SQL texts of the catalogue listings, over the Informix system catalogue
// tables (informix.systables and its siblings).
//
// Name patterns go into the texts as quoted literals after "like", each
// single quote doubled, so a pattern can neither end its literal nor change
// the statement. Texts are built in growing strings: no pattern is too long.
// A null or empty pattern selects every name. Every builder may throw
// std::bad_alloc.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quovex::inf {

// Kinds of catalogue listing; also what a catalogue cursor shapes its rows by.
enum CatalogueKind : std::uint8_t {
  CATALOGUE_DATABASES = 0,
  CATALOGUE_TABLES = 2,
  CATALOGUE_VIEWS = 3,
  CATALOGUE_SYNONYMS = 4,
  CATALOGUE_PROCEDURES = 5,
  CATALOGUE_USERS = 6,
  CATALOGUE_ROLES = 7,
  CATALOGUE_EXTENDED_TYPES = 8,
  CATALOGUE_COLUMNS = 9,
  CATALOGUE_PROCEDURE_PARAMETERS = 10,
  CATALOGUE_INDEXES = 11,
};

// `pattern` between single quotes, every quote in it doubled.
std::string quotedLiteral(const char* pattern);

// The fixed statement of an object list (kinds 0 and 2 to 8, in the low 8
// bits of `kind`); none for any other kind.
std::optional<std::string> objectListStatement(std::int32_t kind);

std::string tablesStatement(const char* tablePattern, std::uint32_t typeMask);
std::string proceduresStatement(const char* procedurePattern, std::uint32_t typeMask);
std::string columnsStatement(const char* tablePattern, const char* columnPattern);
std::string procedureParametersStatement(const char* procedurePattern);
std::string indexesStatement(const char* tablePattern, std::uint32_t typeMask);

}  // namespace quovex::inf
