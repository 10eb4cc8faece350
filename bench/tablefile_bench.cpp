// Table files: loading and saving a process file of 1 000, 10 000 and
// 100 000 items (the 31 fields of CDS_Processo, long texts of a few hundred
// characters), and loading a wide file of mostly null rows (1 000 int32
// fields, one of them set) of 3 000, 30 000 and 300 000 rows, each against
// the baseline of reading the same rows straight from SQLite with its C
// API, measured in the same process.
//
// Counter "x_sqlite_read": time of the loads (or saves) divided by the time
// of raw reads of the same file, one made after each load or save. The load
// runs a second time with transparent huge pages disabled for the process. Loads
// also report "peak_mb", the most resident memory a load added, and
// "peak_per_file", that peak divided by the file's size.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "ProposalTables.h"
#include "recordtable/table.h"

#include "bench_folder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using recordtable::FieldKind;
using recordtable::Table;

// A folder for the files of this run, removed when the program ends.

bench::BenchFolder& folder() {
  static bench::BenchFolder instance("tavurel-bench");
  return instance;
}

const std::string kObject =
    "Aquisição de medicamentos, material de curativo e insumos hospitalares para a Farmácia "
    "Básica Municipal e as Unidades Básicas de Saúde, para atendimento da população durante o "
    "exercício, conforme especificações, quantidades e condições de entrega constantes do "
    "Termo de Referência, Anexo I do edital.\nEntrega parcelada no Almoxarifado Central da "
    "Secretaria Municipal de Saúde.";

// An item's DES_ESPECIFICACAO text: a few hundred characters that differ from item to item.
std::string especificacao(std::int64_t item) {
  return "Item " + std::to_string(item) +
         ": produto de primeira qualidade, embalagem original do fabricante com identificação do "
         "lote, data de fabricação e validade.\nValidade mínima de 12 meses na data da entrega; "
         "registro no órgão competente quando exigido.\nEntrega em até " +
         std::to_string(5 + item % 25) +
         " dias após a ordem de fornecimento, no endereço indicado pela Secretaria.";
}

// Writes one value of the process layout for item `item` (0-based).
void fillField(recordtable::Field& field, std::int64_t item) {
  const std::string& name = field.name();
  switch (field.kind()) {
    case FieldKind::LongText:
      field.setText(name == "DES_OBJETO" ? kObject : especificacao(item));
      return;
    case FieldKind::Text:
      if (name == "NRO_CGC") field.setText("76104528000180");
      else if (name == "IDT_TIPOAPURACAO") field.setText("4");
      else if (name == "NRO_FORNECEDOR" || name == "DES_NOME" || name == "DES_MARCA") field.setText("");
      else field.setText(name.substr(4) + " " + std::to_string(item % 97) + " DE AÇÚCAR E ÓLEO");
      return;
    case FieldKind::Int16:
      field.setInteger(name == "NRO_LOTE" ? 1 + item / 100 : 2011);
      return;
    case FieldKind::Int32:
      field.setInteger(name == "NRO_ITEM" ? item + 1 : 20000 + item);
      return;
    case FieldKind::Float:
      field.setFloat(name == "QTD_PRODUTO" ? 10.0 + static_cast<double>(item % 1000) : 0.0);
      return;
    case FieldKind::DateTime:
      field.setDateTime(recordtable::DateTime{2011, 5, 16, 14, 30, 0, 0});
      return;
    case FieldKind::Decimal:
      field.setDecimalUnits(item);
      return;
  }
}

void defineProcessLayout(Table& table) {
  std::vector<recordtable::FieldDef> defs;
  for (const auto& f : proposals::processoFields()) {
    defs.push_back({std::string(f.name), f.kind, f.size});
  }
  table.setFieldDefs(std::move(defs));
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
}

// The process file of `items` items, written once per run.
const fs::path& processFile(std::int64_t items) {
  static std::map<std::int64_t, fs::path> files;
  auto found = files.find(items);
  if (found != files.end()) return found->second;
  Table table("CDS_Processo");
  defineProcessLayout(table);
  table.createEmpty();
  for (std::int64_t item = 0; item < items; ++item) {
    table.append();
    for (std::size_t i = 0; i < table.fieldCount(); ++i) fillField(table.field(i), item);
    table.post();
  }
  const fs::path path = folder().path() / ("PL_" + std::to_string(items) + ".ZUL");
  table.saveToFile(path);
  return files.emplace(items, path).first->second;
}

