#include "statement_log.h"

#include <utility>

namespace ifxrt {

void StatementLog::record(std::string text, std::string connection) {
  if (entries_.size() == kCapacity) entries_.pop_front();
  entries_.push_back({std::move(text), std::move(connection)});
}

const char* StatementLog::text(size_t index) const {
  return index < entries_.size() ? entries_[index].text.c_str() : nullptr;
}

const char* StatementLog::connection(size_t index) const {
  return index < entries_.size() ? entries_[index].connection.c_str() : nullptr;
}

}  // namespace ifxrt
