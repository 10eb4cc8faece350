// Names of client connections, statements and cursors, generated from one
// process-wide counter: the prefix followed by the counter plus one in decimal
// ("CONN1", "SI2", "CN3"...). Not thread-safe: the host serialises its calls.
#pragma once

#include <string>

namespace quovex::inf {

// Advances the counter and returns the prefix followed by the new value.
std::string nextClientName(const char* prefix);

}  // namespace quovex::inf
