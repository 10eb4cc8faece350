#include "runtime.h"

#include <utility>

namespace ifxrt {

void ConnectionRegistry::add(const std::string& name, std::unique_ptr<Database> database) {
  open_[name] = std::move(database);
  current_ = name;
}

bool ConnectionRegistry::makeCurrent(const std::string& name) {
  if (!contains(name)) return false;
  current_ = name;
  return true;
}

bool ConnectionRegistry::close(const std::string& name) {
  if (open_.erase(name) == 0) return false;
  if (current_ == name) current_.clear();
  return true;
}

void ConnectionRegistry::closeAll() {
  open_.clear();
  current_.clear();
}

Database* ConnectionRegistry::current() {
  const auto found = open_.find(current_);
  return found != open_.end() ? found->second.get() : nullptr;
}

Runtime& runtime() {
  static Runtime instance;
  return instance;
}

}  // namespace ifxrt
