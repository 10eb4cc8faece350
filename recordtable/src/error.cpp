#include "recordtable/error.h"

#include <utility>

namespace recordtable {

TableError::TableError(const std::string& message) : std::runtime_error(message) {}
// Defined here so that the type's identity lives in this library alone.
TableError::~TableError() = default;

SaveError::SaveError(const std::string& message, std::string path, int systemError)
    : TableError(message), path_(std::move(path)), systemError_(systemError) {}
SaveError::~SaveError() = default;

}  // namespace recordtable
