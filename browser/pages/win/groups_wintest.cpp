#include <gtest/gtest.h>

#include <algorithm>

#include "browser/pages/favorites.h"
#include "browser/pages/groups.h"
#include "browser/pages/win/favorites_files.h"
#include "browser/pages/win/formgroup.h"
#include "browser/pages/win/group_files.h"
#include "browser/pages/win/group_menu.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/pages/win/testing/input_answers.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using testing::InputAnswers;

class Groups : public ::testing::Test {
 protected:
  std::wstring folder() const { return dir.wpath() + L"\\group\\"; }
  void WriteGroupFile(const std::wstring& name, const std::wstring& text) {
    ASSERT_TRUE(suite::WriteText(folder() + name + L".txt", text));
  }
  std::optional<std::wstring> Read(const std::wstring& name) { return suite::ReadText(folder() + name + L".txt"); }
  std::wstring Text1() { return common::ui::WindowText(editor->Text1()); }
  void SetUp() override { CreateDirectoryW(folder().c_str(), nullptr); }
  void Type(const std::wstring& text) {
    int end = GetWindowTextLengthW(editor->Text1());
    SendMessageW(editor->Text1(), EM_SETSEL, end, end);
    SendMessageW(editor->Text1(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  Formgroup& Open() {
    editor = std::make_unique<Formgroup>(folder());
    EXPECT_TRUE(editor->Create(nullptr));
    return *editor;
  }
  std::vector<std::wstring> Nodes() {
    std::vector<std::wstring> texts;
    for (int i = 0; i < editor->NodeCount(); ++i) texts.push_back(editor->NodeText(i));
    return texts;
  }
  // Selects a node as a click does: the selection changes only when the question allows it.
  bool Click(const std::wstring& name) { return editor->SelectGroup(name); }

  suite::TempDir dir;
  std::unique_ptr<Formgroup> editor;
};

TEST_F(Groups, EditorShowsTheFolderAndLoadsAGroup) {
  WriteGroupFile(L"新闻", L"http://a.cn/\r\n\r\nhttp://b.cn/\r\n\r\n");
  WriteGroupFile(L"购物", L"http://shop.cn/\r\n");
  CreateDirectoryW((folder() + L"dir.txt").c_str(), nullptr);  // listed as the folder lists it
  dir.Write(L"group\\note.txtold", "x");
  Formgroup& f = Open();
  EXPECT_EQ(common::ui::WindowText(f.hwnd()), L"网站群组 设置");
  auto nodes = Nodes();
  ASSERT_EQ(nodes.size(), 4u);
  EXPECT_EQ(nodes[0], L"网站群组");
  EXPECT_EQ(std::count(nodes.begin(), nodes.end(), L"新闻"), 1);
  EXPECT_EQ(std::count(nodes.begin(), nodes.end(), L"dir"), 1);
  EXPECT_EQ(Text1(), L"");
  EXPECT_TRUE(GetWindowLongW(f.Text1(), GWL_STYLE) & ES_READONLY);  // nothing to keep under the root
  ASSERT_TRUE(Click(L"新闻"));
  EXPECT_EQ(Text1(), L"http://a.cn/\r\nhttp://b.cn/\r\n");
  EXPECT_FALSE(f.changed());
  EXPECT_FALSE(GetWindowLongW(f.Text1(), GWL_STYLE) & ES_READONLY);
  // The tool tips.
  std::vector<std::wstring> tips;
  for (int key = Formgroup::kBuild; key <= Formgroup::kCancel; ++key) {
    wchar_t buf[64] = {};
    SendMessageW(f.Toolbar1(), TB_GETBUTTONTEXTW, key, reinterpret_cast<LPARAM>(buf));
    tips.push_back(buf);
  }
  EXPECT_EQ(tips, (std::vector<std::wstring>{L"新建网站群组", L"网站群组改名", L"删除网站群组", L"保存网站群组",
                                             L"复制文本", L"剪切文本", L"粘贴文本", L"撤消文本修改"}));
}

TEST_F(Groups, NewGroupHasItsFileOnlyAfterSaving) {
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  Formgroup& f = Open();
  input.Queue(L"我的网站");
  f.Toolbar1_ButtonClick(Formgroup::kBuild);
  ASSERT_EQ(input.asked().size(), 1u);
  EXPECT_EQ(input.asked()[0].title, L"添加网站群组");
  EXPECT_EQ(input.asked()[0].prompt, L"请您输入新的网站群组名称：");
  EXPECT_EQ(input.asked()[0].value, L"新的群组");
  EXPECT_EQ(Nodes(), (std::vector<std::wstring>{L"网站群组", L"我的网站"}));
  EXPECT_EQ(f.SelectedGroup(), L"我的网站");
  EXPECT_FALSE(Read(L"我的网站"));
  Type(L"http://x.cn/\r\nhttp://y.cn/");
  EXPECT_TRUE(f.changed());
  f.Toolbar1_ButtonClick(Formgroup::kSave);
  EXPECT_FALSE(f.changed());
  EXPECT_EQ(Read(L"我的网站"), L"http://x.cn/\r\nhttp://y.cn/\r\n");
  // A group added and never saved is gone when the editor opens again.
  input.Queue(L"未保存");
  f.Toolbar1_ButtonClick(Formgroup::kBuild);
  EXPECT_EQ(f.NodeCount(), 3);
  Open();
  EXPECT_EQ(Nodes(), (std::vector<std::wstring>{L"网站群组", L"我的网站"}));
  // Cancel adds nothing.
  editor->Toolbar1_ButtonClick(Formgroup::kBuild);
  EXPECT_EQ(editor->NodeCount(), 2);
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Groups, ThirtyGroupsRefuseAThirtyFirst) {
  for (int i = 0; i < 29; ++i) WriteGroupFile(L"g" + std::to_wstring(i), L"http://a/\r\n");
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  Formgroup& f = Open();
  input.Queue(L"第三十个");
  f.Toolbar1_ButtonClick(Formgroup::kBuild);
  EXPECT_EQ(f.NodeCount(), 31);
  EXPECT_TRUE(boxes.shown().empty());
  f.Toolbar1_ButtonClick(Formgroup::kBuild);
  EXPECT_EQ(f.NodeCount(), 31);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"网站群组的总数不能超过三十个，您可以事先删除其他一些网站群组  ");
  EXPECT_EQ(boxes.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
  EXPECT_EQ(input.asked().size(), 1u);  // the name was not asked for
}

TEST_F(Groups, NamesThatLeaveTheFolderAreRefusedInNewAndRename) {
  WriteGroupFile(L"新闻", L"http://a.cn/\r\n");
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  Formgroup& f = Open();
  for (const wchar_t* bad : {L"..\\..\\evil", L"C:\\evil", L"a/b", L"x:y", L".."}) {
    input.Queue(bad);
    f.Toolbar1_ButtonClick(Formgroup::kBuild);
  }
  EXPECT_EQ(f.NodeCount(), 2);
  ASSERT_TRUE(Click(L"新闻"));
  for (const wchar_t* bad : {L"..\\..\\evil", L"..", L"CON"}) {
    input.Queue(bad);
    f.Toolbar1_ButtonClick(Formgroup::kRename);
  }
  EXPECT_EQ(Nodes(), (std::vector<std::wstring>{L"网站群组", L"新闻"}));
  EXPECT_TRUE(Read(L"新闻"));
  ASSERT_EQ(boxes.shown().size(), 8u);
  for (const auto& shown : boxes.shown()) EXPECT_EQ(shown.text.rfind(L"对不起！“ ", 0), 0u) << shown.text;
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\evil.txt"));
  EXPECT_FALSE(common::FileExists(dir.path().parent_path().wstring() + L"\\evil.txt"));
}

TEST_F(Groups, RenameMovesTheFileAndRefusesAnExistingName) {
  WriteGroupFile(L"新闻", L"http://a.cn/\r\n");
  WriteGroupFile(L"购物", L"http://shop.cn/\r\n");
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  Formgroup& f = Open();
  ASSERT_TRUE(Click(L"新闻"));
  input.Queue(L"购物");
  f.Toolbar1_ButtonClick(Formgroup::kRename);
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, GroupExistsMessage(L"购物"));
  EXPECT_EQ(Read(L"购物"), L"http://shop.cn/\r\n");
  EXPECT_EQ(f.SelectedGroup(), L"新闻");

  input.Queue(L"要闻");
  f.Toolbar1_ButtonClick(Formgroup::kRename);
  EXPECT_EQ(input.asked().back().title, L"网站群组改名");
  EXPECT_EQ(input.asked().back().value, L"新闻");
  EXPECT_EQ(f.SelectedGroup(), L"要闻");
  EXPECT_FALSE(Read(L"新闻"));
  EXPECT_EQ(Read(L"要闻"), L"http://a.cn/\r\n");
  input.Queue(L"要闻 ABC");
  f.Toolbar1_ButtonClick(Formgroup::kRename);
  input.Queue(L"要闻 abc");  // a change of letter case only
  f.Toolbar1_ButtonClick(Formgroup::kRename);
  EXPECT_EQ(f.SelectedGroup(), L"要闻 abc");
  auto listed = ListGroups(folder());
  EXPECT_EQ(listed.size(), 2u);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), L"要闻 abc"), 1);
  EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(Groups, DeleteAsksAndRemovesFileAndNode) {
  WriteGroupFile(L"新闻", L"http://a.cn/\r\n");
  suite::MsgBoxAnswers boxes;
  Formgroup& f = Open();
  f.Toolbar1_ButtonClick(Formgroup::kDel);  // the root: nothing
  EXPECT_TRUE(boxes.shown().empty());
  ASSERT_TRUE(Click(L"新闻"));
  boxes.Queue(IDCANCEL);
  f.Toolbar1_ButtonClick(Formgroup::kDel);
  EXPECT_TRUE(Read(L"新闻"));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"您确实要删除“ 新闻 ”吗？");
  EXPECT_EQ(boxes.shown()[0].title, L"删除确认");
  EXPECT_EQ(boxes.shown()[0].flags, UINT(MB_OKCANCEL | MB_ICONQUESTION));
  Type(L"unsaved");
  f.Toolbar1_ButtonClick(Formgroup::kDel);  // OK
  EXPECT_FALSE(Read(L"新闻"));
  EXPECT_EQ(f.NodeCount(), 1);
  EXPECT_EQ(Text1(), L"");
  EXPECT_EQ(boxes.shown().size(), 2u);  // no question about the deleted group's edits
}

