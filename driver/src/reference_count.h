// The 32-bit reference count every driver object carries. It starts at 0; the
// creator adds the first reference before handing the object out.
#pragma once

#include <cstdint>

namespace quovex::inf {

class ReferenceCount {
 public:
  std::int32_t add() { return ++count_; }
  // Returns the new count; the owner destroys itself when it is 0.
  std::int32_t drop() { return --count_; }

 private:
  std::int32_t count_ = 0;
};

// Option numbers are compared in their low 8 bits.
constexpr int optionKey(std::int32_t option) { return option & 0xFF; }

}  // namespace quovex::inf
