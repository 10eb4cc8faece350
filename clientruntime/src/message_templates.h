// Informix message templates by status code. A template holds at most one
// "%s" (for the status area's message argument) and no other "%".
#pragma once

#include <cstdint>

namespace ifxrt {

// The template for `code`, or null when the runtime knows none.
const char* findMessageTemplate(int32_t code);

}  // namespace ifxrt