TEST_F(Groups, ChangesAreAskedAboutWhenSwitching) {
  WriteGroupFile(L"甲", L"http://a/\r\n");
  WriteGroupFile(L"乙", L"http://b/\r\n");
  suite::MsgBoxAnswers boxes;
  Open();
  ASSERT_TRUE(Click(L"甲"));
  Type(L"http://a2/\r\n");
  boxes.Queue(IDYES);
  ASSERT_TRUE(Click(L"乙"));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"网站群组“ 甲 ”的内容已经改变，是否保存？");
  EXPECT_EQ(boxes.shown()[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(Read(L"甲"), L"http://a/\r\nhttp://a2/\r\n\r\n");
  EXPECT_EQ(Text1(), L"http://b/\r\n");
  Type(L"lost");
  boxes.Queue(IDNO);
  ASSERT_TRUE(Click(L"甲"));
  EXPECT_EQ(Read(L"乙"), L"http://b/\r\n");
  EXPECT_EQ(Text1(), L"http://a/\r\nhttp://a2/\r\n");
  ASSERT_TRUE(Click(L""));  // unchanged: nothing asked
  EXPECT_EQ(boxes.shown().size(), 2u);
}

TEST_F(Groups, ChangesAreAskedAboutWhenClosing) {
  WriteGroupFile(L"甲", L"http://a/\r\n");
  suite::MsgBoxAnswers boxes;
  Formgroup& f = Open();
  ASSERT_TRUE(Click(L"甲"));
  Type(L"http://more/");
  boxes.Queue(IDCANCEL);
  EXPECT_FALSE(f.Close());
  EXPECT_TRUE(IsWindow(f.hwnd()));
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"网站群组“ 甲 ”的内容已经改变，是否保存？");
  boxes.Queue(IDYES);
  SendMessageW(f.hwnd(), WM_COMMAND, IDCANCEL, 0);  // Esc
  EXPECT_FALSE(f.hwnd());
  EXPECT_EQ(Read(L"甲"), L"http://a/\r\nhttp://more/\r\n");

  Formgroup& g = Open();
  ASSERT_TRUE(Click(L"甲"));
  Type(L"dropped");
  boxes.Queue(IDNO);
  SendMessageW(g.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(g.hwnd());
  EXPECT_EQ(Read(L"甲"), L"http://a/\r\nhttp://more/\r\n");
  Formgroup& h = Open();  // nothing changed: closes without a word
  EXPECT_TRUE(h.Close());
  EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST_F(Groups, AFailedSaveKeepsTheEditorAndItsChanges) {
  WriteGroupFile(L"甲", L"http://a/\r\n");
  suite::MsgBoxAnswers boxes;
  Formgroup& f = Open();
  ASSERT_TRUE(Click(L"甲"));
  Type(L"x");
  // The group's file is held open without sharing: the new file cannot be moved over it.
  HANDLE lock = CreateFileW((folder() + L"甲.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  boxes.Queue(IDYES);
  EXPECT_FALSE(f.Close());
  CloseHandle(lock);
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_TRUE(f.changed());
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[1].text, GroupWriteFailedMessage(L"甲"));
}

// A second name of the old file (a hard link) keeps the old text when a save replaces the file, and sees
// the old text cut short when it is rewritten in place.
TEST_F(Groups, SavesReplaceTheFileInsteadOfRewritingIt) {
  WriteGroupFile(L"甲", L"http://old/\r\n");
  std::wstring link = dir.wpath() + L"\\old-group.txt";
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), (folder() + L"甲.txt").c_str(), nullptr));
  ASSERT_TRUE(WriteGroup(folder(), L"甲", L"http://new/\r\n").ok());
  EXPECT_EQ(Read(L"甲"), L"http://new/\r\n");
  EXPECT_EQ(suite::ReadText(link), L"http://old/\r\n");

  std::wstring favorites = dir.wpath() + L"\\Favorites\\";
  CreateDirectoryW(favorites.c_str(), nullptr);
  ASSERT_TRUE(suite::WriteText(favorites + L"页.url", FormatUrlFile(L"http://old/")));
  std::wstring favoriteLink = dir.wpath() + L"\\old-favorite.url";
  ASSERT_TRUE(CreateHardLinkW(favoriteLink.c_str(), (favorites + L"页.url").c_str(), nullptr));
  EXPECT_EQ(SaveFavorite(favorites, L"页", L"http://new/", [] { return true; }), SaveResult::kSaved);
  EXPECT_EQ(UrlAddresses(*suite::ReadText(favorites + L"页.url")), std::vector<std::wstring>{L"http://new/"});
  EXPECT_EQ(suite::ReadText(favoriteLink), FormatUrlFile(L"http://old/"));
}

