// Timing helpers for the Windows benchmarks: a monotonic clock and a line of figures with a ratio.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

namespace bench {

inline double NowMs() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * double(t.QuadPart) / double(freq.QuadPart);
}

// Milliseconds per run of f, the best of `rounds` rounds of `runs` runs each (the least disturbed).
template <typename F>
double BestMs(F f, int runs = 10, int rounds = 5) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    double t0 = NowMs();
    for (int i = 0; i < runs; ++i) f();
    double per = (NowMs() - t0) / runs;
    if (per < best) best = per;
  }
  return best;
}

inline void Report(const char* what, double ms, const char* baseline, double baseMs) {
  std::printf("%-48s %10.3f ms   %-32s %10.3f ms   ratio %.2f\n", what, ms, baseline, baseMs,
              baseMs > 0 ? ms / baseMs : 0.0);
}

inline size_t WorkingSetMB() {
  PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
  return GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc) ? pmc.WorkingSetSize / (1024 * 1024) : 0;
}

}  // namespace bench
