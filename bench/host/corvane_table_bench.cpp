// The browser's own share of a tab operation, without any window: the window table, the tab layout and
// the open-pages text for 50 tabs. Baseline: copying the 50 addresses, the least any layout must touch.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "browser/pages/open_pages.h"
#include "browser/shell/window_table.h"

namespace {
std::vector<corvane::OpenPage> Pages() {
  std::vector<corvane::OpenPage> p;
  for (int i = 0; i < 50; ++i) p.push_back({L"网页标题 " + std::to_wstring(i), L"http://site" + std::to_wstring(i) + L".cn/"});
  return p;
}

// Open 50 tabs and close them, each operation followed by the layout and the file text, as pailie does.
void BM_OpenClose50(benchmark::State& state) {
  auto pages = Pages();
  for (auto _ : state) {
    corvane::WindowTable t;
    for (int i = 0; i < 50; ++i) {
      t.AddLab();
      benchmark::DoNotOptimize(corvane::LayoutTabs(t, 20000));
      benchmark::DoNotOptimize(corvane::FormatOpenPages({pages.begin(), pages.begin() + t.count()}));
    }
    while (t.count() > 1) {
      t.CloseActive();
      benchmark::DoNotOptimize(corvane::LayoutTabs(t, 20000));
      benchmark::DoNotOptimize(corvane::FormatOpenPages({pages.begin(), pages.begin() + t.count()}));
    }
  }
  state.SetItemsProcessed(state.iterations() * 99);
}
BENCHMARK(BM_OpenClose50);

void BM_Baseline_CopyAddresses(benchmark::State& state) {
  auto pages = Pages();
  for (auto _ : state) {
    for (int op = 0; op < 99; ++op) {
      std::vector<std::wstring> urls;
      for (auto& p : pages) urls.push_back(p.url);
      benchmark::DoNotOptimize(urls);
    }
  }
  state.SetItemsProcessed(state.iterations() * 99);
}
BENCHMARK(BM_Baseline_CopyAddresses);
}  // namespace

BENCHMARK_MAIN();
