// The real zorvix.exe under Wine: its window, its first run in the registry, one instance only.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <tlhelp32.h>

#include <algorithm>
#include <memory>

#include "common/path.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/test_certificate.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "guard/guard_state.h"

using namespace zorvix;

namespace {

std::wstring Zorvix() { return suite::BinFolder() + L"zorvix.exe"; }

int CountMainWindows() {
  int n = 0;
  HWND w = nullptr;
  while ((w = FindWindowExW(nullptr, w, L"ZorvixFrmMain", kMainCaption))) ++n;
  return n;
}

HWND WaitMainWindow() {
  HWND w = nullptr;
  suite::PumpUntil([&] { return (w = FindWindowW(L"ZorvixFrmMain", kMainCaption)) != nullptr; }, 15000);
  return w;
}

void ForgetFirstRun() {
  common::DeleteSettingSection(kGuardApp, L"Setup");
  common::DeleteRegValue(HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\run", L"safe");
  for (auto* key : {L"Directory\\shell\\Sercavo\\command", L"Directory\\shell\\Sercavo"})
    common::DeleteRegKey(HKEY_CLASSES_ROOT, key);
  for (auto* key : {L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command", L"Software\\CLASSES\\Drive\\shell\\Sercavo"})
    common::DeleteRegKey(HKEY_LOCAL_MACHINE, key);
}

std::vector<std::wstring> ModulesOf(DWORD pid) {
  std::vector<std::wstring> names;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snap == INVALID_HANDLE_VALUE) return names;
  MODULEENTRY32W me{sizeof me};
  for (BOOL more = Module32FirstW(snap, &me); more; more = Module32NextW(snap, &me))
    names.push_back(common::ToLower(me.szModule));
  CloseHandle(snap);
  return names;
}

}  // namespace

TEST(GuardEndToEnd, StartsWithItsWindowAndWritesTheFirstRunEntries) {
  ForgetFirstRun();
  suite::ChildProcess guard(L"2", Zorvix());
  ASSERT_TRUE(guard.started());
  HWND w = WaitMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(IsWindowVisible(w));
  HWND list = FindWindowExW(w, nullptr, WC_LISTVIEWW, nullptr);
  EXPECT_GT(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);

  std::wstring folder = suite::BinFolder();
  folder.pop_back();
  EXPECT_EQ(common::ReadRegString(HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\run", L"safe"),
            common::QuoteArg(folder + L"\\zorvix.exe", common::Quoting::WhenNeeded));
  std::wstring command = L"\"" + folder + L"\\sercavo.exe\" \"%1\"";
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, L"Directory\\shell\\Sercavo", L""), L"【Sercavo】");
  EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, L"Directory\\shell\\Sercavo\\command", L""), command);
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\Drive\\shell\\Sercavo", L""), L"【Sercavo】");
  EXPECT_EQ(common::ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command", L""),
            command);
  EXPECT_TRUE(common::QuerySetting(kGuardApp, L"Setup", L"FirstStart"));
  DWORD attrs = GetFileAttributesW((suite::BinFolder() + L"sys").c_str());
  EXPECT_EQ(attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

  // A second start ends silently and leaves the first alone.
  suite::ChildProcess second(L"2", Zorvix());
  EXPECT_TRUE(second.WaitExit(10000));
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_TRUE(guard.Running());

  // Closing the window that was shown at start ends the guard.
  PostMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(guard.WaitExit(10000));
}

TEST(GuardEndToEnd, TwoStartsAtTheSameMomentLeaveOneGuard) {
  std::vector<std::unique_ptr<suite::ChildProcess>> guards;
  for (int i = 0; i < 3; ++i) guards.push_back(std::make_unique<suite::ChildProcess>(L"2", Zorvix()));
  ASSERT_NE(WaitMainWindow(), nullptr);
  suite::PumpFor(1500);
  int running = 0;
  for (auto& g : guards) running += g->Running();
  EXPECT_EQ(running, 1);
  EXPECT_EQ(CountMainWindows(), 1);
}

TEST(GuardEndToEnd, WithoutANumberItStartsHidden) {
  suite::ChildProcess guard(L"", Zorvix());
  HWND w = WaitMainWindow();
  ASSERT_NE(w, nullptr);
  suite::PumpFor(500);
  EXPECT_FALSE(IsWindowVisible(w));
}

TEST(GuardEndToEnd, InTheTrayItHoldsNoCertificateLibraries) {
  ASSERT_TRUE(suite::TrustTestCertificate());
  suite::ChildProcess signedChild(L"", suite::BinFolder() + L"suite_child_signed.exe");  // a row to check
  suite::ChildProcess guard(L"", Zorvix());
  ASSERT_NE(WaitMainWindow(), nullptr);
  suite::PumpFor(2500);  // its first ticks
  auto modules = ModulesOf(guard.pid());
  auto holds = [&](const wchar_t* name) { return std::count(modules.begin(), modules.end(), name) > 0; };
  ASSERT_TRUE(holds(L"user32.dll"));
  EXPECT_FALSE(holds(L"crypt32.dll"));
  EXPECT_FALSE(holds(L"wintrust.dll"));
}

TEST(GuardEndToEnd, AtADriveRootTheFolderKeepsOneSeparator) {
  std::wstring drive = common::GetWindowsFolder().substr(0, 3);  // "C:\"
  std::wstring exe = drive + L"zorvix.exe";
  ASSERT_TRUE(CopyFileW(Zorvix().c_str(), exe.c_str(), FALSE));
  ForgetFirstRun();
  {
    suite::ChildProcess guard(L"2", exe);
    HWND w = WaitMainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(common::ReadRegString(HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\run", L"safe"),
              drive + L"zorvix.exe");
    EXPECT_EQ(common::ReadRegString(HKEY_CLASSES_ROOT, L"Directory\\shell\\Sercavo\\command", L""),
              L"\"" + drive + L"sercavo.exe\" \"%1\"");
    PostMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_TRUE(guard.WaitExit(10000));
  }
  ForgetFirstRun();
  DeleteFileW(exe.c_str());
  RemoveDirectoryW((drive + L"sys").c_str());
}