TEST_F(Groups, TextButtonsAndUndo) {
  WriteGroupFile(L"甲", L"http://a/\r\n");
  Formgroup& f = Open();
  ASSERT_TRUE(Click(L"甲"));
  Type(L"http://typed/");
  EXPECT_EQ(Text1(), L"http://a/\r\nhttp://typed/");
  f.Toolbar1_ButtonClick(Formgroup::kCancel);
  EXPECT_EQ(Text1(), L"http://a/\r\n");
  SendMessageW(f.Text1(), EM_SETSEL, 0, 7);
  f.Toolbar1_ButtonClick(Formgroup::kMove);
  EXPECT_EQ(Text1(), L"a/\r\n");
  SendMessageW(f.Text1(), EM_SETSEL, 4, 4);
  f.Toolbar1_ButtonClick(Formgroup::kZhan);
  EXPECT_EQ(Text1(), L"a/\r\nhttp://");
  SendMessageW(f.Text1(), EM_SETSEL, 0, 2);
  f.Toolbar1_ButtonClick(Formgroup::kCopy);
  SendMessageW(f.Text1(), EM_SETSEL, 0, 0);
  f.Toolbar1_ButtonClick(Formgroup::kZhan);
  EXPECT_EQ(Text1(), L"a/a/\r\nhttp://");
}

