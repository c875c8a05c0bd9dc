// The tray and the monitors inside the loaded guard: the icon of a hidden guard, the way back to its
// window, the exit and the unload asked for by another program, the guard's windows kept off the window
// page, a drive's arrival and a start-up value written while it runs.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <winternl.h>

#include <algorithm>
#include <set>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/text_files.h"
#include "common/win/registry.h"
#include "common/win/version_info.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/formfire.h"
#include "guard/monitors/win/testing/scratch_drive.h"
#include "guard/monitors/win/testing/window_child.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/window_list_win.h"
#include "guard/guard_state.h"
#include "guard/startup/tray_text.h"
#include "guard/startup/win/frm_main.h"

using namespace zorvix;

namespace {
// Every file carries a valid signature of the company its version texts name.
std::optional<std::wstring> SignedEverything(const std::wstring& path) {
  auto texts = common::ReadVersionTexts(path);
  if (!texts) return std::nullopt;
  return texts->company;
}
}  // namespace

TEST(GuardTray, AHiddenGuardHasItsIconAndTheMenuBringsTheWindowBack) {
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"1"));
  EXPECT_FALSE(IsWindowVisible(frm.hwnd()));
  EXPECT_TRUE(frm.tuopan().iconShown());
  frm.tuopan().Command(kTrayProcess);
  EXPECT_TRUE(IsWindowVisible(frm.hwnd()));
  EXPECT_TRUE(Guard().shownFromTray);
  SendMessageW(frm.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(frm.hwnd())) << "closing it hides it again";
  ASSERT_NE(frm.hwnd(), nullptr);
  frm.tuopan().Command(kTrayExit);
  EXPECT_TRUE(suite::PumpUntil([&] { return frm.hwnd() == nullptr; }, 3000)) << "软件退出 ends the guard";
  EXPECT_TRUE(frm.unloadme);
  EXPECT_FALSE(frm.tuopan().iconShown());
  EXPECT_EQ(frm.tuopan().hwnd(), nullptr);
}

TEST(GuardTray, AnotherProgramsUnloadRequestEndsTheGuardAsItsExitDoes) {
  test_support::WindowChild program(L"unload-request-frozen");
  ASSERT_TRUE(program.Responds());
  suite::TempDir folder;
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"1"));
  frm.tuopan().Command(kTrayProcess);  // shown from the tray: a plain close would only hide it
  AskSubject subject;
  subject.FilePath = suite::BinFolder() + L"suite_child.exe";
  subject.process = program.Id();
  AskHooks hooks;
  hooks.fileInfo = [](std::wstring& path) { return path; };
  hooks.folder = folder.wpath();
  ASSERT_NE(Formask::Open(subject, hooks, FrozenProcess::Freeze(subject.process)), nullptr);
  ASSERT_TRUE(program.Frozen());

  // As the suite's uninstaller asks: the window found by its class, the answer not waiting for the unload.
  HWND w = FindWindowW(L"ZorvixFrmMain", nullptr);
  ASSERT_EQ(w, frm.hwnd());
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(w, RegisterWindowMessageW(kUnloadRequestMessage), 0, 0, SMTO_ABORTIFHUNG, 5000,
                                &answer),
            0);
  EXPECT_TRUE(suite::PumpUntil([&] { return frm.hwnd() == nullptr; }, 3000)) << "the guard unloaded";
  EXPECT_FALSE(frm.tuopan().iconShown());
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(program.Responds()) << "the program it froze runs again";
}

TEST(GuardTray, TheFirewallItemLiftsThePausedScans) {
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  Guard().autorunScanPaused = true;
  frm.tuopan().Command(kTrayNetwall);
  EXPECT_FALSE(Guard().autorunScanPaused);
  DestroyWindow(frm.hwnd());
}

