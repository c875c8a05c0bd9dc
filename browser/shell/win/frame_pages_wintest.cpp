// The favorites and the site groups in the running frame: its menus, its side panel and its commands.
#include <gtest/gtest.h>

#include "browser/pages/favorites.h"
#include "browser/pages/groups.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/formgroup.h"
#include "browser/shell/win/pages_menu.h"
#include "browser/pages/win/testing/input_answers.h"
#include "browser/shell/commands.h"
#include "browser/shell/win/frame_menus.h"
#include "browser/shell/win/testing/frame_fixture.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/pump.h"

namespace corvane {
namespace {
using testing::InputAnswers;

class FramePagesTest : public testing::Frame {
 protected:
  void File(const std::wstring& rel, const std::wstring& text) { dir.Write(rel, suite::Ansi(text)); }
  std::vector<std::wstring> Captions(HMENU menu, int from) {
    std::vector<std::wstring> texts;
    for (int i = from; i < GetMenuItemCount(menu); ++i) {
      wchar_t buf[256] = {};
      GetMenuStringW(menu, i, buf, 256, MF_BYPOSITION);
      texts.push_back(buf);
    }
    return texts;
  }
  HTREEITEM Node(const std::wstring& text) {
    HTREEITEM root = TreeView_GetRoot(frame->tvw());
    for (HTREEITEM c = TreeView_GetChild(frame->tvw(), root); c; c = TreeView_GetNextSibling(frame->tvw(), c)) {
      wchar_t buf[256] = {};
      TVITEMW it{};
      it.mask = TVIF_TEXT;
      it.hItem = c;
      it.pszText = buf;
      it.cchTextMax = 256;
      TreeView_GetItem(frame->tvw(), &it);
      if (text == buf) return c;
    }
    return nullptr;
  }
};

TEST_F(FramePagesTest, FavoritesMenuTreeAndDialogInTheFrame) {
  File(L"Favorites\\新浪.url", L"[InternetShortcut]\r\nURL=http://sina/\r\n");
  File(L"Favorites\\两个.url", L"url=http://one/\r\nURL=http://two/\r\n");
  FrmMain& f = Start();
  HMENU menu = f.menus().favorites;
  auto items = Captions(menu, kFavoritesFixedItems + 1);
  ASSERT_EQ(items.size(), 2u);
  // The menu item opens every "URL=" line of its file in a new window.
  int two = items[0] == L"两个" ? 0 : 1;
  f.Command(kFavoriteItemFirst + two);
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"about:blank", L"http://one/", L"http://two/"}));
  // Enter in the tree, through the frame's key routing, opens the selected node's address: it is not the
  // address box's Enter.
  HTREEITEM sina = Node(L"新浪");
  ASSERT_NE(sina, nullptr);
  TreeView_SelectItem(f.tvw(), sina);
  f.SetTextUrl(L"http://typed/");
  PostMessageW(f.tvw(), WM_KEYDOWN, VK_RETURN, 0);
  common::PumpMessages();
  EXPECT_EQ(Urls().back(), L"http://sina/");
  EXPECT_EQ(Urls().size(), 4u);

  // "添加到收藏夹" saves the active page; the menu and the tree are rebuilt after it.
  common::ui::SetModalHook([](common::ui::Window& w) {
    if (auto* d = dynamic_cast<FrmFavorites*>(&w)) {
      SetWindowTextW(d->txtTitle(), L"新的:页");
      common::ui::ClickControl(d->hwnd(), IDOK);
    }
  });
  f.SetTextUrl(L"http://added/");
  f.Command(kAddHome);
  EXPECT_EQ(suite::ReadText(dir.wpath() + L"\\Favorites\\新的：页.url"), FormatUrlFile(L"http://added/"));
  EXPECT_EQ(Captions(menu, kFavoritesFixedItems + 1).size(), 3u);
  EXPECT_NE(Node(L"新的：页"), nullptr);

  // "收藏夹目录" opens the folder with the system's program.
  f.Command(kSearchDir);
  ASSERT_FALSE(launched.empty());
  EXPECT_EQ(launched.back().file, dir.wpath() + L"\\Favorites\\");
}

TEST_F(FramePagesTest, SplitterResizesTheFramesSidePanel) {
  FrmMain& f = Start();
  f.Command(kShoucang);
  ASSERT_TRUE(f.sidePanel());
  int before = f.sidePanelWidth();
  int px = common::ui::Twips(f.hwnd(), 1050);
  SendMessageW(f.labLeft(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 10));
  SendMessageW(f.labLeft(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(px, 10));
  SendMessageW(f.labLeft(), WM_LBUTTONUP, 0, MAKELPARAM(px, 10));
  EXPECT_NEAR(f.sidePanelWidth(), before + 1000, 20);
}

TEST_F(FramePagesTest, GroupMenuSavesAllWindowsAndOpensThemAgain) {
  File(L"Group\\甲.txt", L"http://a/\r\n\r\nhttp://b/\r\n");
  FrmMain& f = Start();
  EXPECT_EQ(Captions(f.menus().group, kGroupFixedItems), std::vector<std::wstring>{L"甲"});
  f.Command(kGroupItemFirst);
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"about:blank", L"http://a/", L"http://b/"}));

  suite::MsgBoxAnswers boxes;
  InputAnswers input;
  input.Queue(L"全部");
  f.Command(kGroupSave);
  EXPECT_EQ(suite::ReadText(dir.wpath() + L"\\Group\\全部.txt"), L"http://a/\r\n\r\nhttp://b/\r\n\r\n");
  auto groups = Captions(f.menus().group, kGroupFixedItems);
  ASSERT_EQ(groups.size(), 2u);
  f.closeall();  // a blank page stays
  f.Command(kGroupItemFirst + (groups[0] == L"全部" ? 0 : 1));
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"about:blank", L"http://a/", L"http://b/"}));

  // The editor opens over the frame; a group deleted there leaves the menu when it closes.
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* g = dynamic_cast<Formgroup*>(&w);
    if (!g || !g->SelectGroup(L"甲")) return;
    boxes.Queue(IDOK);
    g->Toolbar1_ButtonClick(Formgroup::kDel);
    g->Close();
  });
  f.Command(kGroupSetup);
  EXPECT_EQ(Captions(f.menus().group, kGroupFixedItems), std::vector<std::wstring>{L"全部"});
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_EQ(boxes.shown()[0].text, GroupDeleteQuestion(L"甲"));
}

TEST_F(FramePagesTest, AGroupLargerThanTheWindowTableSaysWhatDidNotOpen) {
  std::wstring many;
  for (int i = 0; i < 52; ++i) many += L"http://s" + std::to_wstring(i) + L"/\r\n";
  File(L"Group\\大.txt", many);
  FrmMain& f = Start();  // the start page takes one window of the 51
  f.Command(kGroupItemFirst);
  EXPECT_EQ(f.table().count(), kMaxWindows);
  EXPECT_EQ(f.Panel(1), GroupNotOpenedStatus(L"大", 2));
}

}  // namespace
}  // namespace corvane
