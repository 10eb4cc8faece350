// The proposal window's work on files of 1 000, 10 000 and 100 000 items
// (lots of 50 items; lot mode, and item mode for the operations whose cost
// depends on it), each against a plain loop over the same records measured
// in the same process:
//
//   Open        "Abrir Processo": reading the file, the header, the lots, the
//               supplier written into every item, the first lot or item shown
//               (steps 3 to 14). Baselines: a loop over all the items, and
//               the record table's load of the same file ("x_table_load").
//   RefreshTotal  the total of the items on view (the 50 of the current lot in
//               lot mode, all items in item mode). Baseline: a loop over them.
//   Gravar      one "Gravar" with its advance and refresh (every 50th moves to
//               the next lot). Baseline: a loop over the items on view.
//   GravarWithinLot  the same, always on an item whose advance stays in its lot.
//   GravarRecord  one "Gravar" that also writes its row into the recovery
//               record (a SQLite file in the benchmark's scratch folder), against
//               the same "Gravar" in a second window that keeps no record, run
//               in the same iteration. Counters "x_norecord" (the ratio),
//               "extra_us" (microseconds more per "Gravar") and "extra_cpu_us"
//               (the same in this thread's processor time).
//   Encerrar    the completeness check of "Encerrar" over all items with the
//               filter lifted and restored (a refused closing, so nothing is
//               written). Baseline: a loop over all the items.
//
// Counter "x_loop": time of the operation divided by the time of its
// baseline loop, one loop run after each operation outside the timer.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>

#include "OpenDialog.h"
#include "ProposalRules.h"
#include "UNT_KLAVPropostas.h"
#include "UNT_Mensagem1.h"
#include "ProposalTables.h"
#include "recordtable/table.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using recordtable::FieldKind;
using recordtable::Table;

constexpr std::int64_t kLotSize = 50;

const fs::path& folder() {
  static const fs::path path = [] {
    fs::path p = fs::temp_directory_path() / ("tavurel-proposals-bench-" + std::to_string(::getpid()));
    fs::create_directories(p);
    return p;
  }();
  return path;
}

