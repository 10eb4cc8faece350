// Building the user-facing texts of TableError in one place.
#pragma once

#include <string>
#include <string_view>

#include "recordtable/error.h"

namespace recordtable::detail {

// "\"NAME\"" — names and values are quoted the same way in every message.
std::string inQuotes(std::string_view text);

// " na tabela CDS_Lote" or " na tabela" when the table has no name.
std::string inTable(std::string_view tableName);

[[noreturn]] void fail(const std::string& message);

}  // namespace recordtable::detail
