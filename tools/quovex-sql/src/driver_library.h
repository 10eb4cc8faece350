// Loading the driver library and the references to its objects.
#pragma once

#include <string>
#include <utility>

#include "quovex/quovex.h"

namespace quovexsql {

// One reference to a driver object, ended with release() when it goes.
template <typename Interface>
class Ref {
 public:
  Ref() = default;
  explicit Ref(Interface* object) : object_(object) {}
  ~Ref() { reset(); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;

  void reset() {
    if (object_ != nullptr) std::exchange(object_, nullptr)->release();
  }
  // The place an operation writes a new object to; the old one is released.
  Interface** out() {
    reset();
    return &object_;
  }
  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  Interface& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Interface* object_ = nullptr;
};

// The driver library loaded with dlopen; it stays loaded for the life of the
// process (objects of the driver may still be released during exit).
class DriverLibrary {
 public:
  // Loads `path` and takes a driver from its entry point. On failure returns
  // false and says why in `error`.
  bool load(const std::string& path, std::string* error);
  quovex::SQLDriver* driver() const { return driver_.get(); }

 private:
  Ref<quovex::SQLDriver> driver_;
};

// The library built beside the program: `relativePath` taken from the folder
// of the running executable (/proc/self/exe).
std::string defaultDriverPath(const std::string& relativePath);

// The driver the shell loads when none is named: the one built beside it
// (`builtRelativePath`) when that file exists, as in a build tree, else the
// installed one (`installedRelativePath`, from the executable's folder too).
std::string builtOrInstalledDriverPath(const std::string& builtRelativePath, const std::string& installedRelativePath);

}  // namespace quovexsql
