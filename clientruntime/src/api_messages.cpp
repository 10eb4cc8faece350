// Role 539: message templates by status code.
#include <cstdio>
#include <cstring>

#include "call_guard.h"
#include "message_templates.h"

using namespace ifxrt;

namespace {

void copyCut(const char* text, char* buffer, size_t size, size_t* length) {
  const size_t full = std::strlen(text);
  if (length != nullptr) *length = full;
  if (buffer == nullptr || size == 0) return;
  const size_t copied = full < size - 1 ? full : size - 1;
  std::memcpy(buffer, text, copied);
  buffer[copied] = '\0';
}

}  // namespace

extern "C" {

IFXRT_API int32_t clientMessageText(int32_t code, char* buffer, size_t size, size_t* length) {
  Runtime& rt = runtime();
  if (takeFault(rt, IFX_ROLE_MESSAGE_TEXT)) {
    copyCut("", buffer, size, length);
    return rt.status.sqlcode < 0 ? rt.status.sqlcode : -1;
  }
  if (const char* found = findMessageTemplate(code)) {
    copyCut(found, buffer, size, length);
    return 0;
  }
  char generic[64];
  std::snprintf(generic, sizeof generic, "Message number %d not found.", static_cast<int>(code));
  copyCut(generic, buffer, size, length);
  return -1;
}

}  // extern "C"
