#include "client_names.h"

#include <cstdint>
#include <cstdio>

namespace quovex::inf {
namespace {

// Starts at 0; unsigned so that wrapping after 2^32 names is defined.
std::uint32_t nameCounter = 0;

}  // namespace

std::string nextClientName(const char* prefix) {
  ++nameCounter;
  char number[16];
  std::snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(nameCounter));
  return std::string(prefix) + number;
}

}  // namespace quovex::inf
