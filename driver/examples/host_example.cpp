// A host program for the Informix driver: it knows only the host contract in
// include/quovex/ and reaches every object through its table of operations by
// slot number, as a host written in another language would.
//
//   quovex_host_example <database> [library]
//
// Connects to <database> (with the client runtime stand-in: the path of its
// SQLite file), begins and commits a transaction, begins and rolls back
// another, disconnects, then connects to a database that does not exist and
// prints the error text of that failure. Exit status 0 when every step
// behaved so.
#include <dlfcn.h>

#include <cstdio>
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
constexpr int kConnect = 3, kDisconnect = 4, kSetOption = 7, kBegin = 9, kCommit = 10, kRollback = 11;
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
  std::printf("traced     %zu steps, %zu with client value %ld\n", tracedValues.size(), matching,
              static_cast<long>(kTraceValue));
  return !tracedValues.empty() && matching == tracedValues.size();
}
constexpr int kErrorMessage = 12, kErrorMessageLength = 13;

std::string errorText(void* connection) {
  std::int16_t length = 0;
  if (callSlot<ResultCode>(connection, kErrorMessageLength, &length) != quovex::RESULT_OK || length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  callSlot<ResultCode>(connection, kErrorMessage, text.data());
  text.resize(static_cast<std::size_t>(length - 1));
  return text;
}

bool step(const char* what, ResultCode result, void* connection) {
  std::printf("%-10s %d\n", what, result);
  if (result == quovex::RESULT_OK) return true;
  std::printf("  error: %s\n", errorText(connection).c_str());
  return false;
}

// Connects, runs the two transactions and disconnects.
bool useDatabase(void* connection, const char* database) {
  quovex::TransactionDesc transaction{1, 0, quovex::ISOLATION_COMMITTED_READ, 0};
  return step("connect", callSlot<ResultCode>(connection, kConnect, database, "", ""), connection) &&
         step("begin", callSlot<ResultCode>(connection, kBegin, &transaction), connection) &&
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
