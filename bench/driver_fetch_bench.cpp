// Driver fetch: reading 10 000, 100 000 and 1 000 000 rows of five columns
// (INTEGER, VARCHAR(40), DECIMAL(16,2), DATE, DATETIME YEAR TO SECOND)
// through the driver as a host does (fetchNext and one reader per column,
// by slot number), against two baselines measured in the same process:
// fetching the same rows straight through the client runtime stand-in into
// bound places, and a plain SQLite statement loop over the same table.
//
// Counters of BM_DriverFetch: "x_runtime" is the driver's time divided by
// the time of runtime fetches made right after each driver fetch (outside
// the timer), "x_sqlite" the same against plain SQLite loops; the "_cpu"
// counters divide the CPU time of this thread instead of the wall clock.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "ifxrt/client.h"
#include "ifxrt/testing.h"
#include "quovex/quovex.h"

#include "bench_folder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using quovex::ResultCode;

constexpr const char* kQuery = "SELECT id, name, price, due, stamped FROM fetched ORDER BY id";

// ---- the databases ----


bench::BenchFolder& folder() {
  static bench::BenchFolder instance("tavurel-fetch-bench");
  return instance;
}

// A stand-in database with `rows` rows in table fetched, made once per size.
const std::string& database(std::int64_t rows) {
  static std::map<std::int64_t, std::string> made;
  auto found = made.find(rows);
  if (found != made.end()) return found->second;
  const std::string path = (folder().path() / ("fetch_" + std::to_string(rows) + ".db")).string();
  if (ifxrtCreateDatabase(path.c_str(), IFX_LOG_BUFFERED) != 0) throw std::runtime_error("cannot create " + path);
  const std::string script =
      "CREATE TABLE fetched (id INTEGER, name VARCHAR(40), price DECIMAL(16,2), due DATE, "
      "stamped DATETIME YEAR TO SECOND);\n"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(rows) +
      ")\n"
      "INSERT INTO fetched SELECT i, 'Fornecedor de materiais ' || i, printf('%d.%02d', i * 7 % 1000000, i % 100), "
      "date('2000-01-01', '+' || (i % 9000) || ' days'), "
      "datetime('2010-01-01 00:00:00', '+' || i || ' seconds') FROM n";
  char error[256] = {};
  if (ifxrtRunScript(path.c_str(), script.c_str(), error, sizeof error) != 0) {
    throw std::runtime_error(std::string("cannot fill the table: ") + error);
  }
  return made.emplace(rows, path).first->second;
}

// ---- the driver, as a host reaches it ----

