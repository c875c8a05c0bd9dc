#include <gtest/gtest.h>

#include <algorithm>

#include "browser/pages/favorites.h"
#include "browser/pages/win/favorites_files.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/pages/win/module_favorites.h"
#include "browser/pages/win/panel_splitter.h"
#include "browser/pages/win/testing/input_answers.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/system.h"

namespace corvane {
namespace {

std::string Bytes(const std::wstring& text) { return suite::Ansi(text); }

class Favorites : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(folder().c_str(), nullptr);
    parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 400, nullptr, nullptr, nullptr, nullptr);
    tvw = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES, 0, 0, 300, 400, parent,
                          nullptr, nullptr, nullptr);
    menu = CreatePopupMenu();  // the menu's own items, as the frame makes them
    for (const wchar_t* text : {L"添加到收藏夹", L"刷新收藏夹", L"收藏夹目录", L"", L"甲", L"乙", L"实用网址", L""})
      AppendMenuW(menu, *text ? MF_STRING : MF_SEPARATOR, 100, text);
    host.appFolder = dir.wpath() + L"\\";
    host.open = [this](const std::wstring& url) {
      opened.push_back(url);
      return true;
    };
    host.activeUrl = [] { return std::wstring(L"http://www.sina.com.cn/"); };
    host.activeTitle = [this] { return title; };
    module = std::make_unique<ModuleFavorites>();
    module->Attach(menu, kFirst, tvw, host);
  }
  void TearDown() override {
    common::ui::SetModalHook(nullptr);
    module.reset();
    DestroyWindow(parent);
    DestroyMenu(menu);
  }
  std::wstring folder() const { return dir.wpath() + L"\\Favorites\\"; }
  void Favorite(const std::wstring& rel, const std::wstring& text) { dir.Write(L"Favorites\\" + rel, Bytes(text)); }
  std::optional<std::wstring> Read(const std::wstring& name) { return suite::ReadText(folder() + name + L".url"); }
  std::wstring Caption(int position) {
    wchar_t buf[256] = {};
    GetMenuStringW(menu, position, buf, 256, MF_BYPOSITION);
    return buf;
  }
  MenuPicture Picture(int position) { return MenuPictureAt(menu, UINT(position)); }
  std::wstring NodeText(HTREEITEM item) {
    wchar_t buf[256] = {};
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = item;
    it.pszText = buf;
    it.cchTextMax = 256;
    TreeView_GetItem(tvw, &it);
    return buf;
  }
  std::vector<std::wstring> Children(HTREEITEM parentItem) {
    std::vector<std::wstring> texts;
    for (HTREEITEM c = TreeView_GetChild(tvw, parentItem); c; c = TreeView_GetNextSibling(tvw, c))
      texts.push_back(NodeText(c));
    return texts;
  }
  // Answers the add dialog: title and address typed in, then OK.
  void AnswerAdd(const std::wstring& typedTitle) {
    common::ui::SetModalHook([typedTitle](common::ui::Window& w) {
      auto* d = dynamic_cast<FrmFavorites*>(&w);
      if (!d) return;
      SetWindowTextW(d->txtTitle(), typedTitle.c_str());
      PostMessageW(d->hwnd(), WM_COMMAND, IDOK, 0);
    });
  }

  static constexpr int kFirst = 2000;
  suite::TempDir dir;
  HWND parent = nullptr, tvw = nullptr;
  HMENU menu = nullptr;
  PagesHost host;
  std::unique_ptr<ModuleFavorites> module;
  std::vector<std::wstring> opened;
  std::wstring title = L"新浪首页";
};

TEST_F(Favorites, MenuHoldsAHundredAndOneTheTreeAll) {
  for (int i = 0; i < 102; ++i) Favorite(L"f" + std::to_wstring(1000 + i) + L".url", L"URL=http://s" + std::to_wstring(i) + L"/");
  module->buildfavorites();
  EXPECT_EQ(GetMenuItemCount(menu), 8 + 101);
  EXPECT_EQ(module->titles().size(), 101u);
  EXPECT_EQ(Picture(6), MenuPicture::kFolder);
  EXPECT_EQ(Picture(5), MenuPicture::kNone);
  EXPECT_EQ(Picture(7), MenuPicture::kNone);
  for (int i = 0; i < 101; ++i) {
    EXPECT_EQ(Picture(8 + i), MenuPicture::kPage) << i;
    EXPECT_EQ(int(GetMenuItemID(menu, 8 + i)), kFirst + i);
  }
  EXPECT_EQ(Caption(8 + 7), module->titles()[7]);
  EXPECT_EQ(TreeView_GetCount(tvw), 103u);
  HTREEITEM root = TreeView_GetRoot(tvw);
  EXPECT_EQ(NodeText(root), L"我的收藏");
  EXPECT_EQ(Children(root).size(), 102u);
  // A rebuild replaces the items rather than adding to them.
  DeleteFileW((folder() + L"f1000.url").c_str());
  module->RelaodDir();
  EXPECT_EQ(GetMenuItemCount(menu), 8 + 101);
  EXPECT_EQ(TreeView_GetCount(tvw), 102u);
}

