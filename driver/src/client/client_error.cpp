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

std::int32_t pendingCode = 0;

bool isSecondaryError(std::int32_t code) { return code >= -199 && code <= -100; }

// What the status area holds about the last failed call, read before the
// message template is asked for.
struct StatusDetails {
  char argument[sizeof IfxStatusArea::sqlerrm + 1] = {};
  std::int32_t secondDetail = 0;
};

StatusDetails readStatusDetails() {
  StatusDetails details;
  if (const IfxStatusArea* area = clientRoles().statusArea()) {
    std::memcpy(details.argument, area->sqlerrm, strnlen(area->sqlerrm, sizeof area->sqlerrm));
    details.secondDetail = area->sqlerrd[1];
  }
  return details;
}

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

std::int16_t buildClientErrorText(ClientConnection* traceTo, std::int32_t status, char* buffer, std::size_t size) {
  // No runtime call failed for a status of the driver's own: the status area
  // and the pending code still describe an earlier failure and are left alone.
  if (const char* own = driverStatusText(status)) return copyErrorText(own, buffer, size);
  const bool usePending = pendingCode != 0;
  const std::int32_t code = usePending ? pendingCode : status;
  if (traceTo != nullptr) traceClientStep(*traceTo, "ESQL/C GetErrorMessage");
  const StatusDetails details = readStatusDetails();

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
  pendingCode = (!usePending && isSecondaryError(details.secondDetail)) ? details.secondDetail : 0;
  return copyErrorText(text, buffer, size);
}

std::int32_t pendingClientErrorCode() { return pendingCode; }

}  // namespace quovex::inf
