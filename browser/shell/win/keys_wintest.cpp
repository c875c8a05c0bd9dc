// The keyboard in the frame and its dialogs: keys of the page reach its control first, Enter in the
// address and search boxes, Tab, the frame's keys, and the block-list editor's and exit dialog's keys.
#include <gtest/gtest.h>
#include <windows.h>

#include "browser/pages/win/formask.h"
#include "browser/shell/win/exit_dialog.h"
#include "browser/pages/win/formnew.h"
#include "browser/shell/win/testing/frame_fixture.h"
#include "common/win/pump.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using testing::Frame;

// Posts a key to a window (the focused one when null) and lets the program's key routing handle it.
void Key(UINT message, WPARAM key, HWND to = nullptr) {
  PostMessageW(to ? to : GetFocus(), message, key, message == WM_SYSCHAR || message == WM_SYSKEYDOWN ? (1 << 29) : 0);
  common::PumpMessages();
}

// The keys were to close the dialog: a dialog still open fails the test instead of waiting for a person.
void ExpectClosed(HWND dialog) {
  EXPECT_FALSE(IsWindow(dialog));
  if (IsWindow(dialog)) DestroyWindow(dialog);
}

// Holds a modifier down as the thread sees the keyboard.
class KeyDown {
 public:
  explicit KeyDown(BYTE vk) {
    GetKeyboardState(keys_);
    BYTE down[256];
    memcpy(down, keys_, sizeof down);
    down[vk] = 0x80;
    SetKeyboardState(down);
  }
  ~KeyDown() { SetKeyboardState(keys_); }

 private:
  BYTE keys_[256];
};

class ShellKeys : public Frame {
 protected:
  FrmMain& StartShown(const std::wstring& cmd) {
    dir.Write(L"sys\\sites.txt", "webSearch1, https://www.baidu.com\r\n");
    FrmMain& f = Start(cmd);
    ShowWindow(f.hwnd(), SW_SHOW);
    SetForegroundWindow(f.hwnd());
    common::PumpMessages();
    return f;
  }
};

TEST_F(ShellKeys, PageKeysReachItsControlFirst) {
  FrmMain& f = StartShown(L"http://a.cn/");
  HWND page = f.PageAt(0)->hwnd();
  Key(WM_KEYDOWN, VK_TAB, page);
  Key(WM_CHAR, L'x', page);
  ASSERT_EQ(Engine(0).keys.size(), 2u);
  EXPECT_EQ(Engine(0).keys[0].message, UINT(WM_KEYDOWN));
  EXPECT_EQ(Engine(0).keys[0].wParam, WPARAM(VK_TAB));
  // Keys of the frame's own boxes and of the page's focus holder are not the page's.
  Key(WM_KEYDOWN, 'A', f.textUrl());
  Key(WM_KEYDOWN, VK_DOWN, f.PageAt(0)->Cmb());
  EXPECT_EQ(Engine(0).keys.size(), 2u);
  EXPECT_EQ(Engine(0).scrolled, 100);  // the holder's Down arrow scrolls the page
  // A key the page does not use goes on to the frame: F11 is full screen.
  Engine(0).consumeKeys = false;
  Key(WM_KEYDOWN, VK_F11, page);
  EXPECT_FALSE(f.pictShown());
  Key(WM_KEYDOWN, VK_F11, page);
  EXPECT_TRUE(f.pictShown());
}

