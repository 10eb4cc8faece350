#include "driver_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace quovexsql {

bool DriverLibrary::load(const std::string& path, std::string* error) {
  // A name without a slash would make dlopen search the system folders;
  // the shell loads exactly the file it was given.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = ::dlerror();
    *error = "cannot load the driver library " + path + ": " + (reason != nullptr ? reason : "unknown error");
    return false;
  }
  auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(::dlsym(library, quovex::kEntryPointName));
  if (entry == nullptr) {
    *error = path + " has no entry point " + quovex::kEntryPointName;
    return false;
  }
  const quovex::ResultCode result = entry(nullptr, nullptr, driver_.out());
  if (result != quovex::RESULT_OK || !driver_) {
    *error = std::string(quovex::kEntryPointName) + " returned " + std::to_string(result);
    return false;
  }
  return true;
}

std::string defaultDriverPath(const std::string& relativePath) {
  std::error_code failed;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", failed);
  if (failed) return relativePath;
  return (executable.parent_path() / relativePath).lexically_normal().string();
}

std::string builtOrInstalledDriverPath(const std::string& builtRelativePath, const std::string& installedRelativePath) {
  const std::string built = defaultDriverPath(builtRelativePath);
  std::error_code failed;
  if (std::filesystem::exists(built, failed)) return built;
  return defaultDriverPath(installedRelativePath);
}

}  // namespace quovexsql
