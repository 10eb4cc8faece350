// The one error type of the record table engine.
#pragma once

#include <stdexcept>
#include <string>

#include "recordtable/export.h"

namespace recordtable {

// Raised by every failing table operation. what() is a complete sentence
// meant for the user (Brazilian Portuguese, UTF-8) that names the field,
// file or value concerned; nothing else about the failure is kept.
class RECORDTABLE_EXPORT TableError : public std::runtime_error {
 public:
  explicit TableError(const std::string& message);
  ~TableError() override;
};

}  // namespace recordtable
