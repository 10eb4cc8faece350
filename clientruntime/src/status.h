// Outcome of one runtime call and how it is written into the status area.
#pragma once

#include <cstdint>
#include <string>

#include "ifxrt/client.h"

namespace ifxrt {

// What a call produced. The status area is built from it after the call.
struct Status {
  int32_t code = 0;          // 0 success, negative an Informix error code
  int32_t secondDetail = 0;  // sqlerrd[1]: ISAM or other detail code
  std::string argument;      // sqlerrm: the message template's %s, cut to 71 characters
  int32_t rowsProcessed = 0; // sqlerrd[2]
  bool warnLogged = false;   // sqlwarn[1]: the database keeps a transaction log
  bool warnAnsi = false;     // sqlwarn[2]: the database is in ANSI mode

  static Status ok() { return {}; }
  static Status error(int32_t code, int32_t secondDetail = 0, std::string argument = {});
  bool failed() const { return code != 0; }
};

// Clears every byte of the area (the start of every statement-level call).
void resetStatusArea(IfxStatusArea& area);

// Writes `status` into a freshly reset area. sqlwarn[0] is set whenever any
// other warning flag is, as the real runtime does.
void writeStatus(IfxStatusArea& area, const Status& status);

}  // namespace ifxrt