TEST_F(ShellKeys, EnterInTheAddressBoxAndTheSearchBox) {
  FrmMain& f = StartShown(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  SetFocus(f.textUrl());
  SetWindowTextW(f.textUrl(), L"www.c.cn");
  Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(Engine(1).navigations.back(), L"www.c.cn");
  EXPECT_EQ(f.table().count(), 2);
  SetFocus(f.combSearch());
  f.SetSearchText(L"天气");
  Key(WM_KEYDOWN, VK_RETURN);  // as "【搜索】百度"
  ASSERT_EQ(f.table().count(), 3);
  EXPECT_EQ(Active().url, L"https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94");
}

TEST_F(ShellKeys, TabF6AndTheFocusRound) {
  FrmMain& f = StartShown(L"http://a.cn/");
  Key(WM_KEYDOWN, VK_F6);  // the address box, its text selected
  EXPECT_EQ(GetFocus(), f.textUrl());
  common::PumpMessages();
  DWORD from = 0, to = 0;
  SendMessageW(f.textUrl(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, DWORD(f.TextUrl().size()));
  Key(WM_KEYDOWN, VK_TAB);
  wchar_t cls[32] = {}, text[32] = {};
  GetWindowTextW(GetFocus(), text, 32);
  EXPECT_STREQ(text, L"转到");
  Key(WM_KEYDOWN, VK_TAB);
  HWND search = GetFocus();
  EXPECT_TRUE(search == f.combSearch() || IsChild(f.combSearch(), search));
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), f.cmdSearch());
  // The prompt of a blank page: the caret at its end, nothing selected.
  f.SetTextUrl(L"about:blank");
  common::PumpMessages();
  EXPECT_EQ(GetFocus(), f.textUrl());
  SendMessageW(f.textUrl(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  EXPECT_EQ(from, 11u);
  EXPECT_EQ(to, 11u);
  GetClassNameW(GetFocus(), cls, 32);
  EXPECT_STREQ(cls, L"Edit");
}

// The menu a key opened from the menu bar: the menu loop is left as soon as its first popup shows.
HMENU openedMenu = nullptr;
LRESULT CALLBACK WatchMenus(int code, WPARAM wp, LPARAM lp) {
  auto* c = reinterpret_cast<CWPSTRUCT*>(lp);
  if (code == HC_ACTION && c->message == WM_INITMENUPOPUP && !openedMenu) {
    openedMenu = reinterpret_cast<HMENU>(c->wParam);
    EndMenu();
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

HMENU MenuOpenedBy(wchar_t letter) {
  openedMenu = nullptr;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchMenus, nullptr, GetCurrentThreadId());
  Key(WM_SYSCHAR, letter);
  UnhookWindowsHookEx(hook);
  return openedMenu;
}

TEST_F(ShellKeys, EscGivesTheAddressBackOrStopsAndAltOpensMenus) {
  FrmMain& f = StartShown(L"http://a.cn/");
  SetFocus(f.textUrl());
  SetWindowTextW(f.textUrl(), L"half typed");
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(f.TextUrl(), L"http://a.cn/");
  EXPECT_TRUE(Engine(0).calls.empty());
  SetFocus(f.cmdSearch());
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_EQ(Engine(0).calls, std::vector<std::wstring>{L"Stop"});

  HMENU bar = GetMenu(f.hwnd());
  SetFocus(f.textUrl());
  EXPECT_EQ(MenuOpenedBy(L'f'), GetSubMenu(bar, 0));  // "文件(&F)"
  EXPECT_EQ(MenuOpenedBy(L'o'), GetSubMenu(bar, 7));  // "选项(&O)"
  Key(WM_SYSKEYDOWN, 'D');                              // Alt+D: the address box
  EXPECT_EQ(GetFocus(), f.textUrl());
}

TEST_F(ShellKeys, CtrlTabSwitchesTabs) {
  FrmMain& f = StartShown(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  f.loadnewform(L"http://c.cn/");
  KeyDown ctrl(VK_CONTROL);
  Key(WM_KEYDOWN, VK_TAB);  // from the last tab round to the first
  EXPECT_EQ(f.table().active(), 0);
  EXPECT_EQ(f.TextUrl(), L"http://a.cn/");
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(f.table().active(), 1);
  {
    KeyDown shift(VK_SHIFT);
    Key(WM_KEYDOWN, VK_TAB);
  }
  EXPECT_EQ(f.table().active(), 0);
}

TEST_F(ShellKeys, RestoreDialogKeys) {
  dir.Write(L"temp\\page.his", suite::Ansi(L"甲@#$%http://a.cn/\r\n\r\n乙@#$%http://b.cn/\r\n\r\n"));
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    Key(WM_SYSCHAR, L'a');  // "全选(&A)"
    EXPECT_TRUE(static_cast<Formask&>(w).Checked(1));
    Key(WM_SYSCHAR, L'y');  // "确定(&Y)"
    ExpectClosed(w.hwnd());
  });
  FrmMain& f = StartShown(L"");
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"http://a.cn/", L"http://b.cn/"}));
  EXPECT_EQ(f.table().count(), 2);
}

TEST_F(ShellKeys, BlockListEditorKeys) {
  FrmMain& f = StartShown(L"http://a.cn/");
  f.SetTextUrl(L"http://ad.cn/x.htm");
  // Esc closes without writing.
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    Key(WM_KEYDOWN, VK_ESCAPE);
    ExpectClosed(w.hwnd());
  });
  f.Command(kBlockList);
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\guanggao.txt"));
  // Alt+A adds the address in the box.
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    EXPECT_EQ(GetFocus(), static_cast<Formnew&>(w).Text2());
    Key(WM_SYSCHAR, L'a');
    ExpectClosed(w.hwnd());
  });
  f.Command(kBlockList);
  EXPECT_EQ(*suite::ReadText(dir.wpath() + L"\\guanggao.txt"), L"http://ad.cn/x.htm\r\n");
  // Enter in the box adds too; Tab reaches the list.
  f.SetTextUrl(L"http://ad.cn/y.htm");
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    Key(WM_KEYDOWN, VK_TAB);
    Key(WM_KEYDOWN, VK_TAB);
    Key(WM_KEYDOWN, VK_TAB);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), static_cast<Formnew&>(w).List1());
    SetFocus(static_cast<Formnew&>(w).Text2());
    Key(WM_KEYDOWN, VK_RETURN);
    ExpectClosed(w.hwnd());
  });
  f.Command(kBlockList);
  EXPECT_EQ(*suite::ReadText(dir.wpath() + L"\\guanggao.txt"), L"http://ad.cn/x.htm\r\nhttp://ad.cn/y.htm\r\n");
}

TEST_F(ShellKeys, ExitDialogKeys) {
  FrmMain& f = StartShown(L"http://a.cn/");
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    Key(WM_KEYDOWN, VK_ESCAPE);
    ExpectClosed(w.hwnd());
  });
  EXPECT_FALSE(f.QueryUnload());
  common::ui::SetModalHook([](common::ui::Window& w) {
    SetForegroundWindow(w.hwnd());
    common::PumpMessages();
    Key(WM_KEYDOWN, VK_TAB);  // from OK to Cancel and round to the check box
    Key(WM_KEYDOWN, VK_TAB);
    Key(WM_KEYDOWN, VK_SPACE);
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(SendDlgItemMessageW(w.hwnd(), ExitDialog::kAskMe, BM_GETCHECK, 0, 0), BST_CHECKED);
    Key(WM_KEYDOWN, VK_RETURN);
    ExpectClosed(w.hwnd());
  });
  EXPECT_TRUE(f.QueryUnload());
  EXPECT_EQ(common::GetSetting(kApp, L"unload", L"askme"), L"1");
}

}  // namespace
}  // namespace corvane