// ---- the frame's group menu ----

class GroupMenuTest : public Groups {
 protected:
  void SetUp() override {
    Groups::SetUp();
    menu = CreatePopupMenu();  // the menu's own items, as the frame makes them
    AppendMenuW(menu, MF_STRING, 1, L"群组设置(&S)");
    AppendMenuW(menu, MF_STRING, 2, L"保存所有窗口为群组(&G)");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    host.appFolder = dir.wpath() + L"\\";
    host.open = [this](const std::wstring& url) {
      if (int(opened.size()) >= room) return false;
      opened.push_back(url);
      return true;
    };
    host.addresses = [this] { return windows; };
    host.status = [this](const std::wstring& text) { status = text; };
    groups.Attach(menu, kFirst, 31, host);
  }
  void TearDown() override { DestroyMenu(menu); }
  std::vector<std::wstring> Captions() {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t buf[256] = {};
      GetMenuStringW(menu, i, buf, 256, MF_BYPOSITION);
      texts.push_back(buf);
    }
    return texts;
  }
  MenuPicture Picture(int position) { return MenuPictureAt(menu, UINT(position)); }

  static constexpr int kFirst = 2200;
  HMENU menu = nullptr;
  PagesHost host;
  GroupMenu groups;
  std::vector<std::wstring> opened, windows;
  std::wstring status;
  int room = 51;
};

