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

// A table file that could not be written. Besides the message it keeps the
// target's path and the operating system's error number (errno; 0 when the
// failure has none, such as a damaged table), so that a program can word the
// failure in its own language.
class RECORDTABLE_EXPORT SaveError : public TableError {
 public:
  SaveError(const std::string& message, std::string path, int systemError);
  ~SaveError() override;

  const std::string& path() const { return path_; }
  int systemError() const { return systemError_; }

 private:
  std::string path_;
  int systemError_;
};

}  // namespace recordtable
