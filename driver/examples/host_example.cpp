// A host program for the Informix driver: it knows only the host contract in
// include/quovex/ and reaches every object through its table of operations by
// slot number, as a host written in another language would.
//
//   quovex_host_example <database> [library]
//
// Connects to <database> (with the client runtime stand-in: the path of its
// SQLite file), creates a table with a column of every kind, inserts two
// rows through parameters (one with a value of every kind, one all NULL),
// selects them back and prints them column by column. Then it begins and
// commits a transaction, begins and rolls back another, disconnects,
// connects to a database that does not exist and prints the error text of
// that failure. Every runtime step is traced to the host, which checks the
// client value it gave. Exit status 0 when every step behaved so.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "quovex/quovex.h"

namespace {

using quovex::ResultCode;

// Calls slot `slot` of `object`'s table of operations, passing the object first.
template <typename Result, typename... Args>
Result callSlot(void* object, int slot, Args... args) {
  using Operation = Result (*)(void*, Args...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Operation>(table[slot])(object, args...);
}

// Slots used here (every interface: 0 query, 1 addRef, 2 release).
constexpr int kRelease = 2;
constexpr int kDriverCreateConnection = 3;
constexpr int kConnect = 3, kDisconnect = 4, kCreateCommand = 5, kSetOption = 7, kBegin = 9, kCommit = 10,
              kRollback = 11;
constexpr int kOptionTraceCallback = 9, kOptionTraceValue = 12;
constexpr std::intptr_t kTraceValue = 42;

// The client value of every trace call. The record is packed, so its client
// value is read through traceClientValue, never bound by reference.
std::vector<std::intptr_t> tracedValues;

std::int32_t trace(std::int32_t /*callType*/, quovex::TraceRecord* record) {
  tracedValues.push_back(quovex::traceClientValue(record));
  return 0;
}

// Every runtime step was traced with the value the host gave.
bool showTrace() {
  std::size_t matching = 0;
  for (std::intptr_t value : tracedValues) matching += value == kTraceValue ? 1 : 0;
  if (matching == tracedValues.size()) {
    std::printf("traced     all %zu steps with client value %ld\n", matching, static_cast<long>(kTraceValue));
  } else {
    std::printf("traced     %zu steps, %zu with client value %ld\n", tracedValues.size(), matching,
                static_cast<long>(kTraceValue));
  }
  return !tracedValues.empty() && matching == tracedValues.size();
}
constexpr int kErrorMessage = 12, kErrorMessageLength = 13;
// Command slots.
constexpr int kSetParameter = 5, kPrepare = 7, kExecute = 8, kExecuteDirect = 9, kRowsAffected = 11;
constexpr int kCommandErrorMessage = 13, kCommandErrorMessageLength = 14;
// Cursor slots.
constexpr int kColumnCount = 7, kColumnNameLength = 8, kColumnName = 9, kColumnType = 10, kColumnLength = 11;
constexpr int kFetchNext = 19, kReadString = 20, kReadShort = 21, kReadLong = 22, kReadDouble = 23;
constexpr int kReadBcd = 24, kReadTimeStamp = 25, kReadDate = 27, kReadBlobSize = 29, kReadBlob = 30;

std::string errorText(void* connection) {
  std::int16_t length = 0;
  if (callSlot<ResultCode>(connection, kErrorMessageLength, &length) != quovex::RESULT_OK || length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  callSlot<ResultCode>(connection, kErrorMessage, text.data());
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

std::string commandErrorText(void* command) {
  std::int16_t length = 0;
  if (callSlot<ResultCode>(command, kCommandErrorMessageLength, &length) != quovex::RESULT_OK || length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  callSlot<ResultCode>(command, kCommandErrorMessage, text.data());
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

bool commandStep(const char* what, ResultCode result, void* command) {
  if (result == quovex::RESULT_OK) return true;
  std::printf("%-10s %d\n  error: %s\n", what, result, commandErrorText(command).c_str());
  return false;
}

// ---- the table of every kind ----

constexpr const char* kCreateTable =
    "CREATE TABLE showcase (id INTEGER, code CHAR(6), name VARCHAR(40), qty SMALLINT, price DECIMAL(16,2), "
    "ratio FLOAT, due DATE, stamped DATETIME YEAR TO FRACTION(3), photo BYTE, note TEXT)";
constexpr const char* kInsert = "INSERT INTO showcase VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

quovex::BcdRecord bcdOf(const char* digits, int places, bool negative) {
  quovex::BcdRecord bcd{};
  const int count = static_cast<int>(std::strlen(digits));
  bcd.precision = static_cast<std::uint8_t>(count);
  bcd.signAndPlaces = static_cast<std::uint8_t>(places | (negative ? quovex::BCD_SIGN_BIT : 0));
  for (int i = 0; i < count; ++i) {
    const int digit = digits[i] - '0';
    bcd.digits[i / 2] = static_cast<std::uint8_t>(bcd.digits[i / 2] | (i % 2 == 0 ? digit << 4 : digit));
  }
  return bcd;
}

std::string textOf(const quovex::BcdRecord& bcd) {
  std::string digits;
  for (int i = 0; i < bcd.precision; ++i) {
    const std::uint8_t pair = bcd.digits[i / 2];
    digits += static_cast<char>('0' + (i % 2 == 0 ? pair >> 4 : pair & 0x0F));
  }
  const auto places = static_cast<std::size_t>(bcd.signAndPlaces & quovex::BCD_PLACES_MASK);
  std::string text = (bcd.signAndPlaces & quovex::BCD_SIGN_BIT) != 0 ? "-" : "";
  text += digits.substr(0, digits.size() - places);
  if (places > 0) text += "." + digits.substr(digits.size() - places);
  return text;
}

ResultCode setValue(void* command, std::uint16_t number, std::uint16_t type, std::uint16_t subtype,
                    std::uint32_t length, const void* value) {
  return callSlot<ResultCode>(command, kSetParameter, number, std::uint16_t{0}, std::uint8_t{1}, type, subtype,
                              std::int32_t{0}, std::int32_t{0}, length, const_cast<void*>(value), std::int32_t{0});
}

ResultCode setNull(void* command, std::uint16_t number, std::uint16_t type, std::uint16_t subtype) {
  return callSlot<ResultCode>(command, kSetParameter, number, std::uint16_t{0}, std::uint8_t{1}, type, subtype,
                              std::int32_t{0}, std::int32_t{0}, std::uint32_t{0}, static_cast<void*>(nullptr),
                              std::int32_t{1});
}

// Inserts one row with a value of every kind and one with NULL in every column.
bool insertRows(void* command) {
  if (!commandStep("prepare", callSlot<ResultCode>(command, kPrepare, kInsert, std::uint16_t{10}), command)) {
    return false;
  }
  const std::int32_t id = 1;
  const std::int16_t qty = 12;
  const quovex::BcdRecord price = bcdOf("00001234567", 2, false);  // 12345.67
  const double ratio = -0.125;
  const std::int32_t due = quovex::dateNumberFromParts(2010, 12, 31);
  const quovex::TimestampRecord stamped{2011, 1, 2, 13, 14, 15, 678};
  const unsigned char photo[] = {0x89, 'P', 'N', 'G', 0x00, 0xFF};
  const char note[] = "Proposta de preços";
  ResultCode results[] = {
      setValue(command, 1, quovex::FIELD_INT32, 0, 4, &id),
      setValue(command, 2, quovex::FIELD_STRING, quovex::SUBTYPE_FIXED, 6, "A-01"),
      setValue(command, 3, quovex::FIELD_STRING, 0, 40, "Caneta esferográfica azul"),
      setValue(command, 4, quovex::FIELD_INT16, 0, 2, &qty),
      setValue(command, 5, quovex::FIELD_BCD, 0, 34, &price),
      setValue(command, 6, quovex::FIELD_FLOAT, 0, 8, &ratio),
      setValue(command, 7, quovex::FIELD_DATE, 0, 4, &due),
      setValue(command, 8, quovex::FIELD_TIMESTAMP, 0, 16, &stamped),
      setValue(command, 9, quovex::FIELD_BLOB, quovex::SUBTYPE_BINARY, sizeof photo, photo),
      setValue(command, 10, quovex::FIELD_BLOB, quovex::SUBTYPE_MEMO, static_cast<std::uint32_t>(std::strlen(note)),
               note),
  };
  for (ResultCode result : results) {
    if (!commandStep("parameter", result, command)) return false;
  }
  if (!commandStep("insert", callSlot<ResultCode>(command, kExecute, static_cast<void**>(nullptr)), command)) {
    return false;
  }
  const std::int32_t second = 2;
  const std::uint16_t types[] = {quovex::FIELD_STRING, quovex::FIELD_STRING, quovex::FIELD_INT16, quovex::FIELD_BCD,
                                 quovex::FIELD_FLOAT,  quovex::FIELD_DATE,   quovex::FIELD_TIMESTAMP,
                                 quovex::FIELD_BLOB,   quovex::FIELD_BLOB};
  const std::uint16_t subtypes[] = {quovex::SUBTYPE_FIXED, 0, 0, 0, 0, 0, 0, quovex::SUBTYPE_BINARY,
                                    quovex::SUBTYPE_MEMO};
  ResultCode set = setValue(command, 1, quovex::FIELD_INT32, 0, 4, &second);
  for (std::uint16_t i = 0; i < 9 && set == quovex::RESULT_OK; ++i) {
    set = setNull(command, static_cast<std::uint16_t>(i + 2), types[i], subtypes[i]);
  }
  if (!commandStep("parameter", set, command)) return false;
  if (!commandStep("insert", callSlot<ResultCode>(command, kExecute, static_cast<void**>(nullptr)), command)) {
    return false;
  }
  std::int32_t rows = 0;
  callSlot<ResultCode>(command, kRowsAffected, &rows);
  std::printf("%-10s %d row\n", "inserted", rows);
  return true;
}

// The value of one column of the current row as text; "NULL" for NULL.
std::string valueText(void* cursor, std::uint16_t column) {
  std::uint16_t type = 0, subtype = 0;
  std::int32_t length = 0, isNull = 0;
  callSlot<ResultCode>(cursor, kColumnType, column, &type, &subtype);
  callSlot<ResultCode>(cursor, kColumnLength, column, &length);
  char text[128] = {};
  ResultCode result = quovex::RESULT_OK;
  std::string shown;
  switch (type) {
    case quovex::FIELD_STRING: {
      std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
      result = callSlot<ResultCode>(cursor, kReadString, column, buffer.data(), &isNull);
      shown = std::string("'") + buffer.data() + "'";
      break;
    }
    case quovex::FIELD_INT16: {
      std::int16_t value = 0;
      result = callSlot<ResultCode>(cursor, kReadShort, column, &value, &isNull);
      shown = std::to_string(value);
      break;
    }
    case quovex::FIELD_INT32: {
      std::int32_t value = 0;
      result = callSlot<ResultCode>(cursor, kReadLong, column, &value, &isNull);
      shown = std::to_string(value);
      break;
    }
    case quovex::FIELD_FLOAT: {
      double value = 0;
      result = callSlot<ResultCode>(cursor, kReadDouble, column, &value, &isNull);
      std::snprintf(text, sizeof text, "%g", value);
      shown = text;
      break;
    }
    case quovex::FIELD_BCD: {
      quovex::BcdRecord value{};
      result = callSlot<ResultCode>(cursor, kReadBcd, column, &value, &isNull);
      shown = textOf(value);
      break;
    }
    case quovex::FIELD_DATE: {
      std::int32_t value = 0;
      result = callSlot<ResultCode>(cursor, kReadDate, column, &value, &isNull);
      const quovex::DateParts parts = quovex::datePartsFromNumber(value);
      std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.day, parts.month, parts.year);
      shown = text;
      break;
    }
    case quovex::FIELD_TIMESTAMP: {
      quovex::TimestampRecord value{};
      result = callSlot<ResultCode>(cursor, kReadTimeStamp, column, &value, &isNull);
      std::snprintf(text, sizeof text, "%02u/%02u/%04d %02u:%02u:%02u.%03u", value.day, value.month, value.year,
                    value.hour, value.minute, value.second, value.fraction);
      shown = text;
      break;
    }
    case quovex::FIELD_BLOB: {
      std::uint32_t size = 0;
      result = callSlot<ResultCode>(cursor, kReadBlobSize, column, &size, &isNull);
      if (result != quovex::RESULT_OK || isNull != 0) break;
      std::vector<unsigned char> bytes(size);
      result = callSlot<ResultCode>(cursor, kReadBlob, column, static_cast<void*>(bytes.data()), &isNull, size);
      if (subtype == quovex::SUBTYPE_MEMO) {
        shown = std::string("'") + std::string(bytes.begin(), bytes.end()) + "'";
      } else {
        shown = std::to_string(size) + " bytes:";
        for (unsigned char b : bytes) {
          std::snprintf(text, sizeof text, " %02x", b);
          shown += text;
        }
      }
      break;
    }
    default: return "?";
  }
  if (result != quovex::RESULT_OK) return "<error " + std::to_string(result) + ">";
  return isNull != 0 ? "NULL" : shown;
}

std::string columnName(void* cursor, std::uint16_t column) {
  std::int16_t length = 0;
  callSlot<ResultCode>(cursor, kColumnNameLength, column, &length);
  std::string name(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
  callSlot<ResultCode>(cursor, kColumnName, column, name.data());
  name.resize(std::strlen(name.c_str()));
  return name;
}

// Selects the rows back and prints every column of each.
bool printRows(void* command) {
  void* cursor = nullptr;
  if (!commandStep("select", callSlot<ResultCode>(command, kExecuteDirect, "SELECT * FROM showcase ORDER BY id",
                                                  &cursor),
                   command)) {
    return false;
  }
  std::int16_t columns = 0;
  callSlot<ResultCode>(cursor, kColumnCount, &columns);
  int rows = 0;
  ResultCode fetched = quovex::RESULT_OK;
  while ((fetched = callSlot<ResultCode>(cursor, kFetchNext)) == quovex::RESULT_OK) {
    std::printf("row %d\n", ++rows);
    for (std::uint16_t column = 1; column <= columns; ++column) {
      std::printf("  %-8s %s\n", columnName(cursor, column).c_str(), valueText(cursor, column).c_str());
    }
  }
  callSlot<std::int32_t>(cursor, kRelease);
  return fetched == quovex::RESULT_NO_MORE_ROWS && rows == 2;
}

bool useTable(void* connection) {
  void* command = nullptr;
  if (callSlot<ResultCode>(connection, kCreateCommand, &command) != quovex::RESULT_OK) return false;
  void* none = nullptr;
  const bool ok = commandStep("create", callSlot<ResultCode>(command, kExecuteDirect, kCreateTable, &none), command) &&
                  insertRows(command) && printRows(command);
  callSlot<std::int32_t>(command, kRelease);
  return ok;
}

bool step(const char* what, ResultCode result, void* connection) {
  std::printf("%-10s %d\n", what, result);
  if (result == quovex::RESULT_OK) return true;
  std::printf("  error: %s\n", errorText(connection).c_str());
  return false;
}

// Connects, fills and reads the table, runs the two transactions and disconnects.
bool useDatabase(void* connection, const char* database) {
  quovex::TransactionDesc transaction{1, 0, quovex::ISOLATION_COMMITTED_READ, 0};
  return step("connect", callSlot<ResultCode>(connection, kConnect, database, "", ""), connection) &&
         useTable(connection) && step("begin", callSlot<ResultCode>(connection, kBegin, &transaction), connection) &&
         step("commit", callSlot<ResultCode>(connection, kCommit, &transaction), connection) &&
         step("begin", callSlot<ResultCode>(connection, kBegin, &transaction), connection) &&
         step("rollback", callSlot<ResultCode>(connection, kRollback, &transaction), connection) &&
         step("disconnect", callSlot<ResultCode>(connection, kDisconnect), connection);
}

// Connects to a database that does not exist and prints the failure's text.
bool showFailedConnect(void* connection, const std::string& missing) {
  const ResultCode result = callSlot<ResultCode>(connection, kConnect, missing.c_str(), "", "");
  std::printf("%-10s %d\n", "connect", result);
  if (result == quovex::RESULT_OK) return false;
  std::printf("  error: %s\n", errorText(connection).c_str());
  return result == quovex::RESULT_INVALID_LOGIN;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <database> [library]\n", argv[0]);
    return 2;
  }
  const char* libraryPath = argc > 2 ? argv[2] : QUOVEXINF_LIBRARY;
  void* library = dlopen(libraryPath, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", libraryPath, dlerror());
    return 1;
  }
  auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(dlsym(library, quovex::kEntryPointName));
  void* driver = nullptr;
  if (entry == nullptr ||
      entry(nullptr, nullptr, reinterpret_cast<quovex::SQLDriver**>(&driver)) != quovex::RESULT_OK) {
    std::fprintf(stderr, "no driver from %s\n", libraryPath);
    return 1;
  }
  void* connection = nullptr;
  callSlot<ResultCode>(driver, kDriverCreateConnection, &connection);

  callSlot<ResultCode>(connection, kSetOption, quovex::OptionNumber{kOptionTraceValue}, kTraceValue);
  callSlot<ResultCode>(connection, kSetOption, quovex::OptionNumber{kOptionTraceCallback},
                       reinterpret_cast<quovex::OptionValue>(&trace));

  std::printf("database %s\n", argv[1]);
  bool ok = useDatabase(connection, argv[1]);
  ok = showTrace() && ok;
  const std::string missing = std::string(argv[1]) + ".missing";
  std::printf("database %s\n", missing.c_str());
  ok = showFailedConnect(connection, missing) && ok;

  callSlot<std::int32_t>(connection, kRelease);
  callSlot<std::int32_t>(driver, kRelease);
  return ok ? 0 : 1;
}
