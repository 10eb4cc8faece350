// The shell's aligned table: printing 1 000, 10 000 and 100 000 rows of
// three columns (an integer, a 45-character text, a decimal) as they arrive
// against the baseline of holding every row first and printing them all at
// once, measured in the same process. Memory is counted by this program's
// own operator new: the peak of live heap bytes during each print.
//
// Counters: "peak_KB" the streaming table's heap peak, "held_peak_KB" the
// baseline's; "x_memory" the baseline's peak divided by the streaming one;
// "x_time" the streaming time divided by the baseline's.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "printers.h"

namespace {

std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void counted(void* block) {
  if (block == nullptr) return;
  const long long now = liveBytes += static_cast<long long>(malloc_usable_size(block));
  long long peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
}

void uncounted(void* block) {
  if (block != nullptr) liveBytes -= static_cast<long long>(malloc_usable_size(block));
}

}  // namespace

// The replaced operators allocate with malloc and free with free; GCC takes
// the pairing of this operator delete with a new-expression for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  counted(block);
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
  uncounted(block);
  std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

using quovexsql::Cell;
using quovexsql::Row;
using quovexsql::TableColumn;

// Output that goes nowhere, as to /dev/null.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

const std::vector<TableColumn> kColumns{{"n", true}, {"t", false}, {"v", true}};

Row rowNumber(long long n) {
  return {Cell(std::to_string(n)), Cell("Material de escritório, lote de teste número"),
          Cell(std::to_string(n * 3) + ".50")};
}

// Heap peak above what was live at the start, in KB, and the seconds taken.
template <typename Print>
std::pair<double, double> measure(Print print) {
  const long long start = liveBytes.load();
  peakBytes = start;
  const auto began = std::chrono::steady_clock::now();
  print();
  const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - began;
  return {static_cast<double>(peakBytes.load() - start) / 1024.0, spent.count()};
}

void BM_StreamingTable(benchmark::State& state) {
  const long long rows = state.range(0);
  NullBuffer nowhere;
  std::ostream out(&nowhere);
  double peak = 0, heldPeak = 0, time = 0, heldTime = 0;
  for (auto _ : state) {
    const auto [streamPeak, streamTime] = measure([&] {
      auto writer = quovexsql::makeResultWriter(out, kColumns, {});
      for (long long n = 0; n < rows; ++n) writer->row(rowNumber(n));
      writer->end();
    });
    state.PauseTiming();
    const auto [allPeak, allTime] = measure([&] {
      std::vector<Row> held;
      for (long long n = 0; n < rows; ++n) held.push_back(rowNumber(n));
      quovexsql::printTable(out, kColumns, held);
    });
    state.ResumeTiming();
    peak = streamPeak, heldPeak = allPeak, time += streamTime, heldTime += allTime;
  }
  state.counters["peak_KB"] = peak;
  state.counters["held_peak_KB"] = heldPeak;
  state.counters["x_memory"] = peak > 0 ? heldPeak / peak : 0;
  state.counters["x_time"] = heldTime > 0 ? time / heldTime : 0;
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_StreamingTable)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
