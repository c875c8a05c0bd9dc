// The keyboard in the windows of favorites and groups: Tab, Alt+mnemonics, Enter, Esc and the editor's keys.
#include <gtest/gtest.h>

#include "browser/pages/win/formgroup.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/group_menu.h"
#include "browser/pages/win/input_box.h"
#include "browser/pages/win/testing/input_answers.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/pump.h"
#include "common/win/system.h"

namespace corvane {
namespace {

// Posts a key to the focused control and lets the program's key routing handle it.
void Key(UINT message, WPARAM key) {
  PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0);
  common::PumpMessages();
}

// Holds Ctrl down as the thread sees the keyboard.
class CtrlDown {
 public:
  CtrlDown() {
    GetKeyboardState(keys_);
    BYTE down[256];
    memcpy(down, keys_, sizeof down);
    down[VK_CONTROL] = down[VK_LCONTROL] = 0x80;
    SetKeyboardState(down);
  }
  ~CtrlDown() { SetKeyboardState(keys_); }

 private:
  BYTE keys_[256];
};

void Show(HWND w) {
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  common::PumpMessages();
}

TEST(PagesKeys, AddDialog) {
  suite::TempDir dir;
  std::wstring folder = dir.wpath() + L"\\";
  FrmFavorites d(folder);
  ASSERT_TRUE(d.Create(nullptr, L"http://a.cn/", L"甲"));
  Show(d.hwnd());
  EXPECT_EQ(GetFocus(), d.txtTitle());
  Key(WM_SYSCHAR, L'p');  // "网站地址(&P)："
  EXPECT_EQ(GetFocus(), d.txtUrl());
  Key(WM_SYSCHAR, L'u');
  EXPECT_EQ(GetFocus(), d.txtTitle());
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), d.txtUrl());
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(d.hwnd(), FrmFavorites::kCmdOK));
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(d.hwnd());
  EXPECT_FALSE(common::FileExists(folder + L"甲.url"));

  FrmFavorites e(folder);
  ASSERT_TRUE(e.Create(nullptr, L"http://a.cn/", L"甲"));
  Show(e.hwnd());
  Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(e.hwnd());
  EXPECT_TRUE(e.saved());
  EXPECT_TRUE(common::FileExists(folder + L"甲.url"));
}

TEST(PagesKeys, InputBox) {
  InputBox box;
  ASSERT_TRUE(box.Create(nullptr, L"请输入一个新的网站群组名称：", L"设置名称", L"默认"));
  Show(box.hwnd());
  EXPECT_EQ(GetFocus(), box.text());
  Key(WM_KEYDOWN, VK_RETURN);
  EXPECT_FALSE(box.hwnd());
  EXPECT_EQ(box.answer(), L"默认");
  InputBox other;
  ASSERT_TRUE(other.Create(nullptr, L"?", L"?", L"x"));
  Show(other.hwnd());
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(other.hwnd());
  EXPECT_EQ(other.answer(), L"");
}

TEST(PagesKeys, GroupEditor) {
  suite::TempDir dir;
  std::wstring folder = dir.wpath() + L"\\";
  ASSERT_TRUE(suite::WriteText(folder + L"甲.txt", L"http://a/\r\n"));
  suite::MsgBoxAnswers boxes;
  Formgroup f(folder);
  ASSERT_TRUE(f.Create(nullptr));
  Show(f.hwnd());
  EXPECT_EQ(GetFocus(), f.tvw());
  ASSERT_TRUE(f.SelectGroup(L"甲"));
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), f.Text1());
  Key(WM_KEYDOWN, VK_TAB);  // the text box passes Tab on instead of taking it
  EXPECT_EQ(GetFocus(), f.tvw());
  EXPECT_FALSE(f.changed());
  SetFocus(f.Text1());
  SendMessageW(f.Text1(), EM_SETSEL, 0, 0);
  Key(WM_CHAR, L'x');
  EXPECT_TRUE(f.changed());
  {
    CtrlDown ctrl;
    Key(WM_KEYDOWN, 'S');
  }
  EXPECT_FALSE(f.changed());
  EXPECT_EQ(suite::ReadText(folder + L"甲.txt"), L"xhttp://a/\r\n\r\n");
  SetFocus(f.tvw());
  boxes.Queue(IDCANCEL);
  Key(WM_KEYDOWN, VK_DELETE);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].title, L"删除确认");
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(f.hwnd());
}

// Opened as the program opens it, through its modal path: the editor's own keys still work there.
TEST(PagesKeys, GroupEditorKeysThroughTheProgramsModalPath) {
  suite::TempDir dir;
  std::wstring folder = dir.wpath() + L"\\group\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(suite::WriteText(folder + L"甲.txt", L"http://a/\r\n"));
  PagesHost host;
  host.appFolder = dir.wpath() + L"\\";
  GroupMenu menu;
  HMENU group = CreatePopupMenu();
  menu.Attach(group, 3200, 31, host);
  bool reached = false;
  testing::InputAnswers input([&](common::ui::Window& w) {
    auto* f = dynamic_cast<Formgroup*>(&w);
    ASSERT_NE(f, nullptr);
    Show(f->hwnd());
    ASSERT_TRUE(f->SelectGroup(L"甲"));
    SetFocus(f->Text1());
    SendMessageW(f->Text1(), EM_SETSEL, 0, 0);
    Key(WM_CHAR, L'x');
    {
      CtrlDown ctrl;
      Key(WM_KEYDOWN, 'S');  // save
    }
    EXPECT_FALSE(f->changed());
    {
      CtrlDown ctrl;
      Key(WM_KEYDOWN, 'N');  // a new group, named in the input box
    }
    EXPECT_EQ(f->SelectedGroup(), L"新组");
    ASSERT_TRUE(f->SelectGroup(L"甲"));
    SetFocus(f->tvw());
    Key(WM_KEYDOWN, VK_F2);  // rename
    EXPECT_EQ(f->SelectedGroup(), L"乙");
    reached = true;
    Key(WM_KEYDOWN, VK_ESCAPE);
  });
  input.Queue(L"新组");
  input.Queue(L"乙");
  menu.groupSetup();
  EXPECT_TRUE(reached);
  ASSERT_EQ(input.asked().size(), 2u);
  EXPECT_EQ(input.asked()[0].title, L"添加网站群组");
  EXPECT_EQ(input.asked()[1].title, L"网站群组改名");
  EXPECT_EQ(suite::ReadText(folder + L"乙.txt"), L"xhttp://a/\r\n\r\n");
  EXPECT_FALSE(common::FileExists(folder + L"甲.txt"));
  DestroyMenu(group);
}

TEST(PagesKeys, ALargeGroupCanStillBeTypedInto) {
  suite::TempDir dir;
  std::wstring folder = dir.wpath() + L"\\";
  std::wstring many;
  for (int i = 0; i < 10000; ++i) many += L"http://s" + std::to_wstring(10000 + i) + L".example.cn/\r\n";
  ASSERT_TRUE(suite::WriteText(folder + L"大.txt", many));
  Formgroup f(folder);
  ASSERT_TRUE(f.Create(nullptr));
  Show(f.hwnd());
  ASSERT_TRUE(f.SelectGroup(L"大"));
  int before = GetWindowTextLengthW(f.Text1());
  ASSERT_EQ(before, int(many.size()));
  SetFocus(f.Text1());
  SendMessageW(f.Text1(), EM_SETSEL, before, before);
  Key(WM_CHAR, L'x');
  EXPECT_EQ(GetWindowTextLengthW(f.Text1()), before + 1);
  EXPECT_TRUE(f.changed());
}

}  // namespace
}  // namespace corvane