// Reads every value of every row of the file's records straight through the
// SQLite C API; returns a checksum so that nothing is optimised away.
std::uint64_t rawSqliteRead(const fs::path& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open " + path.string());
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT * FROM records ORDER BY rowid", -1, &statement, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot read the records of " + path.string());
  }
  std::uint64_t checksum = 0;
  const int columns = sqlite3_column_count(statement);
  while (sqlite3_step(statement) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) {
      switch (sqlite3_column_type(statement, c)) {
        case SQLITE_INTEGER:
          checksum += static_cast<std::uint64_t>(sqlite3_column_int64(statement, c));
          break;
        case SQLITE_FLOAT:
          checksum += static_cast<std::uint64_t>(sqlite3_column_double(statement, c));
          break;
        case SQLITE_TEXT: {
          const unsigned char* text = sqlite3_column_text(statement, c);
          const int bytes = sqlite3_column_bytes(statement, c);
          checksum += static_cast<std::uint64_t>(bytes) + (bytes > 0 ? text[bytes - 1] : 0u);
          break;
        }
        default:
          break;
      }
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return checksum;
}

// The 1 000 int32 fields V1..V1000 of which only V1 is set in each of
// `rows` rows: the table is written empty by the engine, its rows added
// with one SQL statement (much faster than binding 300 million nulls).
const fs::path& mostlyNullFile(std::int64_t rows) {
  static std::map<std::int64_t, fs::path> files;
  auto found = files.find(rows);
  if (found != files.end()) return found->second;
  Table table;
  std::vector<recordtable::FieldDef> defs;
  for (int i = 1; i <= 1000; ++i) {
    std::string name(1, 'V');
    name += std::to_string(i);
    defs.push_back({std::move(name), FieldKind::Int32, 0});
  }
  table.setFieldDefs(std::move(defs));
  table.createEmpty();
  const fs::path path = folder().path() / ("NULLS_" + std::to_string(rows) + ".ZUL");
  table.saveToFile(path);
  sqlite3* db = nullptr;
  const std::string fill =
      "PRAGMA journal_mode=OFF; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
      "WHERE i < " + std::to_string(rows) + ") INSERT INTO records(c1) SELECT i FROM n; COMMIT;";
  const bool filled = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                      sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  if (!filled) throw std::runtime_error("cannot fill " + path.string());
  return files.emplace(rows, path).first->second;
}

// The most resident memory an operation adds: the kernel's high-water mark
// of the process is reset to the current size before it and read after.
class PeakMemory {
 public:
  // False where the kernel does not offer the reset (then no figure).
  bool start() {
    std::ofstream reset("/proc/self/clear_refs");
    reset << "5" << std::flush;
    if (!reset) return false;
    before_ = statusKb("VmRSS:");
    return before_ >= 0;
  }
  // Megabytes above the size at start().
  double stopMb() const { return static_cast<double>(statusKb("VmHWM:") - before_) / 1024.0; }

 private:
  static std::int64_t statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
      if (word == key) {
        std::int64_t kb = -1;
        status >> kb;
        return kb;
      }
    }
    return -1;
  }
  std::int64_t before_ = -1;
};

// Sums the time of the measured operation and of a raw read of the same
// file made right after it in each iteration (outside the benchmark's timer),
// so that both see the same machine load, and reports their ratio.
class RatioTimer {
 public:
  explicit RatioTimer(const fs::path& rawReadPath) : path_(rawReadPath) {
    benchmark::DoNotOptimize(rawSqliteRead(path_));  // warm the page cache
  }
  template <typename Operation>
  void measure(benchmark::State& state, Operation&& operation) {
    const auto start = Clock::now();
    operation();
    operation_ += Clock::now() - start;
    state.PauseTiming();
    const auto rawStart = Clock::now();
    benchmark::DoNotOptimize(rawSqliteRead(path_));
    raw_ += Clock::now() - rawStart;
    state.ResumeTiming();
  }
  void report(benchmark::State& state, std::int64_t items) const {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["x_sqlite_read"] = operation_.count() / raw_.count();
    state.counters["sqlite_read_ms"] = raw_.count() * 1000.0 / iterations;
    state.SetItemsProcessed(state.iterations() * items);
  }

