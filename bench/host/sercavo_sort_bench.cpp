// Sorting a million result rows as text, against std::sort of the bare name texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "search/engine/results_model.h"

namespace {

constexpr int kRows = 1000000;

std::wstring Name(int i) { return L"Name" + std::to_wstring(i * 7919 % kRows) + L".txt"; }

void RowsSortedAsText(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    sercavo::ResultsModel m;
    for (int i = 0; i < kRows; ++i) m.AddFile(L"C:\\x\\", Name(i), 1000, 0);
    state.ResumeTiming();
    m.ColumnClick(sercavo::kColName);
    benchmark::DoNotOptimize(m.Name(0));
  }
}

void BareStringSort(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::wstring> names;
    for (int i = 0; i < kRows; ++i) names.push_back(Name(i));
    state.ResumeTiming();
    std::sort(names.begin(), names.end());
    benchmark::DoNotOptimize(names.front());
  }
}

}  // namespace

BENCHMARK(BareStringSort)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RowsSortedAsText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
