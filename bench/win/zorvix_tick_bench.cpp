// The process table's one-second tick (ListProcess + CheckProcess) with 400 processes running, against
// a bare snapshot-and-open walk and a bare system query of the same processes; the tick where one
// process appeared, and where a program whose signature must be checked appeared; the tick's growth
// from 100 to 400 processes; the guard's working set against a bare Win32 window program's; and the time
// from the guard's start to its tray window (which adds the icon as it is made) against a bare window
// program's start to its window.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <memory>
#include <vector>

#include "bench/win/bench_util.h"
#include "common/path.h"
#include "common/win/system.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "guard/process/win/process_list.h"
#include "guard/process/win/process_query.h"
#include "guard/process/win/process_snapshot.h"
#include "guard/process/win/process_table.h"
#include "guard/process/win/signer_process.h"
#include "guard/monitors/startup_monitor.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/run_values.h"

namespace {

struct Child {
  PROCESS_INFORMATION pi{};
  // Suspended children are real, listed processes that cost next to nothing while the bench runs.
  Child(const std::wstring& exe, const std::wstring& args, bool suspended) {
    std::wstring line = common::QuoteArg(exe) + L" " + args;
    STARTUPINFOW si{sizeof si};
    CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0, nullptr,
                   nullptr, &si, &pi);
    if (pi.hProcess && !suspended) WaitForInputIdle(pi.hProcess, 5000);
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

size_t RunningProcesses() {
  zorvix::ProcessSnapshot s;
  return s.Take(zorvix::RealProcessSystem()) ? s.processes().size() : 0;
}

// Starts sleeping children until `total` processes run.
void FillTo(std::vector<std::unique_ptr<Child>>& children, size_t total) {
  std::wstring exe = common::AppFolder() + L"suite_child.exe";
  for (size_t n = RunningProcesses(); n < total; ++n) children.push_back(std::make_unique<Child>(exe, L"", true));
}

// The platform's own cost of looking at every process once: snapshot, open, close.
void BareWalk() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe))
    if (HANDLE h = zorvix::OpenForQuery(pe.th32ProcessID)) CloseHandle(h);
  CloseHandle(snap);
}

// One system query of every process into a buffer kept between calls, nothing else.
void BareQuery() {
  static std::vector<BYTE> buffer(4 << 20);
  ULONG needed = 0;
  zorvix::RealProcessSystem().QueryProcesses(buffer.data(), ULONG(buffer.size()), &needed);
}

// A window that passes the list's questions to it, as the process window does.
class Host : public common::ui::Window {
 public:
  zorvix::ProcessList* list = nullptr;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NOTIFY && list && list->OnNotify(reinterpret_cast<NMHDR*>(lp))) return 0;
    return Default(msg, wp, lp);
  }
};

struct Table {
  Host host;
  zorvix::ProcessList lvw;
  common::ui::StatusBar sbr;
  zorvix::TrustChecker trust{zorvix::GuardSignerOf};  // as the guard checks: in its helper
  std::unique_ptr<zorvix::ProcessTable> table;
  Table() {
    host.Create(L"BenchHost", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 600);
    host.list = &lvw;
    lvw.Create(host.hwnd(), 1);
    for (int i = 0; i < 8; ++i) lvw.AddColumn(L"c", 1000);
    sbr.Create(host.hwnd(), 2, {3000, 3000, -1});
    table = std::make_unique<zorvix::ProcessTable>(lvw, sbr, trust);
    table->Init({common::GetWindowsFolder(), common::GetSystemFolder(), L"user",
                 common::AppFolder() + L"sys\\process.dat"});
  }
  void Tick() {
    table->ListProcess();
    table->CheckProcess();
  }
};

size_t SettledKB(const Child& c) {
  Sleep(3000);
  return c.WorkingSetKB();
}

// The start-up values already in the registry as allowed, as a user who answered the guard's first
// asks leaves them: a guard measured while an ask window is open would count that window too. The
// program folder's own list file is put back as it was when the measurement ends.
class AllowedStartupValues {
 public:
  AllowedStartupValues() : file_(zorvix::RegAskFilePath()), kept_(CopyFileW(file_.c_str(), Kept().c_str(), FALSE)) {
    zorvix::LoadRegAskLists();
    ListStartupValues(zorvix::WatchedLocations(),
                      [](const zorvix::RunValue& v) { zorvix::AskLists().registry.allow.Add(v.location); });
    zorvix::SaveRegAskLists();
  }
  ~AllowedStartupValues() {
    if (kept_)
      MoveFileExW(Kept().c_str(), file_.c_str(), MOVEFILE_REPLACE_EXISTING);
    else
      DeleteFileW(file_.c_str());
  }

 private:
  std::wstring Kept() const { return file_ + L".bench"; }
  std::wstring file_;
  bool kept_;
};

// The libraries a program imports, joined by ",", read from its import directory.
std::wstring ImportedLibraries(const std::wstring& exe) {
  HMODULE m = LoadLibraryExW(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
  if (!m) return L"";
  auto* base = reinterpret_cast<const BYTE*>(m);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::wstring names;
  if (dir.VirtualAddress)
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
      std::string name(reinterpret_cast<const char*>(base + d->Name));
      names += (names.empty() ? L"" : L",") + std::wstring(name.begin(), name.end());
    }
  FreeLibrary(m);
  return names;
}

