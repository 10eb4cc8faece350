#include "prepared_statements.h"

#include <algorithm>

namespace ifxrt {

IfxStatement* StatementTable::live(IfxStatement* handle) const {
  // Compared as addresses only: a freed handle must not be read.
  if (handle == nullptr) return nullptr;
  for (const auto& entry : cursors_) {
    if (entry.second.get() == handle) return handle;
  }
  for (const auto& entry : statements_) {
    if (entry.second.get() == handle) return handle;
  }
  return nullptr;
}

PreparedStatement* StatementTable::findStatement(const std::string& name) const {
  const auto found = statements_.find(name);
  return found != statements_.end() ? found->second.get() : nullptr;
}

Cursor* StatementTable::findCursor(const std::string& name) const {
  const auto found = cursors_.find(name);
  return found != cursors_.end() ? found->second.get() : nullptr;
}

PreparedStatement* StatementTable::addStatement(std::unique_ptr<PreparedStatement> statement) {
  if (PreparedStatement* old = findStatement(statement->name)) free(old);
  PreparedStatement* added = statement.get();
  statements_[statement->name] = std::move(statement);
  return added;
}

Cursor* StatementTable::addCursor(std::unique_ptr<Cursor> cursor) {
  if (Cursor* old = findCursor(cursor->name)) free(old);
  Cursor* added = cursor.get();
  if (added->statement != nullptr) added->statement->cursors.push_back(added);
  cursors_[cursor->name] = std::move(cursor);
  return added;
}

void StatementTable::free(IfxStatement* handle) {
  if (live(handle) == nullptr) return;
  if (handle->isCursor) {
    auto* cursor = static_cast<Cursor*>(handle);
    if (cursor->statement != nullptr) {
      auto& list = cursor->statement->cursors;
      list.erase(std::remove(list.begin(), list.end(), cursor), list.end());
    }
    const std::string name = cursor->name;  // the key must outlive the erase
    cursors_.erase(name);
    return;
  }
  auto* statement = static_cast<PreparedStatement*>(handle);
  const std::vector<Cursor*> cursors = statement->cursors;
  for (Cursor* cursor : cursors) {
    const std::string name = cursor->name;
    cursors_.erase(name);
  }
  const std::string name = statement->name;
  statements_.erase(name);
}

void StatementTable::clear() {
  cursors_.clear();
  statements_.clear();
}

}  // namespace ifxrt
