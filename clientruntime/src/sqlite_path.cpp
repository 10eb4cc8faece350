#include "sqlite_path.h"

#include <filesystem>
#include <system_error>

namespace ifxrt {

std::string sqliteFileName(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  return "./" + path;
}

std::string databasePathOfTarget(const std::string& target) {
  std::error_code error;
  if (std::filesystem::is_regular_file(target, error)) return target;
  const std::size_t at = target.rfind('@');
  return at == std::string::npos ? target : target.substr(0, at);
}

}  // namespace ifxrt