TEST_F(Favorites, TheMenuLeavesOutFilesThatOpenNothingAsTheTreeDoes) {
  Favorite(L"无地址.url", L"[InternetShortcut]\r\nIconIndex=1\r\n");
  Favorite(L"有地址.url", L"[InternetShortcut]\r\nURL=http://a.cn/\r\n");
  module->buildfavorites();
  EXPECT_EQ(module->titles(), std::vector<std::wstring>{L"有地址"});
  EXPECT_EQ(GetMenuItemCount(menu), 8 + 1);
  EXPECT_EQ(Children(TreeView_GetRoot(tvw)).size(), 1u);
  module->MyFavorites_Click(0);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://a.cn/"});
}

TEST_F(Favorites, SubfoldersOneLevelDeepAndTwoAddresses) {
  Favorite(L"新闻\\新浪.url", L"[InternetShortcut]\r\nURL=http://sina/\r\n");
  Favorite(L"新闻\\更深\\隐藏.url", L"URL=http://deep/");
  Favorite(L"两个.url", L"[InternetShortcut]\r\nURL=http://x/\r\nIconIndex=0\r\nurl=http://y/\r\n");
  Favorite(L"文件夹.url\\里面.url", L"URL=http://inside/");  // a folder, not a favorite
  module->buildfavorites();
  HTREEITEM root = TreeView_GetRoot(tvw);
  auto top = Children(root);
  std::sort(top.begin(), top.end());
  EXPECT_EQ(top, (std::vector<std::wstring>{L"两个", L"两个", L"文件夹.url", L"新闻"}));
  EXPECT_EQ(module->titles(), std::vector<std::wstring>{L"两个"});
  for (size_t i = 0; i < module->nodes().size(); ++i) {
    const FavoriteNode& n = module->nodes()[i];
    if (n.text == L"新闻") {
      EXPECT_EQ(Children(module->Item(i)), std::vector<std::wstring>{L"新浪"});
      EXPECT_TRUE(TreeView_GetItemState(tvw, module->Item(i), TVIS_EXPANDED) & TVIS_EXPANDED);  // shown open
    }
    if (n.text == L"更深" || n.text == L"隐藏") ADD_FAILURE() << "a subfolder of a subfolder is shown";
  }
  module->MyFavorites_Click(0);  // two windows from one file
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://x/", L"http://y/"}));
  module->MyFavorites_Click(1);  // no such item
  EXPECT_EQ(opened.size(), 2u);
  DeleteFileW((folder() + L"两个.url").c_str());
  module->MyFavorites_Click(0);  // the file is gone: nothing opens
  EXPECT_EQ(opened.size(), 2u);
}

TEST_F(Favorites, ATreeNodeOpensItsAddress) {
  Favorite(L"新闻\\新浪.url", L"URL=http://sina/");
  Favorite(L"百度.url", L"URL=http://baidu/");
  module->buildfavorites();
  POINT nowhere{};
  for (size_t i = 0; i < module->nodes().size(); ++i) module->tvw_MouseUp(1, module->Item(i), nowhere);
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"http://baidu/", L"http://sina/"}));
  opened.clear();
  module->tvw_MouseUp(1, nullptr, nowhere);
  EXPECT_TRUE(opened.empty());
  // A click as the tree reports it: over the last node, which the rebuild scrolled into view.
  HTREEITEM last = module->Item(module->nodes().size() - 1);
  RECT r{};
  ASSERT_TRUE(TreeView_GetItemRect(tvw, last, &r, TRUE));
  ShowWindow(parent, SW_SHOWNOACTIVATE);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(tvw, &p);
  SetCursorPos(p.x, p.y);
  // A message taken from the queue gives the thread's message position: the cursor's.
  PostMessageW(parent, WM_NULL, 0, 0);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  NMHDR hdr{tvw, 0, UINT(NM_CLICK)};
  EXPECT_TRUE(module->tvw_Notify(&hdr));
  EXPECT_EQ(opened, std::vector<std::wstring>{KeyAddress(module->nodes().back().key)});
}

TEST_F(Favorites, TheDialogWritesTwoLinesThatAppearAfterTheRebuild) {
  module->buildfavorites();
  AnswerAdd(L"a/b:c?d\\e\"f\"");
  module->addhome();
  EXPECT_EQ(Read(L"a b：c？de＂f＂"), L"[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n");
  EXPECT_EQ(module->titles(), std::vector<std::wstring>{L"a b：c？de＂f＂"});
  EXPECT_EQ(Caption(8), L"a b：c？de＂f＂");
  EXPECT_EQ(Children(TreeView_GetRoot(tvw)), std::vector<std::wstring>{L"a b：c？de＂f＂"});
  AnswerAdd(L"CON");
  module->addhome();
  EXPECT_TRUE(Read(L"CON_"));
  AnswerAdd(L"...");
  module->addhome();
  EXPECT_TRUE(Read(L"．．．"));
  EXPECT_EQ(module->titles().size(), 3u);
}

