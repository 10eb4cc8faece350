#include "host_api.h"

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>

namespace host {
namespace {

using EntryPoint = ResultCode (*)(const char*, const char*, void**);

EntryPoint loadEntryPoint() {
  void* library = dlopen(QUOVEXINF_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) throw std::runtime_error(std::string("cannot load the driver: ") + dlerror());
  void* entry = dlsym(library, "getSQLDriverINFORMIX");
  if (entry == nullptr) throw std::runtime_error("getSQLDriverINFORMIX not found");
  return reinterpret_cast<EntryPoint>(entry);
}

}  // namespace

ResultCode getDriver(const char* first, const char* second, void** driver) {
  static const EntryPoint entry = loadEntryPoint();
  return entry(first, second, driver);
}

std::string Connection::errorText() const {
  std::int16_t length = -1;
  if (errorMessageLength(&length) != quovex::RESULT_OK || length < 1) return "<no text>";
  std::string text(static_cast<std::size_t>(length) + 8, '\x7f');
  errorMessage(text.data());
  if (text[static_cast<std::size_t>(length) - 1] != '\0') return "<text without NUL at its length>";
  text.resize(static_cast<std::size_t>(length) - 1);
  return text;
}

std::string Command::errorText() const {
  std::int16_t length = -1;
  if (errorMessageLength(&length) != quovex::RESULT_OK || length < 1) return "<no text>";
  std::string text(static_cast<std::size_t>(length) + 8, '\x7f');
  errorMessage(text.data());
  if (text[static_cast<std::size_t>(length) - 1] != '\0') return "<text without NUL at its length>";
  text.resize(static_cast<std::size_t>(length) - 1);
  return text;
}

std::int32_t Connection::numberOption(std::int32_t option) const {
  std::int32_t value = -12345;
  std::int16_t length = 0;
  const ResultCode result = getOption(option, &value, sizeof value, &length);
  if (result != quovex::RESULT_OK) throw std::runtime_error("getOption " + std::to_string(option) + " failed");
  return value;
}

}  // namespace host
