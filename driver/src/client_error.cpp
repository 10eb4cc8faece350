#include "client_error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

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

}  // namespace

std::int16_t buildClientErrorText(ClientConnection* traceTo, std::int32_t status, char* buffer, std::size_t size) {
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
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';

  pendingCode = (!usePending && isSecondaryError(details.secondDetail)) ? details.secondDetail : 0;
  return static_cast<std::int16_t>(length + 1);
}

std::int32_t pendingClientErrorCode() { return pendingCode; }

}  // namespace quovex::inf
