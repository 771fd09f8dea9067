// Appending a million catalog rows and reading every field back, the load a
// large medium puts on the row store; plus rebuilding the index as a load does.
//
// Counters: rows per second, and the memory the store holds beyond the text:
//   overhead_per_row      = (allocated bytes - record text bytes) / rows
//   overhead_vs_fields    = (allocated bytes - field text bytes) / rows
// (record text includes the field markers; field text does not).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "core/RowStore.h"

namespace {

using zevro::RowStore;
using zevro::Text;

constexpr int Rows = 1'000'000;

struct Sample {
  std::vector<Text> records;
  std::size_t fieldChars = 0;  // field text of all Rows rows, markers left out
};

Text digits(unsigned v, std::size_t width) {
  Text t(width, u'0');
  for (std::size_t i = width; i-- > 0; v /= 10) t[i] = static_cast<char16_t>(u'0' + v % 10);
  return t;
}

// 1,024 distinct rows, cycled: name ~12, comment ~20, date 14, size ~9, flag "0".
const Sample& sample() {
  static const Sample s = [] {
    Sample out;
    for (unsigned i = 0; i < 1024; ++i) {
      const Text name = u"FILE" + digits(i, 4) + u".TXT";                                            // 12
      const Text comment = u"comment text " + digits(i * 7919u, 7);                                  // 20
      const Text date = digits(i % 100, 2) + u"/04/05 12:" + digits(i % 60, 2);                      // 14
      const Text size = digits(i % 1000 + 1, 3) + u"," + digits(i * 31u % 1000, 3) + u"," + u"123";  // 11
      out.records.push_back(zevro::catalog::buildRecord({name, comment, date, size, u"0"}));
    }
    for (int r = 0; r < Rows; ++r) out.fieldChars += out.records[static_cast<std::size_t>(r) % 1024].size() - 5;
    return out;
  }();
  return s;
}

void fill(RowStore& store) {
  const auto& records = sample().records;
  store.clear();
  zevro::catalog::makeCatalogList(store);
  store.appendShown(records[0], 0, 0, zevro::catalog::KindTitleHD, 0);
  for (int r = 1; r < Rows; ++r) {
    store.appendShown(records[static_cast<std::size_t>(r) % 1024], 0, 0, zevro::catalog::KindFile,
                      r % 1000 == 1 ? 1 : 2);
  }
}

std::size_t readAll(const RowStore& store) {
  std::size_t total = 0;
  const int rows = store.rowCount();
  for (int r = 0; r < rows; ++r) {
    for (int k = 0; k < zevro::catalog::FieldCount; ++k) total += store.fieldView(k, r).size();
  }
  return total;
}

std::size_t readAllInOnePass(const RowStore& store) {
  std::size_t total = 0;
  const int rows = store.rowCount();
  zevro::TextView fields[zevro::catalog::FieldCount];
  for (int r = 0; r < rows; ++r) {
    store.fieldsOf(r, fields);
    for (zevro::TextView f : fields) total += f.size();
  }
  return total;
}

void setMemoryCounters(benchmark::State& state, const RowStore& store) {
  const double allocated = static_cast<double>(store.allocatedBytes());
  const double recordBytes = 2.0 * store.endPosition();
  const double fieldBytes = 2.0 * static_cast<double>(sample().fieldChars);
  state.counters["overhead_per_row"] = (allocated - recordBytes) / Rows;
  state.counters["overhead_vs_fields"] = (allocated - fieldBytes) / Rows;
  state.counters["MB_allocated"] = allocated / 1e6;
}

void BM_AppendAndReadMillionRows(benchmark::State& state) {
  sample();
  RowStore store;
  for (auto _ : state) {
    fill(store);
    benchmark::DoNotOptimize(readAll(store));
  }
  setMemoryCounters(state, store);
  state.counters["rows_per_s"] =
      benchmark::Counter(static_cast<double>(Rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AppendAndReadMillionRows)->Unit(benchmark::kMillisecond);

void BM_AppendAndReadMillionRowsInOnePass(benchmark::State& state) {
  sample();
  RowStore store;
  for (auto _ : state) {
    fill(store);
    benchmark::DoNotOptimize(readAllInOnePass(store));
  }
}
BENCHMARK(BM_AppendAndReadMillionRowsInOnePass)->Unit(benchmark::kMillisecond);

void BM_AppendMillionRows(benchmark::State& state) {
  sample();
  RowStore store;
  for (auto _ : state) {
    fill(store);
    benchmark::ClobberMemory();
  }
  setMemoryCounters(state, store);
}
BENCHMARK(BM_AppendMillionRows)->Unit(benchmark::kMillisecond);

void BM_ReadEveryFieldOfMillionRows(benchmark::State& state) {
  RowStore store;
  fill(store);
  for (auto _ : state) benchmark::DoNotOptimize(readAll(store));
}
BENCHMARK(BM_ReadEveryFieldOfMillionRows)->Unit(benchmark::kMillisecond);

void BM_ReadEveryFieldInOnePass(benchmark::State& state) {
  RowStore store;
  fill(store);
  for (auto _ : state) benchmark::DoNotOptimize(readAllInOnePass(store));
}
BENCHMARK(BM_ReadEveryFieldInOnePass)->Unit(benchmark::kMillisecond);

void BM_ReadEveryFieldAsCopies(benchmark::State& state) {
  RowStore store;
  fill(store);
  for (auto _ : state) {
    std::size_t total = 0;
    for (int r = 0; r < store.rowCount(); ++r) {
      for (int k = 0; k < zevro::catalog::FieldCount; ++k) total += store.field(k, r).size();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ReadEveryFieldAsCopies)->Unit(benchmark::kMillisecond);

void BM_LoadBlocksAndDeriveTreeFlags(benchmark::State& state) {
  RowStore source;
  fill(source);
  const Text heap(source.heap());
  const std::string levels(source.levelBlock());
  const std::string flags(source.treeFlagBlock());
  const std::string kinds(source.kindBlock());
  const std::string colours(source.colourBlock());
  RowStore store;
  zevro::catalog::makeCatalogList(store);
  for (auto _ : state) {
    store.loadBlocks(heap, levels, flags, kinds, colours);
    store.deriveIndexAndTreeFlags();
    benchmark::DoNotOptimize(store.rowCount());
  }
}
BENCHMARK(BM_LoadBlocksAndDeriveTreeFlags)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
