// Roles 119, 123, 75, 79, 59: one-row queries; 658 to 676: variable-length
// texts.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "call_guard.h"
#include "catalogue.h"
#include "current_connection.h"
#include "sqlite_errors.h"
#include "sqlite_statement.h"

using namespace ifxrt;

struct IfxVarText {
  bool null = true;
  std::string text;
};

struct IfxValueArea {
  struct Entry {
    bool bound = false;
    int32_t type = 0;
    void* place = nullptr;  // the caller's value or place
    int32_t length = 0;
    int16_t* indicator = nullptr;
  };
  std::vector<Entry> entries;
};

namespace {

constexpr int32_t kMaxAreaEntries = 512;
constexpr int32_t kBadArea = code::kHostVariableCount;  // an area or entry that cannot be used
constexpr size_t kStatementIdSize = 8;

IfxValueArea* makeArea(IfxRole role, int32_t count) {
  IfxValueArea* area = nullptr;
  runStatementCall(role, [&](Runtime&) {
    if (count < 1 || count > kMaxAreaEntries) return Status::error(kBadArea);
    area = new IfxValueArea;
    area->entries.resize(static_cast<size_t>(count));
    return Status::ok();
  });
  return area;
}

bool knownType(int32_t type) {
  switch (type) {
    case IFX_TYPE_SMALLINT:
    case IFX_TYPE_INTEGER:
    case IFX_TYPE_FLOAT:
    case IFX_TYPE_CHAR:
    case IFX_TYPE_VARCHAR:
    case IFX_TYPE_LVARCHAR: return true;
    default: return false;
  }
}

int32_t bindEntry(IfxRole role, IfxValueArea* area, int32_t index, int32_t type, void* place, int32_t length,
                  int16_t* indicator) {
  if (auto fault = runtime().faults.countCall(role)) return fault->code;
  if (area == nullptr || index < 0 || index >= static_cast<int32_t>(area->entries.size()) || !knownType(type)) {
    return kBadArea;
  }
  area->entries[static_cast<size_t>(index)] = {true, type, place, length, indicator};
  return 0;
}

int bindValue(sqlite3_stmt* statement, int marker, const IfxValueArea::Entry& entry) {
  if (entry.place == nullptr) return sqlite3_bind_null(statement, marker);
  switch (entry.type) {
    case IFX_TYPE_SMALLINT: return sqlite3_bind_int(statement, marker, *static_cast<const int16_t*>(entry.place));
    case IFX_TYPE_INTEGER: return sqlite3_bind_int(statement, marker, *static_cast<const int32_t*>(entry.place));
    case IFX_TYPE_FLOAT: return sqlite3_bind_double(statement, marker, *static_cast<const double*>(entry.place));
    case IFX_TYPE_LVARCHAR: {
      const auto* text = static_cast<const IfxVarText*>(entry.place);
      if (text->null) return sqlite3_bind_null(statement, marker);
      return sqlite3_bind_text(statement, marker, text->text.data(), static_cast<int>(text->text.size()),
                               SQLITE_TRANSIENT);
    }
    default: {
      const auto* text = static_cast<const char*>(entry.place);
      const size_t size = entry.length > 0 ? strnlen(text, static_cast<size_t>(entry.length)) : std::strlen(text);
      return sqlite3_bind_text(statement, marker, text, static_cast<int>(size), SQLITE_TRANSIENT);
    }
  }
}

void writeValue(sqlite3_stmt* statement, int column, const IfxValueArea::Entry& entry) {
  const bool null = sqlite3_column_type(statement, column) == SQLITE_NULL;
  if (entry.indicator != nullptr) *entry.indicator = null ? -1 : 0;
  if (entry.place == nullptr) return;
  switch (entry.type) {
    case IFX_TYPE_SMALLINT:
      *static_cast<int16_t*>(entry.place) = static_cast<int16_t>(null ? 0 : sqlite3_column_int(statement, column));
      return;
    case IFX_TYPE_INTEGER:
      *static_cast<int32_t*>(entry.place) = null ? 0 : sqlite3_column_int(statement, column);
      return;
    case IFX_TYPE_FLOAT:
      *static_cast<double*>(entry.place) = null ? 0.0 : sqlite3_column_double(statement, column);
      return;
    case IFX_TYPE_LVARCHAR: {
      auto* text = static_cast<IfxVarText*>(entry.place);
      text->null = null;
      const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      text->text.assign(data != nullptr ? data : "", data != nullptr ? sqlite3_column_bytes(statement, column) : 0);
      return;
    }
    default: {
      if (entry.length < 1) return;
      auto* place = static_cast<char*>(entry.place);
      const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      const size_t size = data != nullptr ? static_cast<size_t>(sqlite3_column_bytes(statement, column)) : 0;
      const size_t copied = std::min(size, static_cast<size_t>(entry.length - 1));
      if (copied > 0) std::memcpy(place, data, copied);
      place[copied] = '\0';
      return;
    }
  }
}

bool allBound(const IfxValueArea* area) {
  return area == nullptr ||
         std::all_of(area->entries.begin(), area->entries.end(), [](const auto& entry) { return entry.bound; });
}

Status selectOneRow(Database& database, const char* sql, const IfxValueArea* input, const IfxValueArea* output) {
  sqlite3* db = database.handle();
  Status status = prepareCatalogue(db, sql);
  if (status.failed()) return status;
  SqliteStatement statement;
  int rc = statement.prepare(db, sql);
  if (rc != SQLITE_OK) return statusFromSqlite(db, rc);
  if (!statement) return Status::error(code::kSyntaxError);
  const int markers = sqlite3_bind_parameter_count(statement.get());
  const int given = input != nullptr ? static_cast<int>(input->entries.size()) : 0;
  if (given < markers || !allBound(input) || !allBound(output)) return Status::error(kBadArea);
  for (int marker = 1; marker <= markers; ++marker) {
    rc = bindValue(statement.get(), marker, input->entries[static_cast<size_t>(marker - 1)]);
    if (rc != SQLITE_OK) return statusFromSqlite(db, rc);
  }
  rc = sqlite3_step(statement.get());
  if (rc == SQLITE_DONE) return Status::error(code::kNoMoreRows);
  if (rc != SQLITE_ROW) return statusFromSqlite(db, rc);
  const int columns = sqlite3_column_count(statement.get());
  if (output != nullptr) {
    for (int column = 0; column < columns && column < static_cast<int>(output->entries.size()); ++column) {
      writeValue(statement.get(), column, output->entries[static_cast<size_t>(column)]);
    }
  }
  rc = sqlite3_step(statement.get());
  if (rc == SQLITE_ROW) return Status::error(code::kNotExactlyOneRow);
  return rc == SQLITE_DONE ? Status::ok() : statusFromSqlite(db, rc);
}

bool isCleared(const void* id) {
  const auto* bytes = static_cast<const unsigned char*>(id);
  return std::all_of(bytes, bytes + kStatementIdSize, [](unsigned char byte) { return byte == 0; });
}

}  // namespace

