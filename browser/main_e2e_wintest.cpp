// The real corvane.exe under Wine: its frame appears with its caption and it ends without a trace.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include "common/testing/win/child_process.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"

namespace {

int CorvaneProcesses() {
  int n = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe))
    if (_wcsicmp(pe.szExeFile, L"corvane.exe") == 0) ++n;
  CloseHandle(snap);
  return n;
}

// A top-level window of the given process with this caption and class (either may be null: any).
HWND FindProcessWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption) {
  struct Query {
    DWORD pid;
    const wchar_t *cls, *caption;
    HWND found;
  } q{pid, cls, caption, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* query = reinterpret_cast<Query*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        wchar_t text[128] = {}, name[64] = {};
        GetWindowTextW(h, text, 128);
        GetClassNameW(h, name, 64);
        if (owner == query->pid && (!query->caption || wcscmp(text, query->caption) == 0) &&
            (!query->cls || wcscmp(name, query->cls) == 0)) {
          query->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

TEST(CorvaneEndToEnd, StartsShowsItsFrameAndExits) {
  common::SaveSetting(L"Corvane", L"myie", L"Start", L"about:blank");
  common::SaveSetting(L"Corvane", L"first", L"load", L"SoftLoad");
  common::SaveSetting(L"Corvane", L"unload", L"askme", L"0");
  // A page list left by an abnormal end would bring up the restore dialog first.
  DeleteFileW((suite::BinFolder() + L"Temp\\page.his").c_str());
  suite::ChildProcess browser(L"", suite::BinFolder() + L"corvane.exe");
  ASSERT_TRUE(browser.started());
  HWND frame = nullptr;
  EXPECT_TRUE(suite::PumpUntil([&] { return (frame = FindProcessWindow(browser.pid(), L"CorvaneFrmMain", L"Corvane安全浏览器")) != nullptr; },
                               20000));
  ASSERT_NE(frame, nullptr);
  PostMessageW(frame, WM_CLOSE, 0, 0);
  // The exit dialog asks; it is answered as a person would.
  HWND dialog = nullptr;
  EXPECT_TRUE(suite::PumpUntil([&] { return (dialog = FindProcessWindow(browser.pid(), nullptr, L"退出浏览器")) != nullptr; }, 10000));
  if (dialog) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(browser.WaitExit(20000));
  DWORD code = 1;
  GetExitCodeProcess(browser.handle(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(suite::PumpUntil([] { return CorvaneProcesses() == 0; }, 5000));
  EXPECT_EQ(common::ReadRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive"), L"1");
}

// Closes a browser as a person would: its frame's close box, then OK in the exit dialog.
void CloseConfirmed(suite::ChildProcess& browser, HWND frame) {
  PostMessageW(frame, WM_CLOSE, 0, 0);
  HWND dialog = nullptr;
  EXPECT_TRUE(suite::PumpUntil([&] { return (dialog = FindProcessWindow(browser.pid(), nullptr, L"退出浏览器")) != nullptr; }, 10000));
  if (dialog) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(browser.WaitExit(20000));
}

long long Size(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return -1;
  return (long long)a.nFileSizeHigh << 32 | a.nFileSizeLow;
}

TEST(CorvaneEndToEnd, TwoRunningBrowsersNeverTakeEachOtherForAnAbnormalEnd) {
  common::SaveSetting(L"Corvane", L"myie", L"Start", L"about:blank");
  common::SaveSetting(L"Corvane", L"first", L"load", L"SoftLoad");
  common::SaveSetting(L"Corvane", L"unload", L"askme", L"0");
  std::wstring temp = suite::BinFolder() + L"Temp\\";
  for (const wchar_t* name : {L"page.his", L"page2.his", L"page3.his"}) DeleteFileW((temp + name).c_str());
  std::wstring exe = suite::BinFolder() + L"corvane.exe";
  suite::ChildProcess a(L"http://a.example/", exe);
  ASSERT_TRUE(a.started());
  HWND frameA = nullptr;
  ASSERT_TRUE(suite::PumpUntil([&] { return (frameA = FindProcessWindow(a.pid(), L"CorvaneFrmMain", nullptr)) != nullptr; }, 20000));
  ASSERT_TRUE(suite::PumpUntil([&] { return Size(temp + L"page.his") >= 11; }, 20000)) << "A keeps its open pages";
  // B starts while A runs: no restore dialog, and B's exit leaves A's pages.
  suite::ChildProcess b(L"", exe);
  HWND frameB = nullptr;
  ASSERT_TRUE(suite::PumpUntil([&] { return (frameB = FindProcessWindow(b.pid(), L"CorvaneFrmMain", nullptr)) != nullptr; }, 20000));
  suite::PumpFor(1500);
  EXPECT_EQ(FindProcessWindow(b.pid(), nullptr, L"上次启动页面"), nullptr);
  CloseConfirmed(b, frameB);
  EXPECT_GE(Size(temp + L"page.his"), 11);
  // A ends abnormally: the next browser offers what A had open.
  a.Kill();
  ASSERT_TRUE(a.WaitExit(10000));
  suite::ChildProcess c(L"", exe);
  HWND restore = nullptr;
  EXPECT_TRUE(suite::PumpUntil([&] { return (restore = FindProcessWindow(c.pid(), nullptr, L"上次启动页面")) != nullptr; }, 20000));
  if (restore) PostMessageW(restore, WM_CLOSE, 0, 0);
  HWND frameC = nullptr;
  ASSERT_TRUE(suite::PumpUntil([&] { return (frameC = FindProcessWindow(c.pid(), L"CorvaneFrmMain", nullptr)) != nullptr; }, 20000));
  suite::PumpFor(500);
  CloseConfirmed(c, frameC);
}

}  // namespace
