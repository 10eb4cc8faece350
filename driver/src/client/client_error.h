// The error-text builder of the client access layer, shared by connections
// and commands, and the process-wide pending secondary error code.
//
// A failed client call leaves a status code (kept by the object that made the
// call) and, in the runtime's status area, a message argument and a second
// detail code. The builder turns the status code into the runtime's message
// text; when the second detail code is itself an error (-199 to -100) it is
// kept as the pending code, and the next text built anywhere in the process
// is the text of that code instead.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quovex::inf {

struct ClientConnection;

// Size of an object's error text buffer: at most 256 characters and a NUL.
inline constexpr std::size_t kErrorTextSize = 257;

// Builds the text for `status` (or for the pending code, which it then
// clears) into `buffer` of `size` bytes (at least 1), cut to fit and always
// NUL-terminated, and returns its length including the NUL. Traces
// "ESQL/C GetErrorMessage" on `traceTo` when given. The message template is
// the runtime's; its first "%s" receives the status area's message argument,
// every other character is copied as it stands. For -29000 the second
// detail code is appended as "sqlerrd[1] = <code>".
std::int16_t buildClientErrorText(ClientConnection* traceTo, std::int32_t status, char* buffer, std::size_t size);

// The pending secondary error code; 0 when none.
std::int32_t pendingClientErrorCode();

}  // namespace quovex::inf