TEST_F(GroupMenuTest, ItemsPerGroupWithFolderPictures) {
  for (int i = 0; i < 33; ++i) WriteGroupFile(L"g" + std::to_wstring(100 + i), L"http://a/\r\n");
  groups.loadgroups();
  ASSERT_EQ(GetMenuItemCount(menu), 3 + 31);  // at most 31 groups in the menu
  ASSERT_EQ(groups.names().size(), 31u);
  EXPECT_EQ(Captions()[3], groups.names()[0]);
  EXPECT_EQ(Picture(2), MenuPicture::kNone);
  EXPECT_EQ(Picture(3), MenuPicture::kFolder);
  EXPECT_EQ(Picture(33), MenuPicture::kFolder);
  EXPECT_EQ(int(GetMenuItemID(menu, 33)), kFirst + 30);
  // A rebuild replaces the items.
  for (int i = 0; i < 30; ++i) DeleteFileW((folder() + L"g" + std::to_wstring(100 + i) + L".txt").c_str());
  WriteGroupFile(L"A&B", L"http://ab/\r\n");
  groups.loadgroups();
  auto captions = Captions();
  ASSERT_EQ(captions.size(), 3u + 4);
  EXPECT_EQ(Picture(6), MenuPicture::kFolder);
  EXPECT_NE(std::find(captions.begin(), captions.end(), L"A&&B"), captions.end());  // "&" shown, not a mnemonic
  auto names = groups.names();
  int item = int(std::find(names.begin(), names.end(), L"A&B") - names.begin());
  groups.GroupName_Click(item);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://ab/"});
  groups.GroupName_Click(4);  // no such item
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(GroupMenuTest, OpensEveryNonEmptyLineAndCountsWhatDidNotFit) {
  WriteGroupFile(L"甲", L"http://a/\r\n\r\n  \r\nhttp://b/\r\n\r\n");
  groups.opengroup(L"甲");
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://a/", L"http://b/"}));
  EXPECT_EQ(status, L"");
  groups.opengroup(L"无此群组");
  EXPECT_EQ(opened.size(), 2u);

  std::wstring many;
  for (int i = 0; i < 60; ++i) many += L"http://site" + std::to_wstring(i) + L"/\r\n";
  WriteGroupFile(L"大", many);
  opened.clear();
  room = 51;
  groups.opengroup(L"大");
  EXPECT_EQ(opened.size(), 51u);
  EXPECT_EQ(status, GroupNotOpenedStatus(L"大", 9));
}

TEST_F(GroupMenuTest, SaveAllWindowsThenOpenTheGroupAgain) {
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  windows = {L"http://a.cn/", L"about:blank", L"", L"http://b.cn/x?y=1"};
  input.Queue(L"工作");
  groups.groupSave();
  ASSERT_EQ(input.asked().size(), 1u);
  EXPECT_EQ(input.asked()[0].title, L"设置名称");
  EXPECT_EQ(input.asked()[0].prompt, L"请输入一个新的网站群组名称：");
  EXPECT_EQ(Read(L"工作"), L"http://a.cn/\r\n\r\nhttp://b.cn/x?y=1\r\n\r\n");
  EXPECT_EQ(groups.names(), std::vector<std::wstring>{L"工作"});
  groups.GroupName_Click(0);
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://a.cn/", L"http://b.cn/x?y=1"}));
  EXPECT_TRUE(boxes.shown().empty());
  groups.groupSave();  // Cancel
  EXPECT_EQ(input.asked().size(), 2u);
}

TEST_F(GroupMenuTest, SaveAllWindowsRefusesTakenAndBadNames) {
  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  windows = {L"http://new/"};
  WriteGroupFile(L"长", L"0123456789");  // 10 bytes: replaced without a word
  WriteGroupFile(L"满", L"0123456789A");
  input.Queue(L"长");
  groups.groupSave();
  EXPECT_EQ(Read(L"长"), L"http://new/\r\n\r\n");
  EXPECT_TRUE(boxes.shown().empty());
  input.Queue(L"满");
  groups.groupSave();
  EXPECT_EQ(Read(L"满"), L"0123456789A");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"对不起！网站群组“ 满 ”已经存在了，请你另外起个名字吧……    ");
  EXPECT_EQ(boxes.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
  input.Queue(L"..\\..\\evil");
  groups.groupSave();
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\evil.txt"));
  ASSERT_EQ(boxes.shown().size(), 2u);
  EXPECT_EQ(boxes.shown()[1].text, GroupNameRefusedMessage(L"..\\..\\evil"));
  // No limit of thirty here.
  for (int i = 0; i < 31; ++i) {
    input.Queue(L"g" + std::to_wstring(i));
    groups.groupSave();
  }
  EXPECT_EQ(ListGroups(folder()).size(), 33u);
  EXPECT_EQ(groups.names().size(), 31u);
}

}  // namespace
}  // namespace corvane
