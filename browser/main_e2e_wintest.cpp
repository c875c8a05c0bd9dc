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

// A top-level window of the given process with this caption (any class when cls is null).
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
        if (owner == query->pid && wcscmp(text, query->caption) == 0 && (!query->cls || wcscmp(name, query->cls) == 0)) {
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

}  // namespace