template <typename Result, typename... Args>
Result callSlot(void* object, int slot, Args... args) {
  using Operation = Result (*)(void*, Args...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Operation>(table[slot])(object, args...);
}

void* driver() {
  static void* loaded = [] {
    void* library = dlopen(QUOVEXINF_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) throw std::runtime_error(dlerror());
    auto entry = reinterpret_cast<quovex::GetSQLDriverFn>(dlsym(library, quovex::kEntryPointName));
    quovex::SQLDriver* made = nullptr;
    if (entry == nullptr || entry(nullptr, nullptr, &made) != quovex::RESULT_OK) {
      throw std::runtime_error("no driver");
    }
    return static_cast<void*>(made);
  }();
  return loaded;
}

// A connection and a command of the driver on one database.
class DriverSession {
 public:
  explicit DriverSession(const std::string& path) {
    callSlot<ResultCode>(driver(), 3, &connection_);
    if (callSlot<ResultCode>(connection_, 3, path.c_str(), "", "") != quovex::RESULT_OK) {
      throw std::runtime_error("driver connect failed");
    }
    callSlot<ResultCode>(connection_, 5, &command_);
    if (callSlot<ResultCode>(command_, 7, kQuery, std::uint16_t{0}) != quovex::RESULT_OK) {
      throw std::runtime_error("driver prepare failed");
    }
  }
  ~DriverSession() {
    callSlot<std::int32_t>(command_, 2);
    callSlot<ResultCode>(connection_, 4);
    callSlot<std::int32_t>(connection_, 2);
  }

  // Executes and reads every value of every row; the count of rows.
  std::int64_t fetchAll() {
    void* cursor = nullptr;
    if (callSlot<ResultCode>(command_, 8, &cursor) != quovex::RESULT_OK) return -1;
    std::int64_t rows = 0;
    std::int32_t id = 0, due = 0, isNull = 0;
    char name[41];
    quovex::BcdRecord price;
    quovex::TimestampRecord stamped;
    while (callSlot<ResultCode>(cursor, 19) == quovex::RESULT_OK) {
      callSlot<ResultCode>(cursor, 22, std::uint16_t{1}, &id, &isNull);
      callSlot<ResultCode>(cursor, 20, std::uint16_t{2}, name, &isNull);
      callSlot<ResultCode>(cursor, 24, std::uint16_t{3}, &price, &isNull);
      callSlot<ResultCode>(cursor, 27, std::uint16_t{4}, &due, &isNull);
      callSlot<ResultCode>(cursor, 25, std::uint16_t{5}, &stamped, &isNull);
      benchmark::DoNotOptimize(id + due + price.precision + stamped.second + name[0]);
      ++rows;
    }
    callSlot<std::int32_t>(cursor, 2);
    return rows;
  }

 private:
  void* connection_ = nullptr;
  void* command_ = nullptr;
};

// ---- the stand-in runtime, called straight ----

class RuntimeSession {
 public:
  explicit RuntimeSession(const std::string& path) {
    IfxLogin* login = clientMakeLogin("", "");
    clientConnect(path.c_str(), "FETCHBENCH", login);
    clientFreeLogin(login);
    if (clientStatusCode() != 0) throw std::runtime_error("runtime connect failed");
    clientPrepare("FETCHBENCH_S", kQuery);
    clientDescribe(clientFindStatement("FETCHBENCH_S", IFX_FIND_STATEMENT), &columns_);
    if (columns_ == nullptr || columns_->count != 5) throw std::runtime_error("runtime describe failed");
    bind(0, IFX_TYPE_INTEGER, sizeof id_, &id_);
    bind(1, IFX_TYPE_VARCHAR, sizeof name_, name_);
    bind(2, IFX_TYPE_DECIMAL, sizeof price_, &price_);
    bind(3, IFX_TYPE_DATE, sizeof due_, &due_);
    bind(4, IFX_TYPE_DATETIME, sizeof stamped_, &stamped_);
  }
  ~RuntimeSession() {
    clientFree(clientFindStatement("FETCHBENCH_S", IFX_FIND_STATEMENT));
    clientFreeDescriptor(columns_);
    clientDisconnect("FETCHBENCH");
  }

  std::int64_t fetchAll() {
    clientSetConnection("FETCHBENCH");
    clientDeclareCursor("FETCHBENCH_C", clientFindStatement("FETCHBENCH_S", IFX_FIND_STATEMENT), 4096);
    IfxStatement* cursor = clientFindStatement("FETCHBENCH_C", IFX_FIND_CURSOR);
    clientOpenCursor(cursor, nullptr);
    std::int64_t rows = 0;
    for (;;) {
      clientFetch(cursor, columns_);
      if (clientStatusCode() != 0) break;
      benchmark::DoNotOptimize(id_ + due_ + price_.digitCount + stamped_.qualifier + name_[0]);
      ++rows;
    }
    clientCloseCursor(cursor);
    clientFree(cursor);
    return rows;
  }

 private:
  void bind(int index, std::int16_t type, std::size_t length, void* place) {
    IfxDescriptorEntry& entry = columns_->entries[index];
    entry.type = type;
    entry.length = static_cast<std::int32_t>(length);
    entry.data = static_cast<char*>(place);
    entry.indicator = &indicators_[index];
  }

  IfxDescriptor* columns_ = nullptr;
  std::int16_t indicators_[5] = {};
  std::int32_t id_ = 0;
  char name_[41] = {};
  IfxDecimal price_{};
  std::int32_t due_ = 0;
  IfxDatetime stamped_{};
};

// ---- plain SQLite ----

std::int64_t sqliteFetchAll(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return -1;
  sqlite3_stmt* statement = nullptr;
  std::int64_t rows = 0;
  if (sqlite3_prepare_v2(db, kQuery, -1, &statement, nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const int id = sqlite3_column_int(statement, 0);
      const unsigned char* name = sqlite3_column_text(statement, 1);
      const double price = sqlite3_column_double(statement, 2);
      const unsigned char* due = sqlite3_column_text(statement, 3);
      const unsigned char* stamped = sqlite3_column_text(statement, 4);
      benchmark::DoNotOptimize(id + price + name[0] + due[0] + stamped[0]);
      ++rows;
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

// ---- benchmarks ----

void checkRows(benchmark::State& state, std::int64_t read, std::int64_t rows) {
  if (read != rows) state.SkipWithError(("read " + std::to_string(read) + " rows").c_str());
}

void BM_SqliteFetch(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  const std::string& path = database(rows);
  for (auto _ : state) checkRows(state, sqliteFetchAll(path), rows);
  state.SetItemsProcessed(state.iterations() * rows);
}

void BM_RuntimeFetch(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  RuntimeSession runtime(database(rows));
  for (auto _ : state) checkRows(state, runtime.fetchAll(), rows);
  state.SetItemsProcessed(state.iterations() * rows);
}

// Seconds of CPU this thread has used; on a machine shared with other work
// it varies less than the wall clock.
double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall-clock and CPU time of the runs of one way of fetching.
struct Spent {
  double wall = 0;
  double cpu = 0;

  template <typename Fetch>
  void measure(Fetch&& fetch) {
    const auto start = Clock::now();
    const double cpuStart = threadCpuSeconds();
    fetch();
    cpu += threadCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(Clock::now() - start).count();
  }
};

void BM_DriverFetch(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  const std::string& path = database(rows);
  DriverSession session(path);
  RuntimeSession runtime(path);
  Spent driverSpent, runtimeSpent, sqliteSpent;
  for (auto _ : state) {
    driverSpent.measure([&] { checkRows(state, session.fetchAll(), rows); });
    state.PauseTiming();
    runtimeSpent.measure([&] { checkRows(state, runtime.fetchAll(), rows); });
    sqliteSpent.measure([&] { checkRows(state, sqliteFetchAll(path), rows); });
    state.ResumeTiming();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["x_runtime"] = driverSpent.wall / runtimeSpent.wall;
  state.counters["x_runtime_cpu"] = driverSpent.cpu / runtimeSpent.cpu;
  state.counters["x_sqlite"] = driverSpent.wall / sqliteSpent.wall;
  state.counters["x_sqlite_cpu"] = driverSpent.cpu / sqliteSpent.cpu;
  state.counters["runtime_ms"] = runtimeSpent.wall * 1000.0 / iterations;
  state.counters["sqlite_ms"] = sqliteSpent.wall * 1000.0 / iterations;
  state.SetItemsProcessed(state.iterations() * rows);
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(BM_SqliteFetch)->Apply(sizes);
BENCHMARK(BM_RuntimeFetch)->Apply(sizes);
BENCHMARK(BM_DriverFetch)->Apply(sizes);

}  // namespace
