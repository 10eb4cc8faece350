// The error-text builder of the client access layer, shared by connections
// and commands, and the error details each of them keeps.
//
// A failed client call leaves a status code and, in the runtime's status
// area, a message argument and a second detail code. The status area is the
// process's and the next call of any object rewrites it, so the object that
// made the call copies them at once into its own StatusDetails. The builder
// turns the object's status code into the runtime's message text; when the
// second detail code is itself an error (-199 to -100), the object's next
// request gives that code's text once. A failure the driver finds itself
// (no runtime call) carries a text of its own; after a success the text is
// empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quovex::inf {

struct ClientConnection;

// Size of an object's error text buffer: at most 256 characters and a NUL.
inline constexpr std::size_t kErrorTextSize = 257;

// What an object's last status came with.
struct StatusDetails {
  static constexpr std::size_t kArgumentSize = 73;  // the status area's 72 bytes and a NUL
  char argument[kArgumentSize] = {};
  std::int32_t secondDetail = 0;
  // The secondary code whose text this object's next request gives; 0 when none.
  std::int32_t pendingSecond = 0;
  // The text of a failure the driver found itself; empty for a runtime status.
  std::string ownText;
};

// The details the status area holds for the call just made, which ended
// with `status`: none for a success.
StatusDetails statusDetailsNow(std::int32_t status);

// Records the status of the call just made on `record` (a ClientConnection or
// ClientStatement) with its details; returns the status.
template <typename Record>
std::int32_t noteStatus(Record& record, std::int32_t status) {
  record.lastStatus = status;
  record.details = statusDetailsNow(status);
  return status;
}

// Records a failure the driver found itself, with `code` as its status (an
// Informix code where one says what happened) and `text` as its text.
template <typename Record>
void noteOwnFailure(Record& record, std::int32_t code, std::string text) {
  record.lastStatus = code;
  record.details = StatusDetails{};
  record.details.ownText = std::move(text);
}

// Builds the text for `status` and its `details` (or for the pending
// secondary code, which it then clears) into `buffer` of `size` bytes (at
// least 1), cut to fit and always NUL-terminated, and returns its length
// including the NUL. Traces "ESQL/C GetErrorMessage" on `traceTo` when
// given. The message template is the runtime's; its first "%s" receives the
// message argument, every other character is copied as it stands. For
// -29000 the second detail code is appended as "sqlerrd[1] = <code>". A
// status of 0 with nothing pending gives the empty text.
std::int16_t buildClientErrorText(ClientConnection* traceTo, std::int32_t status, StatusDetails& details,
                                  char* buffer, std::size_t size);

}  // namespace quovex::inf
