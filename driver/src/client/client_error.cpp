#include "client_error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "client_connection.h"
#include "client_roles.h"

namespace quovex::inf {
namespace {

constexpr std::int32_t kRuntimeErrorCode = -29000;
constexpr std::size_t kTemplateSize = 512;

static_assert(StatusDetails::kArgumentSize == sizeof IfxStatusArea::sqlerrm + 1);

bool isSecondaryError(std::int32_t code) { return code >= -199 && code <= -100; }

// The template with its first "%s" replaced by the argument. The template is
// never used as a format string: it comes from outside the driver.
void appendFilledTemplate(std::string& text, const char* messageTemplate, const char* argument) {
  const char* placeholder = std::strstr(messageTemplate, "%s");
  if (placeholder == nullptr) {
    text += messageTemplate;
    return;
  }
  text.append(messageTemplate, placeholder);
  text += argument;
  text += placeholder + 2;
}

// Copies `text` into the buffer, cut to fit; the length with the NUL.
std::int16_t copyErrorText(std::string_view text, char* buffer, std::size_t size) {
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<std::int16_t>(length + 1);
}

// Texts of the statuses the driver records itself, without a runtime call;
// null for a runtime status.
const char* driverStatusText(std::int32_t status) {
  if (status == kStatusAlreadyConnected) return "Connection is already open; disconnect before connecting again.";
  return nullptr;
}

}  // namespace

StatusDetails statusDetailsNow(std::int32_t status) {
  StatusDetails details;
  if (status >= 0) return details;
  if (const IfxStatusArea* area = clientRoles().statusArea()) {
    std::memcpy(details.argument, area->sqlerrm, strnlen(area->sqlerrm, sizeof area->sqlerrm));
    details.secondDetail = area->sqlerrd[1];
  }
  return details;
}

std::int16_t buildClientErrorText(ClientConnection* traceTo, std::int32_t status, StatusDetails& details,
                                  char* buffer, std::size_t size) {
  if (!details.ownText.empty()) return copyErrorText(details.ownText, buffer, size);
  if (const char* own = driverStatusText(status)) return copyErrorText(own, buffer, size);
  if (traceTo != nullptr) traceClientStep(*traceTo, "ESQL/C GetErrorMessage");
  const bool usePending = details.pendingSecond != 0;
  if (status == 0 && !usePending) return copyErrorText("", buffer, size);  // nothing failed
  const std::int32_t code = usePending ? details.pendingSecond : status;

  char messageTemplate[kTemplateSize] = {};
  clientRoles().messageText(code, messageTemplate, sizeof messageTemplate, nullptr);
  messageTemplate[kTemplateSize - 1] = '\0';

  std::string text;
  try {
    appendFilledTemplate(text, messageTemplate, details.argument);
    if (code == kRuntimeErrorCode) {
      char detail[16];
      std::snprintf(detail, sizeof detail, "%ld", static_cast<long>(details.secondDetail));
      text += "sqlerrd[1] = ";
      text += detail;
    }
  } catch (const std::bad_alloc&) {
    text.clear();  // an empty text still answers the request
  }
  details.pendingSecond = (!usePending && isSecondaryError(details.secondDetail)) ? details.secondDetail : 0;
  return copyErrorText(text, buffer, size);
}

}  // namespace quovex::inf