extern "C" {

IFXRT_API IfxValueArea* clientInputArea(int32_t count) { return makeArea(IFX_ROLE_INPUT_AREA, count); }

IFXRT_API IfxValueArea* clientOutputArea(int32_t count) { return makeArea(IFX_ROLE_OUTPUT_AREA, count); }

IFXRT_API int32_t clientBindInput(IfxValueArea* area, int32_t index, int32_t type, const void* data, int32_t length) {
  return bindEntry(IFX_ROLE_BIND_INPUT, area, index, type, const_cast<void*>(data), length, nullptr);
}

IFXRT_API int32_t clientBindOutput(IfxValueArea* area, int32_t index, int32_t type, void* place, int32_t length,
                                   int16_t* indicator) {
  return bindEntry(IFX_ROLE_BIND_OUTPUT, area, index, type, place, length, indicator);
}

IFXRT_API void clientSelectInto(void* id, const char* sql, IfxValueArea* input, IfxValueArea* output) {
  // Both areas are the runtime's to free, whatever happens.
  const std::unique_ptr<IfxValueArea> inputOwned(input);
  const std::unique_ptr<IfxValueArea> outputOwned(output);
  runStatementCall(IFX_ROLE_SELECT_INTO, [&](Runtime& rt) {
    if (id == nullptr || !isCleared(id)) {
      return Status::error(code::kRuntimeError, 0, "(statement id not cleared) ");
    }
    if (sql == nullptr) return Status::error(code::kSyntaxError);
    return onCurrentConnection(rt, sql, [&](Database& database) { return selectOneRow(database, sql, input, output); });
  });
}

IFXRT_API int32_t clientVarTextNew(IfxVarText** text) {
  if (auto fault = runtime().faults.countCall(IFX_ROLE_VARTEXT_NEW)) return fault->code;
  if (text == nullptr) return kBadArea;
  *text = new (std::nothrow) IfxVarText;
  return *text != nullptr ? 0 : code::kOutOfMemory;
}

IFXRT_API int32_t clientVarTextFree(IfxVarText* text) {
  runtime().faults.countCall(IFX_ROLE_VARTEXT_FREE);  // a failing free still frees
  delete text;
  return 0;
}

IFXRT_API int32_t clientVarTextIsNull(const IfxVarText* text) {
  if (auto fault = runtime().faults.countCall(IFX_ROLE_VARTEXT_IS_NULL)) return 1;
  return text == nullptr || text->null ? 1 : 0;
}

IFXRT_API const char* clientVarTextData(const IfxVarText* text) {
  if (auto fault = runtime().faults.countCall(IFX_ROLE_VARTEXT_DATA)) return "";
  return text == nullptr || text->null ? "" : text->text.c_str();
}

IFXRT_API int32_t clientVarTextLength(const IfxVarText* text) {
  if (auto fault = runtime().faults.countCall(IFX_ROLE_VARTEXT_LENGTH)) return 0;
  return text == nullptr || text->null ? 0 : static_cast<int32_t>(text->text.size());
}

}  // extern "C"
