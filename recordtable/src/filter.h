// The filter texts the engine understands: "FIELD = <integer>".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace recordtable::detail {

struct FilterCondition {
  std::string fieldName;
  std::int64_t value = 0;
};

// nullopt for "" or blanks (no restriction). Throws TableError for any text
// not of the form NAME = [sign]DIGITS with optional blanks around each part.
std::optional<FilterCondition> parseFilter(std::string_view text);

}  // namespace recordtable::detail
