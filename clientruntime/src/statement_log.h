// The statements the runtime was asked to run, for tests to inspect.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace ifxrt {

// Keeps the most recent kCapacity statements: a long-running host (thousands
// of connects, each logging its isolation statement) must not grow it
// without bound. Older entries are dropped first.
class StatementLog {
 public:
  static constexpr std::size_t kCapacity = 4096;

  void record(std::string text, std::string connection);
  size_t size() const { return entries_.size(); }
  // Null past the end. Pointers stay valid until clear() or until the entry
  // is dropped as one of the oldest.
  const char* text(size_t index) const;
  const char* connection(size_t index) const;
  void clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string text;
    std::string connection;
  };
  std::deque<Entry> entries_;  // a deque keeps the other entries in place when one is dropped
};

}  // namespace ifxrt
