// One heartbeat of the process table (ListProcess + CheckProcess) with about 100 processes running,
// against the bare platform walk of the same processes; and the guard's working set against a bare
// Win32 program's.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <memory>
#include <vector>

#include "bench/win/bench_util.h"
#include "common/path.h"
#include "common/win/system.h"
#include "common/win/ui/list_view.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "guard/process/win/process_query.h"
#include "guard/process/win/process_table.h"
#include <tlhelp32.h>

namespace {

struct Child {
  PROCESS_INFORMATION pi{};
  explicit Child(const std::wstring& exe, const std::wstring& args = L"") {
    std::wstring line = common::QuoteArg(exe) + L" " + args;
    STARTUPINFOW si{sizeof si};
    CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (pi.hProcess) WaitForInputIdle(pi.hProcess, 5000);
  }
  ~Child() {
    if (!pi.hProcess) return;
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  size_t WorkingSetKB() const {
    PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
    return GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc) ? pmc.WorkingSetSize / 1024 : 0;
  }
};

// The platform's own cost of looking at every process once: snapshot, open, close.
void BareWalk() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe))
    if (HANDLE h = zorvix::OpenForQuery(pe.th32ProcessID)) CloseHandle(h);
  CloseHandle(snap);
}

class Host : public common::ui::Window {};

}  // namespace

int main() {
  InitCommonControls();
  std::wstring bin = common::AppFolder();
  std::vector<std::unique_ptr<Child>> children;
  for (int i = 0; i < 90; ++i) children.push_back(std::make_unique<Child>(bin + L"suite_child.exe"));

  Host host;
  host.Create(L"BenchHost", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 600);
  common::ui::ListView lvw;
  lvw.Create(host.hwnd(), 1);
  for (int i = 0; i < 8; ++i) lvw.AddColumn(L"c", 1000);
  common::ui::StatusBar sbr;
  sbr.Create(host.hwnd(), 2, {3000, 3000, -1});
  zorvix::TrustChecker trust;
  zorvix::ProcessTable table(lvw, sbr, trust);
  table.Init({common::GetWindowsFolder(), common::GetSystemFolder(), L"user", bin + L"sys\\process.dat"});
  table.ListProcess();
  std::printf("rows listed: %d\n", lvw.Count());

  auto tick = [&] {
    table.ListProcess();
    table.CheckProcess();
  };
  double unchanged = bench::BestMs(tick, 10, 5);
  double bare = bench::BestMs(BareWalk, 10, 5);
  bench::Report("unchanged tick (ListProcess + CheckProcess)", unchanged, "bare snapshot + open walk", bare);

  double appeared = 0;
  const int kRounds = 5;
  for (int i = 0; i < kRounds; ++i) {
    Child extra(bin + L"suite_child.exe");
    double t0 = bench::NowMs();
    tick();
    appeared += bench::NowMs() - t0;
    tick();
  }
  bench::Report("tick where one process appeared", appeared / kRounds, "bare snapshot + open walk", bare);

  Child guard(bin + L"zorvix.exe", L"2"), plain(bin + L"suite_child.exe", L"--window plain");
  Sleep(4000);
  size_t g = guard.WorkingSetKB(), p = plain.WorkingSetKB();
  std::printf("%-48s %10zu KB   %-32s %10zu KB   ratio %.2f\n", "guard working set (zorvix.exe 2)", g,
              "bare Win32 window program", p, p ? double(g) / double(p) : 0.0);
  return 0;
}
