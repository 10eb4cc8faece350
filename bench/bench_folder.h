// A scratch folder for one benchmark run: made on first use under the system's
// temporary folder, named after the program and the process so that runs side
// by side do not meet, and removed with everything in it at exit.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace bench {

class BenchFolder {
 public:
  explicit BenchFolder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace bench