// Milliseconds from the start of a program to a top-level window of the class, made by it.
double MsToWindow(const std::wstring& exe, const std::wstring& args, const wchar_t* cls) {
  double t0 = bench::NowMs();
  Child c(exe, args, true);
  ResumeThread(c.pi.hThread);
  while (bench::NowMs() - t0 < 30000) {
    for (HWND w = FindWindowExW(nullptr, nullptr, cls, nullptr); w; w = FindWindowExW(nullptr, w, cls, nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == c.pi.dwProcessId) return bench::NowMs() - t0;
    }
    Sleep(1);
  }
  return -1;
}

void StartTimes() {
  std::wstring bin = common::AppFolder();
  for (int round = 0; round < 3; ++round) {
    double guard = MsToWindow(bin + L"zorvix.exe", L"", L"ZorvixTuopan");
    double bare = MsToWindow(bin + L"zorvix_ws_probe.exe", L"bare", L"ZorvixProbe");
    bench::Report("guard start to its tray window", guard, "bare program start to its window", bare);
  }
}

// The guard's working set against a bare window program's: resident in the tray as it starts with
// Windows, and with its process window shown. Then what each part of the guard's work adds to the bare
// program (the probe does that part alone).
void WorkingSets() {
  std::wstring bin = common::AppFolder();
  AllowedStartupValues allowed;
  size_t plain = SettledKB(Child(bin + L"suite_child.exe", L"--window plain", false));
  size_t tray = SettledKB(Child(bin + L"zorvix.exe", L"", false));
  size_t shown = SettledKB(Child(bin + L"zorvix.exe", L"2", false));
  for (auto [what, kb] : {std::pair{"guard in the tray (zorvix.exe)", tray}, {"guard shown (zorvix.exe 2)", shown}})
    std::printf("%-48s %10zu KB   %-32s %10zu KB   ratio %.2f\n", what, kb, "bare Win32 window program", plain,
                plain ? double(kb) / double(plain) : 0.0);
  size_t bare = SettledKB(Child(bin + L"zorvix_ws_probe.exe", L"bare", false));
  double excess = tray > plain ? double(tray - plain) : 1.0;
  std::vector<std::pair<std::wstring, std::wstring>> parts;  // label, probe argument
  for (const wchar_t* part :
       {L"list", L"icons", L"shell-icons", L"version", L"trust", L"trust-unloaded", L"counters", L"query", L"all"})
    parts.push_back({part, part});
  parts.push_back({L"imports", L"load:" + ImportedLibraries(bin + L"zorvix.exe")});  // loaded, nothing called
  for (auto& [label, arg] : parts) {
    size_t kb = SettledKB(Child(bin + L"zorvix_ws_probe.exe", arg, false));
    long long added = (long long)kb - (long long)bare;
    std::printf("  probe %-14ls %8zu KB, adds %7lld KB to the bare probe (%5.1f%% of the tray guard's excess)\n",
                label.c_str(), kb, added, 100.0 * double(added) / excess);
  }
  std::printf("  imports: %ls\n", parts.back().second.c_str() + 5);
}

}  // namespace

int main() {
  InitCommonControls();
  std::vector<std::unique_ptr<Child>> children;
  FillTo(children, 100);
  Table t;
  t.Tick();
  std::printf("rows listed: %d of %zu processes\n", t.lvw.Count(), RunningProcesses());
  double at100 = bench::BestMs([&] { t.Tick(); }, 10, 5);

  FillTo(children, 400);
  t.Tick();
  std::printf("rows listed: %d of %zu processes\n", t.lvw.Count(), RunningProcesses());
  double unchanged = bench::BestMs([&] { t.Tick(); }, 10, 5);
  double walk = bench::BestMs(BareWalk, 10, 5);
  double query = bench::BestMs(BareQuery, 10, 5);
  bench::Report("unchanged tick, 400 processes", unchanged, "bare snapshot + open walk", walk);
  bench::Report("unchanged tick, 400 processes", unchanged, "bare NtQuerySystemInformation", query);
  bench::Report("unchanged tick, 400 processes", unchanged, "unchanged tick, 100 processes", at100);

  // A program of a listed company needs its signature checked: the tick starts the helper for it.
  for (auto [what, program] : {std::pair{"tick where one process appeared", L"suite_child.exe"},
                               {"tick where a signed program appeared", L"suite_child_signed.exe"}}) {
    double appeared = 0;
    const int kRounds = 5;
    for (int i = 0; i < kRounds; ++i) {
      {
        Child extra(common::AppFolder() + program, L"", true);
        double t0 = bench::NowMs();
        t.Tick();
        zorvix::EndGuardSigner();
        appeared += bench::NowMs() - t0;
      }
      t.Tick();
    }
    bench::Report(what, appeared / kRounds, "unchanged tick, 400 processes", unchanged);
    bench::Report(what, appeared / kRounds, "bare snapshot + open walk", walk);
  }
  children.clear();
  WorkingSets();
  StartTimes();
  return 0;
}
