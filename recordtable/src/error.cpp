#include "recordtable/error.h"

namespace recordtable {

TableError::TableError(const std::string& message) : std::runtime_error(message) {}
// Defined here so that the type's identity lives in this library alone.
TableError::~TableError() = default;

}  // namespace recordtable
