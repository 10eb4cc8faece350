#include "sqlite_errors.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "status_codes.h"
#include "value_guards.h"

namespace ifxrt {
namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The text after `prefix`, when the message starts with it.
bool afterPrefix(std::string_view message, std::string_view prefix, std::string& rest) {
  if (!startsWith(message, prefix)) return false;
  rest = std::string(message.substr(prefix.size()));
  return true;
}

// The name between `prefix` and `suffix` ("table t already exists").
bool between(std::string_view message, std::string_view prefix, std::string_view suffix,
             std::string& name) {
  if (!startsWith(message, prefix) || message.size() < prefix.size() + suffix.size()) return false;
  if (message.substr(message.size() - suffix.size()) != suffix) return false;
  name = std::string(message.substr(prefix.size(), message.size() - prefix.size() - suffix.size()));
  return true;
}

bool isSyntaxMessage(std::string_view message) {
  return message.find("syntax error") != std::string_view::npos ||
         startsWith(message, "incomplete input") || startsWith(message, "unrecognized token");
}

// What SQLite names after "... constraint failed: " (columns or constraint).
std::string constraintSubject(std::string_view message) {
  constexpr std::string_view kMarker = "constraint failed: ";
  const size_t at = message.find(kMarker);
  return at == std::string_view::npos ? std::string() : std::string(message.substr(at + kMarker.size()));
}

Status constraintStatus(int extended, std::string_view message) {
  switch (extended) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      return Status::error(code::kUniqueConstraint, code::kIsamDuplicateKey, constraintSubject(message));
    case SQLITE_CONSTRAINT_NOTNULL:
      return Status::error(code::kNullIntoColumn, 0, constraintSubject(message));
    case SQLITE_CONSTRAINT_CHECK:
      return Status::error(code::kCheckConstraint, 0, constraintSubject(message));
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return Status::error(code::kMissingReferencedKey);
    default:
      return Status::error(code::kRuntimeError, extended, "(" + std::string(message) + ") ");
  }
}

}  // namespace

Status statusFromSqlite(sqlite3* db, int rc) {
  const int extended = db != nullptr ? sqlite3_extended_errcode(db) : rc;
  const std::string_view message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  std::string name;
  switch (rc & 0xff) {
    case SQLITE_NOMEM:
      return Status::error(code::kQueryMemory);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Status::error(code::kCannotReadRow, code::kIsamRecordLocked);
    case SQLITE_CONSTRAINT:
      return constraintStatus(extended, message);
    default:
      break;
  }
  if (Refusal refusal; refusalOfMessage(message, refusal)) {
    return Status::error(refusal.code, 0, refusal.argument);
  }
  if (afterPrefix(message, "no such table: ", name)) return Status::error(code::kTableNotInDatabase, 0, name);
  if (afterPrefix(message, "no such column: ", name)) return Status::error(code::kColumnNotFound, 0, name);
  if (between(message, "table ", " already exists", name)) return Status::error(code::kTableExists, 0, name);
  if (between(message, "index ", " already exists", name)) return Status::error(code::kIndexExists, 0, name);
  if (isSyntaxMessage(message)) return Status::error(code::kSyntaxError);
  return Status::error(code::kRuntimeError, extended, "(" + std::string(message) + ") ");
}

}  // namespace ifxrt
