// The process actions on real child processes, outside the process window.
#include "guard/process/win/process_actions.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <filesystem>
#include <map>
#include <vector>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_actions.h"
#include "guard/process/win/fake_process_system.h"
#include "guard/process/win/process_query.h"
#include "guard/process/win/process_system.h"

using namespace zorvix;
using zorvix::testing::FakeSystem;

TEST(ShellCommands, RestoringTheShellWritesTheValueEvenWhenItIsAlreadySet) {
  HKEY hklm = HKEY_LOCAL_MACHINE;
  auto before = common::QueryRegString(hklm, kWinlogonKey, L"Shell");
  ASSERT_TRUE(RestoreExplorerShell());
  EXPECT_EQ(common::ReadRegString(hklm, kWinlogonKey, L"Shell"), L"explorer.exe");
  ASSERT_TRUE(RestoreExplorerShell());
  EXPECT_EQ(common::ReadRegString(hklm, kWinlogonKey, L"Shell"), L"explorer.exe");
  if (!before) common::DeleteRegValue(hklm, kWinlogonKey, L"Shell");
  else common::WriteRegString(hklm, kWinlogonKey, L"Shell", *before);
}

TEST(EndPro, EndsOnlyTheProcessThatStartedAtTheGivenTime) {
  suite::ChildProcess child;
  uint64_t created = CreateTimeOf(child.handle());
  ASSERT_NE(created, 0u);
  EXPECT_FALSE(RealProcessSystem().IsCritical(child.handle()));
  EXPECT_EQ(EndPro(child.pid(), created - 1), EndResult::NotSame);
  EXPECT_TRUE(child.Running());
  EXPECT_EQ(EndPro(child.pid(), created), EndResult::Ended);
  EXPECT_TRUE(child.WaitExit(1000));
  EXPECT_TRUE(WaitProcessGone(child.pid(), created, 100));
  EXPECT_EQ(EndPro(0, 0), EndResult::Failed);
}

TEST(EndPro, RefusesACriticalProcess) {
  suite::ChildProcess child;
  FakeSystem system;
  system.critical = true;
  EXPECT_EQ(EndPro(child.pid(), CreateTimeOf(child.handle()), system), EndResult::Critical);
  EXPECT_FALSE(child.WaitExit(200));
}

namespace {
struct Plain : common::ui::Window {};
}  // namespace

TEST(WaitPumping, EndsWhenItsWindowIsDestroyed) {
  Plain w;
  ASSERT_TRUE(w.Create(L"ZorvixWaitHost", L"wait", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100));
  ULONGLONG t0 = GetTickCount64();
  EXPECT_TRUE(WaitPumping(300, w.hwnd()));
  EXPECT_GE(GetTickCount64() - t0, 290u);
  HWND h = w.hwnd();
  PostMessageW(h, WM_CLOSE, 0, 0);  // closed by a message the wait runs
  t0 = GetTickCount64();
  EXPECT_FALSE(WaitPumping(3000, h));
  EXPECT_LT(GetTickCount64() - t0, 1000u) << "the wait went on without its window";

  suite::ChildProcess child;
  Plain w2;
  ASSERT_TRUE(w2.Create(L"ZorvixWaitHost", L"wait", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100));
  PostMessageW(w2.hwnd(), WM_CLOSE, 0, 0);
  t0 = GetTickCount64();
  EXPECT_FALSE(WaitProcessGone(child.pid(), CreateTimeOf(child.handle()), 3000, w2.hwnd()));
  EXPECT_LT(GetTickCount64() - t0, 1000u);
  EXPECT_TRUE(child.Running());
}

TEST(DeleteFileSilent, DeletesWithoutAskingAndReportsAFileThatStays) {
  suite::TempDir dir;
  std::wstring f = dir.Write(L"a b\\x.txt", "data");
  EXPECT_TRUE(DeleteFileSilent(f));
  EXPECT_FALSE(std::filesystem::exists(f));
  EXPECT_FALSE(DeleteFileSilent(f));
  EXPECT_FALSE(DeleteFileSilent(L""));
  // A file in use stays, reported to the caller, with no box of the shell's own before ours.
  std::wstring busy = dir.Write(L"busy.txt", "data");
  HANDLE h = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(DeleteFileSilent(busy));
  CloseHandle(h);
  EXPECT_TRUE(kSilentDeleteFlags & FOF_NOERRORUI);
  EXPECT_FALSE(kSilentDeleteFlags & FOF_ALLOWUNDO);
}

namespace {
// Running processes of a file name, with their image paths.
std::map<DWORD, std::wstring> ProcessesNamed(const std::wstring& name) {
  std::map<DWORD, std::wstring> found;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{sizeof e};
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e)) {
    if (!common::EqualsNoCase(e.szExeFile, name)) continue;
    ProcessHandle h{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, e.th32ProcessID)};
    found[e.th32ProcessID] = h ? ProcessImagePath(h.get()) : L"";
  }
  CloseHandle(snap);
  return found;
}
}  // namespace

TEST(ShellCommands, ExplorerComesFromTheWindowsFolderNotTheCurrentOne) {
  suite::TempDir dir;
  std::wstring planted = dir.wpath() + L"\\explorer.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", planted);
  auto before = ProcessesNamed(L"explorer.exe");
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW(dir.wpath().c_str());
  bool started = OpenFolderSelect(planted);
  SetCurrentDirectoryW(current);
  ASSERT_TRUE(started);
  std::map<DWORD, std::wstring> seen;
  suite::PumpUntil([&] {
    for (auto& [pid, path] : ProcessesNamed(L"explorer.exe"))
      if (!before.count(pid)) seen[pid] = path;
    return false;
  }, 2000);
  for (auto& [pid, path] : seen) {
    EXPECT_FALSE(common::EqualsNoCase(path, planted)) << "the planted program ran";
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}
