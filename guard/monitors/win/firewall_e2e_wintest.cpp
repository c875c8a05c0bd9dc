// The real zorvix.exe: its firewall window is loaded hidden at start and opens from a posted command.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/testing/win/child_process.h"
#include "guard/monitors/win/formfire.h"
#include "guard/startup/guard_state.h"

using namespace zorvix;

namespace {

// The captions of a tab control in another process: the item and its text buffer live in that process.
std::vector<std::wstring> TabCaptions(HWND tabs, HANDLE process) {
  std::vector<std::wstring> captions;
  constexpr int kChars = 64;
  SIZE_T bytes = sizeof(TCITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return captions;
  int count = int(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    TCITEMW item{TCIF_TEXT};
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof item);
    item.cchTextMax = kChars;
    wchar_t text[kChars]{};
    if (!WriteProcessMemory(process, remote, &item, sizeof item, nullptr) ||
        !SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote)) ||
        !ReadProcessMemory(process, remote + sizeof item, text, sizeof text - sizeof(wchar_t), nullptr))
      break;
    captions.push_back(text);
  }
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return captions;
}

}  // namespace

TEST(FirewallEndToEnd, LoadedHiddenAtStartAndOpenedByAPostedCommand) {
  suite::ChildProcess guard(L"2", suite::BinFolder() + L"zorvix.exe");
  ASSERT_TRUE(guard.started());
  HWND fire = nullptr;
  ASSERT_TRUE(
      suite::PumpUntil([&] { return (fire = FindWindowW(L"ZorvixFormfire", L"可疑程序检测")) != nullptr; }, 15000));
  EXPECT_FALSE(IsWindowVisible(fire));
  DWORD owner = 0;
  GetWindowThreadProcessId(fire, &owner);
  EXPECT_EQ(owner, guard.pid());

  PostMessageW(fire, WM_COMMAND, Formfire::kIdShowFromTray, 0);
  EXPECT_TRUE(suite::PumpUntil([&] { return IsWindowVisible(fire) != FALSE; }, 5000));
  HWND tabs = FindWindowExW(fire, nullptr, WC_TABCONTROLW, nullptr);
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(TabCaptions(tabs, guard.handle()),
            (std::vector<std::wstring>{L"可疑程序列表  ", L"当前网络连接  ", L"网络访问控制 "}));
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1) << "opened on the connections, as from the tray";

  // Closed while marked, it only hides; the guard runs on.
  PostMessageW(fire, WM_CLOSE, 0, 0);
  EXPECT_TRUE(suite::PumpUntil([&] { return !IsWindowVisible(fire); }, 5000));
  EXPECT_TRUE(IsWindow(fire));
  EXPECT_TRUE(guard.Running());
  HWND main = FindWindowW(L"ZorvixFrmMain", kMainCaption);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(guard.WaitExit(10000));
}