void fillField(recordtable::Field& field, std::int64_t item, bool lotMode) {
  const std::string& name = field.name();
  switch (field.kind()) {
    case FieldKind::LongText:
      field.setText("Item " + std::to_string(item) +
                    ": produto de primeira qualidade, embalagem original do fabricante.\nEntrega em até 10 dias.");
      return;
    case FieldKind::Text:
      if (name == "NRO_CGC") field.setText("76104528000172");
      else if (name == "IDT_TIPOAPURACAO") field.setText(lotMode ? "4" : "1");
      else if (name == "NRO_FORNECEDOR" || name == "DES_NOME" || name == "DES_MARCA") field.setText("");
      else field.setText(name.substr(4) + " " + std::to_string(item % 97));
      return;
    case FieldKind::Int16:
      field.setInteger(name == "NRO_LOTE" ? 1 + item / kLotSize : 2011);
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

const fs::path& processFile(std::int64_t items, bool lotMode) {
  static std::map<std::pair<std::int64_t, bool>, fs::path> files;
  const auto key = std::make_pair(items, lotMode);
  if (auto found = files.find(key); found != files.end()) return found->second;
  Table table("CDS_Processo");
  std::vector<recordtable::FieldDef> defs;
  for (const auto& f : proposals::processoFields()) defs.push_back({std::string(f.name), f.kind, f.size});
  table.setFieldDefs(std::move(defs));
  table.setIndexFieldNames(proposals::kProcessoIndexFields);
  table.createEmpty();
  for (std::int64_t item = 0; item < items; ++item) {
    table.append();
    for (std::size_t i = 0; i < table.fieldCount(); ++i) fillField(table.field(i), item, lotMode);
    table.post();
  }
  const fs::path path = folder() / ("PL_" + std::to_string(items) + (lotMode ? "_LOT" : "_ITEM") + ".ZUL");
  table.saveToFile(path);
  return files.emplace(key, path).first->second;
}

// The benchmark's own user data folder, where the windows keep their
// recovery record.
const fs::path& dataFolder() {
  static const fs::path path = folder() / "data";
  return path;
}

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A window with a confirmed supplier whose dialogs answer at once.
std::unique_ptr<TFRM_KLAVPropostas> makeWindow(const fs::path& file) {
  setMessageBoxHook([](const QString&, const QString&, bool) { return false; });
  const QString path = QString::fromStdString(file.string());
  proposals::setOpenDialogHook([path](const QString&) { return std::optional<QString>(path); });
  auto window = std::make_unique<TFRM_KLAVPropostas>();
  FRM_KLAVPropostas = window.get();
  window->ClearForm();
  window->CMB_Finalidade->setCurrentIndex(proposals::indexOfPurpose(proposals::Purpose::PL));
  window->CMB_FinalidadeClick();
  window->MSK_CodigoNacional->setText(QStringLiteral("12345678000195"));
  window->EDT_NomeFornecedor->setText(QStringLiteral("Fornecedor"));
  window->BBT_GravarFornecedorClick();
  return window;
}

void openIn(TFRM_KLAVPropostas& window) { window.BBT_ArquivoClick(window.BBT_Arquivo); }

// A plain loop over the records on view: first, next, one value each, with
// neither grid nor entry panel following.
double plainLoop(Table& table) {
  recordtable::DisplaySuspension suspended(table);
  const bool following = FRM_KLAVPropostas->ItemGridActive;
  FRM_KLAVPropostas->ItemGridActive = false;
  const auto& field = table.fieldByName("VLR_TOTALPROPOSTA");
  double sum = 0;
  for (table.first(); !table.eof(); table.next()) sum += field.asFloat();
  FRM_KLAVPropostas->ItemGridActive = following;
  return sum;
}

class RatioTimer {
 public:
  template <typename Operation, typename Baseline>
  void measure(benchmark::State& state, Operation&& operation, Baseline&& baseline) {
    const auto start = Clock::now();
    operation();
    operation_ += Clock::now() - start;
    state.PauseTiming();
    const auto loopStart = Clock::now();
    baseline();
    loop_ += Clock::now() - loopStart;
    state.ResumeTiming();
  }
  double operationSeconds() const { return operation_.count(); }
  void report(benchmark::State& state) const {
    state.counters["x_loop"] = operation_.count() / loop_.count();
    state.counters["loop_us"] = loop_.count() * 1e6 / static_cast<double>(state.iterations());
  }

 private:
  std::chrono::duration<double> operation_{};
  std::chrono::duration<double> loop_{};
};

void BM_Open(benchmark::State& state) {
  const bool lotMode = state.range(1) != 0;
  const fs::path& file = processFile(state.range(0), lotMode);
  auto window = makeWindow(file);
  RatioTimer timer;
  // The opening's own share: the table load of the same file alone, one
  // after each opening, outside the timer.
  std::chrono::duration<double> tableLoad{};
  for (auto _ : state) {
    timer.measure(state, [&] { openIn(*window); },
                  [&] {
                    // The same records: every item, with the filter lifted.
                    const bool filtered = window->CDS_Processo.filtered();
                    window->CDS_Processo.setFiltered(false);
                    benchmark::DoNotOptimize(plainLoop(window->CDS_Processo));
                    window->CDS_Processo.setFiltered(filtered);
                  });
    state.PauseTiming();
    {
      Table table("CDS_Processo");
      table.setIndexFieldNames(proposals::kProcessoIndexFields);
      const auto loadStart = Clock::now();
      table.loadFromFile(file);
      tableLoad += Clock::now() - loadStart;
    }
    state.ResumeTiming();
  }
  timer.report(state);
  state.counters["x_table_load"] = timer.operationSeconds() / tableLoad.count();
  state.counters["table_load_ms"] = tableLoad.count() * 1e3 / static_cast<double>(state.iterations());
}

void BM_RefreshTotal(benchmark::State& state) {
  auto window = makeWindow(processFile(state.range(0), state.range(1) != 0));
  openIn(*window);
  RatioTimer timer;
  for (auto _ : state) {
    timer.measure(state, [&] { window->RefreshTotal(); },
                  [&] { benchmark::DoNotOptimize(plainLoop(window->CDS_Processo)); });
  }
  timer.report(state);
}

void BM_Gravar(benchmark::State& state) {
  auto window = makeWindow(processFile(state.range(0), state.range(1) != 0));
  openIn(*window);
  window->DBG_ItemEnter();
  RatioTimer timer;
  for (auto _ : state) {
    timer.measure(
        state,
        [&] {
          window->EDT_Marca->setText(QStringLiteral("Marca"));
          window->MED_ValorUnitario->setText(QStringLiteral("1,2500"));
          window->BBT_GravarClick();
        },
        [&] {
          const recordtable::Bookmark mark = window->CDS_Processo.bookmark();
          benchmark::DoNotOptimize(plainLoop(window->CDS_Processo));
          window->CDS_Processo.gotoBookmark(mark);
        });
  }
  timer.report(state);
}

// "Gravar" on an item that is not the last of its lot: the advance stays in
// the lot. The cursor goes back to the lot's first item outside the timer.
void BM_GravarWithinLot(benchmark::State& state) {
  auto window = makeWindow(processFile(state.range(0), true));
  openIn(*window);
  window->DBG_ItemEnter();
  RatioTimer timer;
  for (auto _ : state) {
    timer.measure(
        state,
        [&] {
          window->EDT_Marca->setText(QStringLiteral("Marca"));
          window->MED_ValorUnitario->setText(QStringLiteral("1,2500"));
          window->BBT_GravarClick();
        },
        [&] {
          benchmark::DoNotOptimize(plainLoop(window->CDS_Processo));
          window->CDS_Processo.first();
        });
  }
  timer.report(state);
}

void BM_GravarRecord(benchmark::State& state) {
  const bool lotMode = state.range(1) != 0;
  auto plain = makeWindow(processFile(state.range(0), lotMode));
  plain->KeepNoRecoveryRecord();
  openIn(*plain);
  plain->DBG_ItemEnter();
  auto recorded = makeWindow(processFile(state.range(0), lotMode));
  recorded->KeepRecoveryRecordIn(QString::fromStdString(dataFolder().string()));
  openIn(*recorded);
  recorded->DBG_ItemEnter();
  auto gravar = [](TFRM_KLAVPropostas& window) {
    window.EDT_Marca->setText(QStringLiteral("Marca"));
    window.MED_ValorUnitario->setText(QStringLiteral("1,2500"));
    window.BBT_GravarClick();
  };
  // Wall time and this thread's processor time (steadier on a busy
  // machine); the two windows take turns going first.
  std::chrono::duration<double> withRecord{};
  std::chrono::duration<double> without{};
  double withRecordCpu = 0;
  double withoutCpu = 0;
  bool recordedFirst = true;
  auto timed = [](TFRM_KLAVPropostas& window, auto& wall, double& cpu, auto&& gravarIn) {
    const double cpuStart = threadCpuSeconds();
    const auto start = Clock::now();
    gravarIn(window);
    wall += Clock::now() - start;
    cpu += threadCpuSeconds() - cpuStart;
  };
  for (auto _ : state) {
    state.PauseTiming();
    if (!recordedFirst) timed(*plain, without, withoutCpu, gravar);
    state.ResumeTiming();
    timed(*recorded, withRecord, withRecordCpu, gravar);
    state.PauseTiming();
    if (recordedFirst) timed(*plain, without, withoutCpu, gravar);
    recordedFirst = !recordedFirst;
    state.ResumeTiming();
  }
  if (!recorded->HasUnwrittenProposals()) state.SkipWithError("no proposal was stored");
  const double iterations = static_cast<double>(state.iterations());
  state.counters["x_norecord"] = withRecord.count() / without.count();
  state.counters["extra_us"] = (withRecord - without).count() * 1e6 / iterations;
  state.counters["extra_cpu_us"] = (withRecordCpu - withoutCpu) * 1e6 / iterations;
}

void BM_EncerrarCheck(benchmark::State& state) {
  auto window = makeWindow(processFile(state.range(0), state.range(1) != 0));
  openIn(*window);
  // One priced item: lot 1 is partly priced (lot mode) and the others are
  // unpriced (item mode), so the closing is refused or cancelled.
  window->DBG_ItemEnter();
  window->MED_ValorUnitario->setText(QStringLiteral("1,2500"));
  window->BBT_GravarClick();
  RatioTimer timer;
  for (auto _ : state) {
    timer.measure(state, [&] { window->BBT_EncerrarClick(); },
                  [&] {
                    const bool filtered = window->CDS_Processo.filtered();
                    window->CDS_Processo.setFiltered(false);
                    benchmark::DoNotOptimize(plainLoop(window->CDS_Processo));
                    window->CDS_Processo.setFiltered(filtered);
                  });
  }
  timer.report(state);
}

void sizes(benchmark::internal::Benchmark* b) {
  for (const std::int64_t items : {1000, 10000, 100000}) b->Args({items, 1});
  for (const std::int64_t items : {1000, 10000, 100000}) b->Args({items, 0});
  b->ArgNames({"items", "lots"});
}

BENCHMARK(BM_Open)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshTotal)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Gravar)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GravarWithinLot)->Arg(1000)->Arg(10000)->Arg(100000)->ArgName("items")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GravarRecord)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncerrarCheck)->Apply(sizes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The window needs an application; no display is used.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The windows keep their recovery record in the scratch folder, never in
  // the user's own data folder.
  qputenv("XDG_DATA_HOME", dataFolder().string().c_str());
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(folder(), ignored);
  return 0;
}