TEST_F(Favorites, OverwriteIsAskedAboveTenBytes) {
  suite::MsgBoxAnswers boxes;
  dir.Write(L"Favorites\\小.url", "0123456789");
  dir.Write(L"Favorites\\大.url", "0123456789A");
  AnswerAdd(L"小");
  module->addhome();
  EXPECT_EQ(Read(L"小"), L"[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n");
  EXPECT_TRUE(boxes.shown().empty());
  boxes.Queue(IDCANCEL);
  AnswerAdd(L"大");
  module->addhome();
  EXPECT_EQ(Read(L"大"), L"0123456789A");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, L"同名收藏夹已经存在，是否覆盖？  ");
  EXPECT_EQ(boxes.shown()[0].flags, UINT(MB_OKCANCEL | MB_ICONQUESTION));
  AnswerAdd(L"大");
  module->addhome();  // OK
  EXPECT_EQ(Read(L"大"), L"[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n");
}

TEST_F(Favorites, DialogTextsTipsAndEmptyFields) {
  FrmFavorites d(folder());
  ASSERT_TRUE(d.Create(nullptr, L"http://www.sina.com.cn/", L"新浪首页"));
  EXPECT_EQ(common::ui::WindowText(d.hwnd()), L"添加到收藏夹");
  EXPECT_EQ(common::ui::WindowText(GetDlgItem(d.hwnd(), FrmFavorites::kHint)),
            L"《Corvane浏览器》 将把该页添加到您的收藏夹列表中……");
  EXPECT_EQ(common::ui::WindowText(d.txtTitle()), L"新浪首页");
  EXPECT_EQ(d.TipText(d.txtTitle()), L"新浪首页");
  EXPECT_EQ(d.TipText(d.txtUrl()), L"http://www.sina.com.cn/");
  SetWindowTextW(d.txtUrl(), L"");
  EXPECT_EQ(d.TipText(d.txtUrl()), L"");
  d.cmdOK_Click();  // an empty address: closed, nothing written
  EXPECT_FALSE(d.hwnd());
  EXPECT_FALSE(d.saved());
  EXPECT_TRUE(ListFolder(folder(), L"*").empty());
}

TEST_F(Favorites, AWriteThatFailsIsReportedAndTheDialogStays) {
  suite::MsgBoxAnswers boxes;
  RemoveDirectoryW(folder().c_str());  // no favorites folder
  FrmFavorites d(folder());
  ASSERT_TRUE(d.Create(nullptr, L"http://a.cn/", L"甲"));
  d.cmdOK_Click();
  EXPECT_TRUE(IsWindow(d.hwnd()));
  EXPECT_FALSE(d.saved());
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
  EXPECT_NE(boxes.shown()[0].text.find(L"“ 甲 ”"), std::wstring::npos);
  SetWindowTextW(d.txtTitle(), L"\x01\\");  // nothing of the title is left for a name
  d.cmdOK_Click();
  EXPECT_TRUE(IsWindow(d.hwnd()));
  ASSERT_EQ(boxes.shown().size(), 2u);
  // The title is what is wrong, not the folder.
  EXPECT_NE(boxes.shown()[1].text.find(L"网站名称"), std::wstring::npos) << boxes.shown()[1].text;
  EXPECT_EQ(boxes.shown()[1].text.find(L"目录"), std::wstring::npos) << boxes.shown()[1].text;
  CreateDirectoryW(folder().c_str(), nullptr);
  SetWindowTextW(d.txtTitle(), L"甲");
  d.cmdOK_Click();
  EXPECT_TRUE(d.saved());
  EXPECT_TRUE(Read(L"甲"));
}

TEST(SidePanelSplitter, DraggingWithTheLeftButtonResizesThePanel) {
  HWND frame = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 900, 600, nullptr, nullptr, nullptr, nullptr);
  HWND labLeft = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 200, 0, 4, 600, frame, nullptr, nullptr,
                                 nullptr);
  int width = 3000;
  std::vector<int> resized;
  {
    PanelSplitter splitter;
    splitter.Attach(labLeft, [&] { return width; }, [&](int w) { resized.push_back(width = w); });
    int px = common::ui::Twips(frame, 450);  // 450 twips right of the splitter's edge
    SendMessageW(labLeft, WM_MOUSEMOVE, 0, MAKELPARAM(px, 10));  // no button held: nothing
    EXPECT_TRUE(resized.empty());
    SendMessageW(labLeft, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
    SendMessageW(labLeft, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(px, 10));
    SendMessageW(labLeft, WM_LBUTTONUP, 0, MAKELPARAM(px, 10));
    ASSERT_EQ(resized.size(), 1u);
    EXPECT_NEAR(resized[0], 3400, 20);  // moved by the offset less 50 twips
    SendMessageW(labLeft, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(px, 10));  // released: nothing more
    EXPECT_EQ(resized.size(), 1u);
  }
  DestroyWindow(frame);
}

}  // namespace
}  // namespace corvane
