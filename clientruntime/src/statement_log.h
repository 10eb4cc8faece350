// The statements the runtime was asked to run, for tests to inspect.
#pragma once

#include <cstddef>
#include <string>
#include <deque>

namespace ifxrt {

class StatementLog {
 public:
  void record(std::string text, std::string connection);
  size_t size() const { return entries_.size(); }
  // Null past the end. Pointers stay valid until clear().
  const char* text(size_t index) const;
  const char* connection(size_t index) const;
  void clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string text;
    std::string connection;
  };
  std::deque<Entry> entries_;  // a deque keeps earlier entries in place
};

}  // namespace ifxrt
