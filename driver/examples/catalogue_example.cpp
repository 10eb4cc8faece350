// A host program that reads a database's catalogue through the Informix
// driver: it knows only the host contract in include/quovex/ and reaches
// every object through its table of operations by slot number.
//
//   quovex_catalogue_example <database> [user password] [library]
//
// Connects to <database> (with the client runtime stand-in: the path of its
// SQLite file) and prints its user tables and views, the columns of each,
// the indexes, the database's own procedures and functions and their
// parameters, each listing in its fixed column shape. Exit status 0 when
// every listing ran to its end.
#include <dlfcn.h>

#include <cstdio>
#include <string>
#include <vector>

#include "quovex/quovex.h"

namespace {

using quovex::ResultCode;

template <typename Result, typename... Args>
Result callSlot(void* object, int slot, Args... args) {
  using Operation = Result (*)(void*, Args...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Operation>(table[slot])(object, args...);
}

constexpr int kRelease = 2;
constexpr int kDriverCreateConnection = 3;
constexpr int kConnect = 3, kDisconnect = 4, kCreateMetaData = 6, kErrorMessage = 12, kErrorMessageLength = 13;
constexpr int kListTables = 6, kListProcedures = 7, kListColumns = 8, kListParameters = 9, kListIndexes = 10;
constexpr int kColumnCount = 7, kColumnNameLength = 8, kColumnName = 9, kColumnType = 10, kColumnLength = 11;
constexpr int kFetchNext = 19, kReadString = 20, kReadShort = 21, kReadLong = 22;
constexpr std::uint32_t kUserTablesAndViews = 1 | 2, kDatabaseRoutines = 1, kEveryIndex = 7;

struct Column {
  std::string name;
  std::uint16_t type = 0;
  std::int32_t length = 0;
};

std::vector<Column> columnsOf(void* cursor) {
  std::vector<Column> columns;
  std::int16_t count = 0;
  callSlot<ResultCode>(cursor, kColumnCount, &count);
  for (std::uint16_t number = 1; number <= count; ++number) {
    Column column;
    std::int16_t nameLength = 0;
    callSlot<ResultCode>(cursor, kColumnNameLength, number, &nameLength);
    column.name.assign(static_cast<std::size_t>(nameLength) + 1, '\0');
    callSlot<ResultCode>(cursor, kColumnName, number, column.name.data());
    column.name.resize(static_cast<std::size_t>(nameLength));
    std::uint16_t subtype = 0;
    callSlot<ResultCode>(cursor, kColumnType, number, &column.type, &subtype);
    callSlot<ResultCode>(cursor, kColumnLength, number, &column.length);
    columns.push_back(column);
  }
  return columns;
}

// One value as text, read by the column's type.
std::string valueText(void* cursor, std::uint16_t number, const Column& column) {
  std::int32_t isNull = 0;
  if (column.type == quovex::FIELD_STRING) {
    std::string text(static_cast<std::size_t>(column.length) + 1, '\0');
    callSlot<ResultCode>(cursor, kReadString, number, text.data(), &isNull);
    text.resize(text.find('\0'));
    return isNull != 0 ? "NULL" : "'" + text + "'";
  }
  std::int32_t value = 0;
  if (column.type == quovex::FIELD_INT16) {
    std::int16_t narrow = 0;
    callSlot<ResultCode>(cursor, kReadShort, number, &narrow, &isNull);
    value = narrow;
  } else {
    callSlot<ResultCode>(cursor, kReadLong, number, &value, &isNull);
  }
  return isNull != 0 ? "NULL" : std::to_string(value);
}

// Prints every row of a listing's cursor ("NAME=value ..." per row) and
// releases it. True when the rows ended with RESULT_NO_MORE_ROWS.
bool printRows(const char* title, ResultCode listed, void* cursor) {
  std::printf("%s\n", title);
  if (listed != quovex::RESULT_OK) {
    std::printf("  listing failed: %d\n", listed);
    return false;
  }
  const std::vector<Column> columns = columnsOf(cursor);
  ResultCode fetched = quovex::RESULT_OK;
  while ((fetched = callSlot<ResultCode>(cursor, kFetchNext)) == quovex::RESULT_OK) {
    std::string line = " ";
    for (std::uint16_t number = 2; number <= columns.size(); ++number) {  // RECNO is left out
      const Column& column = columns[number - 1];
      const std::string value = valueText(cursor, number, column);
      if (value != "''") line += " " + column.name + "=" + value;
    }
    std::printf("%s\n", line.c_str());
  }
  callSlot<std::int32_t>(cursor, kRelease);
  if (fetched != quovex::RESULT_NO_MORE_ROWS) std::printf("  fetch failed: %d\n", fetched);
  return fetched == quovex::RESULT_NO_MORE_ROWS;
}

std::string errorText(void* connection) {
  std::int16_t length = 0;
  if (callSlot<ResultCode>(connection, kErrorMessageLength, &length) != quovex::RESULT_OK || length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  callSlot<ResultCode>(connection, kErrorMessage, text.data());
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

// Runs one listing and prints its rows.
template <typename... Args>
bool listing(void* metadata, const char* title, int slot, Args... args) {
  void* cursor = nullptr;
  const ResultCode listed = callSlot<ResultCode>(metadata, slot, args..., &cursor);
  return printRows(title, listed, cursor);
}

bool listCatalogue(void* metadata) {
  bool ok = listing(metadata, "tables and views", kListTables, "", kUserTablesAndViews);
  ok = listing(metadata, "columns", kListColumns, "", "", 0u) && ok;
  ok = listing(metadata, "indexes", kListIndexes, "", kEveryIndex) && ok;
  ok = listing(metadata, "procedures", kListProcedures, "", kDatabaseRoutines) && ok;
  ok = listing(metadata, "procedure parameters", kListParameters, "", "") && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <database> [user password] [library]\n", argv[0]);
    return 2;
  }
  const char* user = argc > 3 ? argv[2] : "";
  const char* password = argc > 3 ? argv[3] : "";
  const char* libraryPath = argc > 4 ? argv[4] : QUOVEXINF_LIBRARY;
  void* library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", libraryPath, dlerror());
    return 1;
  }
  auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(dlsym(library, quovex::kEntryPointName));
  void* driver = nullptr;
  if (entry == nullptr || entry(nullptr, nullptr, reinterpret_cast<quovex::SQLDriver**>(&driver)) != quovex::RESULT_OK) {
    std::fprintf(stderr, "no driver from %s\n", libraryPath);
    return 1;
  }
  void* connection = nullptr;
  callSlot<ResultCode>(driver, kDriverCreateConnection, &connection);
  bool ok = false;
  if (const ResultCode connected = callSlot<ResultCode>(connection, kConnect, argv[1], user, password);
      connected != quovex::RESULT_OK) {
    std::printf("connect %d: %s\n", connected, errorText(connection).c_str());
  } else {
    void* metadata = nullptr;
    callSlot<ResultCode>(connection, kCreateMetaData, &metadata);
    ok = listCatalogue(metadata);
    callSlot<std::int32_t>(metadata, kRelease);
    callSlot<ResultCode>(connection, kDisconnect);
  }
  callSlot<std::int32_t>(connection, kRelease);
  callSlot<std::int32_t>(driver, kRelease);
  return ok ? 0 : 1;
}