TEST(GuardWindows, TheWindowPageNeitherListsNorClosesTheGuardsOwnWindows) {
  suite::ChildProcess other(L"--window ZvOther 菜单列表 可疑程序检测");
  ASSERT_TRUE(suite::PumpUntil([] { return FindWindowW(L"SuiteChild", L"ZvOther 菜单列表 可疑程序检测"); }, 5000));
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  frm.tuopan().Command(kTrayNetwall);  // the firewall's window, made when first shown
  for (const wchar_t* own : {kMainCaption, L"菜单列表", L"可疑程序检测"})
    ASSERT_NE(FindWindowW(nullptr, own), nullptr) << "the guard's window is there to be listed";
  auto titles = ListWindowTitles();
  for (const wchar_t* own : {kMainCaption, L"菜单列表", L"可疑程序检测"})
    EXPECT_EQ(std::count(titles.begin(), titles.end(), own), 0) << "listed: " << suite::Ansi(own);
  EXPECT_EQ(std::count(titles.begin(), titles.end(), L"ZvOther 菜单列表 可疑程序检测"), 1);

  EXPECT_EQ(CloseWindowsByTitle(L"菜单列表"), 1) << "the other program's window only";
  EXPECT_TRUE(other.WaitExit(5000));
  EXPECT_EQ(CloseWindowsByTitle(kMainCaption), 0);
  EXPECT_EQ(CloseWindowsByTitle(L"可疑程序检测"), 0);
  suite::PumpFor(300);
  ASSERT_NE(frm.hwnd(), nullptr);
  EXPECT_TRUE(IsWindow(frm.tuopan().hwnd()));
  EXPECT_TRUE(frm.tuopan().iconShown());
  EXPECT_TRUE(IsWindowVisible(frm.formfire().hwnd()));
  DestroyWindow(frm.hwnd());
}

TEST(GuardMonitors, ADriveArrivingIsScannedAtOnce) {
  suite::TempDir media;
  media.Write(L"autorun.inf", "[autorun]\r\nopen=setup.exe\r\n");
  test_support::ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  FrmMain frm(SignedEverything);
  ASSERT_TRUE(frm.Load(L"2"));
  DEV_BROADCAST_VOLUME vol{sizeof vol, DBT_DEVTYP_VOLUME, 0, drive.unitMask(), 0};
  SendMessageW(frm.hwnd(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&vol));
  // The main timer shows the findings within about a second, long before the tenth tick.
  EXPECT_TRUE(suite::PumpUntil([&] { return frm.autorun().form().loaded(); }, 3000));
  DestroyWindow(frm.hwnd());
  EXPECT_FALSE(frm.autorun().form().loaded()) << "the guard's end closes the alert";
}

namespace {
// The system's process list without the processes that started after its first query: the guard sees no
// new process.
struct NoNewProcesses : ProcessSystem {
  LONG QueryProcesses(void* buffer, ULONG size, ULONG* needed) override {
    LONG status = ProcessSystem::QueryProcesses(buffer, size, needed);
    if (status < 0) return status;
    SYSTEM_PROCESS_INFORMATION* kept = nullptr;
    for (ULONG at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= size;) {
      auto* e = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(static_cast<BYTE*>(buffer) + at);
      ULONG next = e->NextEntryOffset;
      DWORD pid = DWORD(reinterpret_cast<ULONG_PTR>(e->UniqueProcessId));
      if (!recorded) known.insert(pid);
      if (known.count(pid) || !kept)
        kept = e;
      else  // unlinked from the list
        kept->NextEntryOffset = next ? kept->NextEntryOffset + next : 0;
      if (!next) break;
      at += next;
    }
    recorded = true;
    return status;
  }
  std::set<DWORD> known;
  bool recorded = false;
};
}  // namespace

TEST(GuardMonitors, AStartupValueWrittenWhileTheGuardRunsIsReadWithoutANewProcess) {
  const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::wstring name = L"zorvix-test-value";
  NoNewProcesses processes;
  FrmMain frm(SignedEverything, processes);
  ASSERT_TRUE(frm.Load(L"2"));
  // Nothing is asked, so nothing is taken from the queue: what the reading queued stays to be seen.
  frm.startup().SetHooks({});
  suite::PumpFor(1500);  // the first reading is done
  auto queued = [&] {
    StartupQueue copy = frm.startup().queue();
    while (auto item = copy.TakeLast())
      if (item->name == name) return true;
    return false;
  };
  ASSERT_FALSE(queued());
  // A program started now is not seen by the guard: only the key's change can make it read again.
  suite::ChildProcess started;
  ASSERT_TRUE(started.started());
  common::WriteRegString(HKEY_CURRENT_USER, run, name, L"C:\\apps\\new-startup.exe");
  EXPECT_TRUE(suite::PumpUntil(queued, 2500));
  EXPECT_LT(frm.table().HaveItem(started.pid()), 0) << "the new process stayed unseen";
  common::DeleteRegValue(HKEY_CURRENT_USER, run, name);
  DestroyWindow(frm.hwnd());
}