 private:
  fs::path path_;
  std::chrono::duration<double> operation_{};
  std::chrono::duration<double> raw_{};
};

void BM_SqliteRawRead(benchmark::State& state) {
  const std::int64_t items = state.range(0);
  const fs::path& path = processFile(items);
  for (auto _ : state) benchmark::DoNotOptimize(rawSqliteRead(path));
  state.SetItemsProcessed(state.iterations() * items);
}

// Loads `path` into `table` in every iteration, timed against raw reads,
// with the peak memory of the loads (the first, from a fresh process state,
// is the largest: later ones reuse memory the allocator kept).
void measureLoads(benchmark::State& state, Table& table, const fs::path& path, std::int64_t rows) {
  RatioTimer timer(path);
  double peakMb = -1;
  for (auto _ : state) {
    state.PauseTiming();
    PeakMemory peak;
    const bool measuring = peak.start();
    state.ResumeTiming();
    timer.measure(state, [&] { table.loadFromFile(path); });
    state.PauseTiming();
    if (measuring) peakMb = std::max(peakMb, peak.stopMb());
    if (table.totalRecordCount() != static_cast<std::size_t>(rows)) {
      state.SkipWithError("the loaded table lacks records");
      break;
    }
    table.close();  // freeing the records is not part of a load
    state.ResumeTiming();
  }
  timer.report(state, rows);
  if (peakMb >= 0) {
    state.counters["peak_mb"] = peakMb;
    state.counters["peak_per_file"] = peakMb * 1024.0 * 1024.0 / static_cast<double>(fs::file_size(path));
  }
}

void BM_TableFileLoad(benchmark::State& state) {
  const std::int64_t items = state.range(0);
  const fs::path& path = processFile(items);
  Table table("CDS_Processo");
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
  measureLoads(state, table, path, items);
}

// The same load, and its raw reads, with transparent huge pages disabled for
// the process: the large buffers of a load then come in 4 KiB pages, as on
// machines where huge pages are off or exhausted. Restored afterwards.
void BM_TableFileLoadNoHugePages(benchmark::State& state) {
  const std::int64_t items = state.range(0);
  const fs::path& path = processFile(items);
  if (::prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0) != 0) {
    state.SkipWithError("transparent huge pages cannot be disabled here");
    return;
  }
  Table table("CDS_Processo");
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
  measureLoads(state, table, path, items);
  ::prctl(PR_SET_THP_DISABLE, 0, 0, 0, 0);
}

void BM_SqliteRawReadMostlyNull(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  const fs::path& path = mostlyNullFile(rows);
  for (auto _ : state) benchmark::DoNotOptimize(rawSqliteRead(path));
  state.SetItemsProcessed(state.iterations() * rows);
}

void BM_TableFileLoadMostlyNull(benchmark::State& state) {
  const std::int64_t rows = state.range(0);
  const fs::path& path = mostlyNullFile(rows);
  Table table;
  measureLoads(state, table, path, rows);
}

void BM_TableFileSave(benchmark::State& state) {
  const std::int64_t items = state.range(0);
  const fs::path& source = processFile(items);
  Table table("CDS_Processo");
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
  table.loadFromFile(source);
  const fs::path target = folder().path() / ("saved_" + std::to_string(items) + ".PRO");
  RatioTimer timer(source);
  for (auto _ : state) timer.measure(state, [&] { table.saveToFile(target); });
  timer.report(state, items);
}

void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

void wideSizes(benchmark::internal::Benchmark* b) {
  b->Arg(3000)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(BM_SqliteRawRead)->Apply(sizes);
BENCHMARK(BM_TableFileLoad)->Apply(sizes);
BENCHMARK(BM_TableFileLoadNoHugePages)->Apply(sizes);
BENCHMARK(BM_TableFileSave)->Apply(sizes);
BENCHMARK(BM_SqliteRawReadMostlyNull)->Apply(wideSizes);
BENCHMARK(BM_TableFileLoadMostlyNull)->Apply(wideSizes);

}  // namespace
