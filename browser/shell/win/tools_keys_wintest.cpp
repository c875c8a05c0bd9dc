// The keyboard in the tool windows: Tab, Alt+mnemonics, Enter, Esc and the tool window's keys.
#include <gtest/gtest.h>

#include "browser/pages/win/testing/input_answers.h"
#include "browser/shell/win/frm_main.h"
#include "browser/tools/win/formclear.h"
#include "browser/tools/win/formping.h"
#include "browser/tools/win/formsetup.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/pump.h"
#include "common/win/settings_store.h"

namespace corvane {
namespace {
using common::ui::WindowText;

// Posts a key to the focused control and lets the program's key routing handle it.
void Key(UINT message, WPARAM key) {
  PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0);
  common::PumpMessages();
}

void Press(WPARAM key) {
  Key(WM_KEYDOWN, key);
  Key(WM_KEYUP, key);
}

void Show(HWND w) {
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  common::PumpMessages();
}

bool Checked(HWND h) { return SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(ToolKeys, Options) {
  common::DeleteSettingSection(kApp, L"unload");
  common::DeleteSettingSection(kApp, L"myie");
  Formsetup form;
  ASSERT_TRUE(form.Create(nullptr));
  Show(form.hwnd());
  EXPECT_EQ(GetFocus(), form.TextStart());
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), form.cmd(0));
  Key(WM_KEYDOWN, VK_TAB);
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), form.cmd(2));
  Press(VK_SPACE);  // "使用空白页"
  EXPECT_EQ(WindowText(form.TextStart()), L"about:blank");
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), form.Optt(0));
  Key(WM_KEYDOWN, VK_DOWN);  // arrows move within the two choices
  EXPECT_TRUE(Checked(form.Optt(1)));
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), form.CheckRadio());
  Key(WM_KEYDOWN, VK_TAB);
  Press(VK_SPACE);
  EXPECT_FALSE(Checked(form.CheckQuit()));
  Key(WM_SYSCHAR, L'y');  // "确定(&Y)"
  EXPECT_FALSE(form.hwnd());
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"Start"), L"about:blank");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"startwindows"), L"1");
  EXPECT_EQ(common::GetSetting(kApp, L"unload", L"askme"), L"1");

  Formsetup again;
  ASSERT_TRUE(again.Create(nullptr));
  Show(again.hwnd());
  SetWindowTextW(again.TextStart(), L"http://changed.cn/");
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(again.hwnd());
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"Start"), L"about:blank");
  common::DeleteSettingSection(kApp, L"unload");
  common::DeleteSettingSection(kApp, L"myie");
}

TEST(ToolKeys, Cleaner) {
  suite::MsgBoxAnswers answers;
  Formclear form(TraceFolders{});
  ASSERT_TRUE(form.Create(nullptr));
  Show(form.hwnd());
  EXPECT_EQ(GetFocus(), form.Chk(0));
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), form.Chk(1));
  Press(VK_SPACE);
  EXPECT_TRUE(form.Ticked()[1]);
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(form.hwnd());
  EXPECT_TRUE(answers.shown().empty());  // closed without clearing

  Formclear other(TraceFolders{});
  ASSERT_TRUE(other.Create(nullptr));
  Show(other.hwnd());
  Key(WM_SYSCHAR, L'y');  // "确定(&Y)": nothing ticked, the message all the same
  EXPECT_FALSE(other.hwnd());
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kTraceDone);
}

TEST(ToolKeys, ToolWindow) {
  std::wstring source = L"<html>源</html>";
  Formping f([&] { return source; });
  ASSERT_TRUE(f.Create(nullptr, kSourceCaption));
  Show(f.hwnd());
  EXPECT_EQ(GetFocus(), f.Text1());
  Key(WM_KEYDOWN, VK_F5);  // "open"
  EXPECT_EQ(WindowText(f.Text1()), source);
  Key(WM_KEYDOWN, VK_TAB);  // the address box is first in the order and comes round again
  EXPECT_EQ(GetFocus(), f.Text2());
  source = L"<html>又一页</html>";
  Key(WM_KEYDOWN, VK_RETURN);  // Enter in the address box runs the mode again
  EXPECT_EQ(WindowText(f.Text1()), source);
  {
    testing::InputAnswers answers;
    answers.Queue(L"又");
    BYTE keys[256], down[256];
    GetKeyboardState(keys);
    memcpy(down, keys, sizeof down);
    down[VK_CONTROL] = 0x80;
    SetKeyboardState(down);
    Key(WM_KEYDOWN, 'F');  // Ctrl+F: find
    SetKeyboardState(keys);
    EXPECT_EQ(answers.asked().size(), 1u);
  }
  DWORD a = 0, b = 0;
  SendMessageW(f.Text1(), EM_GETSEL, WPARAM(&a), LPARAM(&b));
  EXPECT_EQ(b - a, 1u);
  Key(WM_KEYDOWN, VK_ESCAPE);
  common::PumpMessages();
  EXPECT_FALSE(f.hwnd());
}

}  // namespace
}  // namespace corvane
