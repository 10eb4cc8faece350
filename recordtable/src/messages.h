// Building the user-facing texts of TableError in one place.
#pragma once

#include <new>
#include <string>
#include <string_view>

#include "recordtable/error.h"

namespace recordtable::detail {

// "\"NAME\"" — names and values are quoted the same way in every message,
// with control characters shown escaped (see recordtable/message_text.h).
std::string inQuotes(std::string_view text);

// " na tabela CDS_Lote" or " na tabela" when the table has no name.
std::string inTable(std::string_view tableName);

[[noreturn]] void fail(const std::string& message);

// Runs `operation`; running out of memory in it becomes the table's one kind
// of error ("Não há memória suficiente ... na tabela X."), never an escaped
// std::bad_alloc.
template <class Operation>
decltype(auto) withinMemory(std::string_view tableName, Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    fail("Não há memória suficiente para esta operação" + inTable(tableName) + ".");
  }
}

}  // namespace recordtable::detail
