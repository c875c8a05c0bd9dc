// The frame's command surface under Wine with the engine double: address box, parent folders, search
// box and engines, drop-downs, toggles, page and system commands, the block-list editor.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "browser/pages/win/formnew.h"
#include "browser/shell/win/testing/frame_fixture.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/clipboard.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using testing::FakeEngine;
using testing::Frame;

constexpr char kSites[] =
    "webSearch1, https://www.baidu.com\r\n"
    "webSearch2, https://www.google.com\r\n"
    "webSearch3, www.sogou.com\r\n"
    "shopping1, https://www.taobao.com\r\n"
    "TestSpeed, https://speed.one.cn\r\n"
    "TestSpeed2, https://speed.two.cn\r\n"
    "search, https://dir.example.cn\r\n"
    "pps, https://pps.example.cn\r\n";

class Surface : public Frame {
 protected:
  FrmMain& StartWithSites(const std::wstring& cmd) {
    dir.Write(L"sys\\sites.txt", kSites);
    return Start(cmd);
  }
  bool ButtonEnabled(int id) { return SendMessageW(frame->toolbar(), TB_ISBUTTONENABLED, id, 0) != 0; }
  int ClientHeight() {
    RECT rc;
    GetWindowRect(frame->clientArea(), &rc);
    return rc.bottom - rc.top;
  }
  int ClientTop() {
    RECT rc;
    GetWindowRect(frame->clientArea(), &rc);
    return rc.top;
  }
  std::vector<std::wstring> MenuTexts(HMENU m) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      wchar_t t[256] = {};
      GetMenuStringW(m, i, t, 256, MF_BYPOSITION);
      texts.push_back(t);
    }
    return texts;
  }
};

TEST_F(Surface, TypedTextOpensAddressOrSearchInTheActivePage) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  for (auto [typed, opened] : std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>{
           {L"www.sina.com.cn", L"www.sina.com.cn"},
           {L"localhost:8080", L"localhost:8080"},
           {L"http://intranet", L"http://intranet"},
           {L"天气 预报", L"https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94%20%E9%A2%84%E6%8A%A5"}}) {
    f.SetTextUrl(typed);
    f.CmdGo_Click();
    EXPECT_EQ(Engine(1).navigations.back(), opened);
  }
  EXPECT_EQ(Engine(0).navigations.size(), 1u);  // the other page stays where it was
  EXPECT_EQ(f.table().count(), 2);
}

TEST_F(Surface, TypedLocalPathsWithBlanksAreOpenedNotSearched) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  for (const wchar_t* path : {L"C:\\Program Files\\x", L"\\\\server\\share", L"file:///C:/My Documents/readme"}) {
    f.SetTextUrl(path);
    f.CmdGo_Click();
    EXPECT_EQ(Engine(0).navigations.back(), path);
  }
}

TEST_F(Surface, AWordWithoutASearchSiteIsNotOpenedAsAHost) {
  dir.Write(L"sys\\sites.txt", "webSearch1, http://\r\n");  // no usable host
  FrmMain& f = Start(L"http://a.cn/");
  suite::MsgBoxAnswers boxes;
  f.SetTextUrl(L"天气");
  f.CmdGo_Click();
  EXPECT_EQ(Engine(0).navigations.back(), L"http://a.cn/");
  ASSERT_EQ(boxes.shown().size(), 1u);
  EXPECT_NE(boxes.shown()[0].text.find(L"webSearch1"), std::wstring::npos) << boxes.shown()[0].text;
  // An address still opens.
  f.SetTextUrl(L"www.sina.com.cn");
  f.CmdGo_Click();
  EXPECT_EQ(Engine(0).navigations.back(), L"www.sina.com.cn");
  EXPECT_EQ(boxes.shown().size(), 1u);
}

// The last toolbar button's right edge and the meters' left edge, in the frame's client pixels.
struct ToolbarEdges {
  int lastButton, meters, toolbar;
  bool metersShown;
};
ToolbarEdges Edges(FrmMain& f) {
  int n = int(SendMessageW(f.toolbar(), TB_BUTTONCOUNT, 0, 0));
  RECT button{}, bar{}, meter{};
  SendMessageW(f.toolbar(), TB_GETITEMRECT, n - 1, reinterpret_cast<LPARAM>(&button));
  MapWindowPoints(f.toolbar(), f.hwnd(), reinterpret_cast<POINT*>(&button), 2);
  GetClientRect(f.toolbar(), &bar);
  MapWindowPoints(f.toolbar(), f.hwnd(), reinterpret_cast<POINT*>(&bar), 2);
  GetWindowRect(f.picDown(), &meter);
  MapWindowPoints(nullptr, f.hwnd(), reinterpret_cast<POINT*>(&meter), 2);
  return {int(button.right), int(meter.left), int(bar.right), (GetWindowLongW(f.picDown(), GWL_STYLE) & WS_VISIBLE) != 0};
}

TEST_F(Surface, EveryToolbarButtonStaysInViewOnANarrowFrame) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  for (int width : {1100, 700, 560}) {
    SCOPED_TRACE(width);
    SetWindowPos(f.hwnd(), nullptr, 0, 0, width, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ToolbarEdges e = Edges(f);
    EXPECT_LE(e.lastButton, e.toolbar);  // the toolbar holds its last button whole
    if (e.metersShown) {
      EXPECT_LE(e.toolbar, e.meters);  // and no meter lies over it
    }
  }
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 1100, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(Edges(f).metersShown);  // with room, the meters are there
  // The frame does not go narrower than its buttons.
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 300, 500, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rc;
  GetClientRect(f.hwnd(), &rc);
  EXPECT_GE(rc.right, Edges(f).lastButton);
}

TEST_F(Surface, ParentFolderItemsAndUpDir) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  ASSERT_TRUE(Engine(0).Load(L"http://news.sina.com.cn/a/b/c.html", L"新闻"));
  EXPECT_EQ(f.upItems()[0], L"http://news.sina.com.cn/a/b/");
  EXPECT_TRUE(ButtonEnabled(kUpDir));
  EXPECT_EQ(MenuTexts(f.menus().up),
            (std::vector<std::wstring>{L"http://news.sina.com.cn/a/b/", L"http://news.sina.com.cn/a/",
                                       L"http://news.sina.com.cn/", L"http://www.sina.com.cn/"}));
  f.Command(kUp1 + 4);  // "Up5": the site's "www" name, in a new window
  ASSERT_EQ(f.table().count(), 2);
  EXPECT_EQ(Active().url, L"http://www.sina.com.cn/");
  EXPECT_EQ(f.upItems()[0], L"");  // the items follow the new window's address
  f.Lab_MouseDown(0, 1);
  f.Command(kUp1 + 3);  // "Up4" is hidden: nothing opens
  EXPECT_EQ(f.table().count(), 2);
  f.Command(kUp1 + 1);  // "Up2"
  ASSERT_EQ(f.table().count(), 3);
  EXPECT_EQ(Active().url, L"http://news.sina.com.cn/a/");
  f.Lab_MouseDown(0, 1);
  f.Command(kUpDir);  // item 1, in the active window
  EXPECT_EQ(Engine(0).navigations.back(), L"http://news.sina.com.cn/a/b/");
  EXPECT_EQ(f.table().count(), 3);
  // No folder: upDir is disabled and does nothing.
  f.SetTextUrl(L"http://news.sina.com");
  EXPECT_FALSE(ButtonEnabled(kUpDir));
  size_t before = Active().navigations.size();
  f.Command(kUpDir);
  EXPECT_EQ(Active().navigations.size(), before);
  // A blank page shows the prompt with the caret at its end.
  f.SetTextUrl(L"about:blank");
  EXPECT_EQ(f.TextUrl(), L"http://www.");
  EXPECT_FALSE(ButtonEnabled(kUpDir));
  EXPECT_EQ(GetMenuItemCount(f.menus().up), 0);
}

TEST_F(Surface, EngineMenuOpensOneWindowOrTwoAndEncodesTheWord) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  f.SetSearchText(L"");
  f.Command(kEngineFirst + 2);  // an empty box does nothing
  EXPECT_EQ(f.table().count(), 1);
  f.SetSearchText(L"   ");
  f.Command(kEngineFirst + 2);
  EXPECT_EQ(f.table().count(), 1);

  f.SetSearchText(L"中文 a&b");
  f.Command(kEngineFirst + 3);  // "【搜索】搜狗"
  EXPECT_EQ(Urls(),
            (std::vector<std::wstring>{L"http://a.cn/", L"http://www.sogou.com/web?query=%E4%B8%AD%E6%96%87%20a%26b"}));
  f.Command(kEngineFirst + 0);  // "【搜索】谷歌+百度": two windows, the default search site first
  ASSERT_EQ(f.table().count(), 4);
  EXPECT_EQ(Engine(f.table().NumberAt(2)).url, L"https://www.baidu.com/s?wd=%E4%B8%AD%E6%96%87%20a%26b");
  EXPECT_EQ(Engine(f.table().NumberAt(3)).url,
            L"https://www.google.com/search?hl=zh-CN&source=hp&q=%E4%B8%AD%E6%96%87%20a%26b");
  f.Command(kEngineFirst + 16);  // "【购物】淘宝网站": its fixed page
  EXPECT_EQ(Active().url, L"https://www.taobao.com/browse/cat-0.htm");
  // Every word searched joins the box's list, once.
  EXPECT_EQ(SendMessageW(f.combSearch(), CB_GETCOUNT, 0, 0), 1);

  suite::MsgBoxAnswers answers;
  f.Command(kEngineFirst + 8);  // a site the sites file does not name: said, nothing opens
  EXPECT_EQ(f.table().count(), 5);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_NE(answers.shown()[0].text.find(L"musicSearch2"), std::wstring::npos);
}

TEST_F(Surface, SiteItemsOpenTheirSites) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  f.Command(kMenuSiteFirst + 10);  // "宽带速度测试": two windows
  f.Command(kMenuSiteFirst + 19);  // "网站排名信息": the local page
  f.Command(kSearchSites);         // the toolbar button `search`
  f.Command(kSearchDropFirst);     // its drop-down item "网上搜索九国"
  f.Command(kFilmDropFirst + 9);   // "PPS 网络电视"
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"http://a.cn/", L"https://speed.one.cn/", L"https://speed.two.cn/gb/",
                                               dir.wpath() + L"\\pai.html", L"https://dir.example.cn/",
                                               L"https://dir.example.cn/search.htm", L"https://pps.example.cn/"}));
}

TEST_F(Surface, ToolbarButtonsInTheirPlacesWithTips) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  EXPECT_EQ(ToolbarPosition(f.toolbar(), kUpDir), 3);    // fourth
  EXPECT_EQ(ToolbarPosition(f.toolbar(), kCancel), 11);  // twelfth
  EXPECT_STREQ(ToolTipOf(kUpDir), L"上层目录");
  EXPECT_STREQ(ToolTipOf(kCancel), L"恢复关闭的网页");
  EXPECT_STREQ(ToolTipOf(kFilmSites), L"高清电影频道");
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(f.toolbar(), TB_GETTOOLTIPS, 0, 0));
  info.hdr.idFrom = kShoucang;
  info.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(f.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_TRUE(info.lpszText);
  EXPECT_STREQ(info.lpszText, L"网址收藏夹");
  // Back and forward follow the active page.
  EXPECT_FALSE(ButtonEnabled(kBack));
  Engine(0).sink()->CommandStateChange(2, true);
  EXPECT_TRUE(ButtonEnabled(kBack));
  EXPECT_FALSE(ButtonEnabled(kForward));
}

TEST_F(Surface, CloseDropDownKeys) {
  FrmMain& f = StartWithSites(L"http://p0/");
  for (int i = 1; i < 5; ++i) f.loadnewform(L"http://p" + std::to_wstring(i) + L"/");
  f.Lab_MouseDown(f.table().NumberAt(2), 1);
  f.Command(kCloseBoth);  // left, then right
  EXPECT_EQ(Urls(), std::vector<std::wstring>{L"http://p2/"});
  for (int i = 3; i < 6; ++i) f.loadnewform(L"http://p" + std::to_wstring(i) + L"/");
  f.Lab_MouseDown(f.table().NumberAt(1), 1);
  f.Command(kCloseRight);
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"http://p2/", L"http://p3/"}));
  f.Command(kCloseLeft);
  EXPECT_EQ(Urls(), std::vector<std::wstring>{L"http://p3/"});
  f.loadnewform(L"http://p6/");
  f.Command(kCloseMe);
  EXPECT_EQ(Urls(), std::vector<std::wstring>{L"http://p3/"});
  f.loadnewform(L"http://p7/");
  f.Command(kCloseAll);
  EXPECT_EQ(Urls(), std::vector<std::wstring>{L"about:blank"});
  EXPECT_EQ(MenuTexts(f.menus().close), (std::vector<std::wstring>{L"关闭当前网页", L"关闭全部网页", L"关闭右侧网页",
                                                                   L"关闭左侧网页", L"关闭两侧网页"}));
}

TEST_F(Surface, ClearClosedPagesAsksFirst) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  ASSERT_TRUE(Engine(1).Load(L"http://b.cn/", L"乙页"));
  f.delline();
  suite::MsgBoxAnswers answers;
  answers.Queue(IDCANCEL);
  f.Command(kClear);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"您确实要清除以上全部历史记录吗？   ");
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONQUESTION));
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_cap"), L"乙页");  // Cancel keeps the list
  EXPECT_EQ(GetMenuItemCount(f.cancelMenu()), 3);
  answers.Queue(IDOK);
  f.Command(kClear);
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_cap"), L"");
  EXPECT_EQ(GetMenuItemCount(f.cancelMenu()), 2);  // the separator and the clear item
}

TEST_F(Surface, TogglesLayTheFrameOutAgain) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  SetWindowPos(f.hwnd(), nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
  int top = ClientTop(), height = ClientHeight();
  f.Command(kAnniu);
  EXPECT_FALSE(GetWindowLongPtrW(f.toolbar(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_LT(ClientTop(), top);
  EXPECT_EQ(GetMenuState(f.menus().view, kAnniu, MF_BYCOMMAND) & MF_CHECKED, 0u);
  f.Command(kDizhi);
  EXPECT_FALSE(GetWindowLongPtrW(f.comb(), GWL_STYLE) & WS_VISIBLE);
  int noBars = ClientTop();
  EXPECT_LT(noBars, top);
  f.Command(kZhuangtai);
  EXPECT_GT(ClientHeight(), height);
  f.Command(kFullScreen);  // the address strip is hidden: full screen shows both bars again
  EXPECT_EQ(ClientTop(), top);
  EXPECT_TRUE(f.toolbarShown() && f.pictShown());
  f.Command(kFullScreen);
  EXPECT_EQ(ClientTop(), noBars);
  EXPECT_EQ(GetMenuState(f.menus().view, kDizhi, MF_BYCOMMAND) & MF_CHECKED, 0u);
  int width = 0;
  {
    RECT rc;
    GetWindowRect(f.clientArea(), &rc);
    width = rc.right - rc.left;
  }
  f.Command(kShoucang);  // the side panel takes its share of the width
  EXPECT_TRUE(f.sidePanel());
  EXPECT_TRUE(GetWindowLongPtrW(f.tvw(), GWL_STYLE) & WS_VISIBLE);
  RECT rc;
  GetWindowRect(f.clientArea(), &rc);
  EXPECT_LT(rc.right - rc.left, width);
}

TEST_F(Surface, PageCommandsReachTheEngineWithTheirNumbers) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  for (int id :
       {kCopy, kCut, kPaste, kSelectAll, kPrint, kPrintSet, kPreview, kSaveAs, kBack, kForward, kStop, kRefresh})
    f.Command(id);
  EXPECT_EQ(Engine(0).calls, (std::vector<std::wstring>{L"ExecWB 12 2", L"ExecWB 11 2", L"ExecWB 13 2", L"ExecWB 17 2",
                                                        L"ExecWB 6 0", L"ExecWB 8 0", L"ExecWB 7 1", L"ExecWB 4 0",
                                                        L"GoBack", L"GoForward", L"Stop", L"Refresh"}));
  f.Command(kHome);
  EXPECT_LT(Engine(0).scrolled, -1000000);
  ASSERT_TRUE(Engine(0).Load(L"http://a.cn/x", L"甲页"));
  f.Command(kCopyTitle);
  EXPECT_EQ(common::GetClipboardText(), L"甲页");
  f.Command(kCopyUrl);
  EXPECT_EQ(common::GetClipboardText(), L"http://a.cn/x");
  f.SetPanel(7, L"远程主机IP地址： 10.1.2.3");
  f.Stat_PanelClick(7);
  EXPECT_EQ(common::GetClipboardText(), L"10.1.2.3");
  f.SetPanel(7, L"本机IP地址： 192.168.0.9");
  f.Stat_PanelClick(7);
  EXPECT_EQ(common::GetClipboardText(), L"192.168.0.9");
}

TEST_F(Surface, SelectionReachesTheSearchBoxAndTheClipboardKeepsItsPicture) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  // A picture on the clipboard, as a user may have copied one.
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  ASSERT_TRUE(SetClipboardData(CF_BITMAP, picture));
  CloseClipboard();
  Engine(0).selection = L"选中的文字";
  SetFocus(f.combSearch());
  EXPECT_EQ(f.SearchText(), L"选中的文字");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  // No selection: the box keeps what it holds.
  Engine(0).selection.clear();
  SetFocus(f.comb());
  SetFocus(f.combSearch());
  EXPECT_EQ(f.SearchText(), L"选中的文字");
}

TEST_F(Surface, ShutdownAsksFirstAndOtherSystemCommands) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  suite::MsgBoxAnswers answers;
  answers.Queue(IDCANCEL);
  f.Command(kTurnOff);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONQUESTION));
  EXPECT_EQ(answers.shown()[0].flags & MB_TYPEMASK, UINT(MB_OKCANCEL));
  EXPECT_TRUE(launched.empty());
  answers.Queue(IDOK);
  f.Command(kTurnOff);
  ASSERT_EQ(launched.size(), 1u);
  EXPECT_EQ(launched[0].file, common::GetSystemFolder() + L"\\shutdown.exe");
  EXPECT_EQ(launched[0].params, L"-s -f -t 00");
  f.Command(kInternet);
  EXPECT_EQ(launched[1].file, common::GetSystemFolder() + L"\\rundll32.exe");
  EXPECT_EQ(launched[1].params, L"shell32.dll,Control_RunDLL inetcpl.cpl,,0");
  f.Command(kMyPc);
  EXPECT_EQ(launched[2].params, L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  f.Command(kMail);
  EXPECT_EQ(launched[3].file, L"mailto:");
  f.Command(kHelp);
  EXPECT_EQ(Active().url, dir.wpath() + L"\\sys\\navigation.htm");
  // The offline switch reaches every page at once.
  f.Command(kOffnet);
  EXPECT_TRUE(f.offnet());
  EXPECT_TRUE(Engine(0).offline);
}

// The block-list editor, answered through the modal hook.
TEST_F(Surface, BlockListEditorAddsTheCurrentAddressAndTheRuleFollows) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  dir.Write(L"guanggao.txt", "http://old.cn/ad.htm\r\n");
  f.SetTextUrl(L"http://ad.cn/pop.htm");
  std::vector<std::wstring> shownItems;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* editor = dynamic_cast<Formnew*>(&w);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(common::ui::WindowText(w.hwnd()), L"广告网页的阻止列表");
    EXPECT_EQ(common::ui::WindowText(editor->Text2()), L"http://ad.cn/pop.htm");
    shownItems = editor->Items();
    common::ui::ClickControl(w.hwnd(), Formnew::kCommand1);
  });
  f.Command(kBlockList);
  EXPECT_EQ(shownItems, std::vector<std::wstring>{L"http://old.cn/ad.htm"});
  EXPECT_EQ(*suite::ReadText(dir.wpath() + L"\\guanggao.txt"),
            L"http://old.cn/ad.htm\r\nhttp://ad.cn/pop.htm\r\n");
  // The next pop-up meets the new list.
  auto* popup = static_cast<FakeEngine*>(Engine(0).sink()->NewWindow2());
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(popup->Load(L"http://ad.cn/pop.htm", L"广告"));
  EXPECT_TRUE(suite::PumpUntil([&] { return f.table().count() == 1; }, 2000));
  popup = static_cast<FakeEngine*>(Engine(0).sink()->NewWindow2());
  EXPECT_TRUE(popup->Load(L"http://ad.cn/pop.htm2", L"不是广告"));
  suite::PumpFor(50);
  EXPECT_EQ(f.table().count(), 2);
  // Delete: the selected line goes, the dialog closes.
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* editor = dynamic_cast<Formnew*>(&w);
    SendMessageW(editor->List1(), LB_SETCURSEL, 0, 0);
    common::ui::ClickControl(w.hwnd(), Formnew::kCommand2);
  });
  f.Command(kBlockList);
  EXPECT_EQ(*suite::ReadText(dir.wpath() + L"\\guanggao.txt"), L"http://ad.cn/pop.htm\r\n");
}

TEST_F(Surface, FailedBlockListWriteKeepsTheOldFileAndSaysSo) {
  FrmMain& f = StartWithSites(L"http://a.cn/");
  std::wstring file = dir.Write(L"guanggao.txt", "http://old.cn/ad.htm\r\n");
  // The file cannot be replaced: it is read-only.
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  suite::MsgBoxAnswers answers;
  bool stayed = false;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    common::ui::ClickControl(w.hwnd(), Formnew::kCommand1);
    // The editor stays for another try; its own close ends it.
    stayed = IsWindow(w.hwnd());
    common::ui::ClickControl(w.hwnd(), Formnew::kCommand3);
  });
  f.Command(kBlockList);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(*suite::ReadText(dir.wpath() + L"\\guanggao.txt"), L"http://old.cn/ad.htm\r\n");
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_NE(answers.shown()[0].text.find(file), std::wstring::npos);
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));
  EXPECT_EQ(f.blocks().size(), 1u);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(LocalPages, EveryLocalPageOfTheMenusIsShippedBesideTheProgram) {
  std::vector<std::wstring> pages{suite::BinFolder() + L"sys\\navigation.htm"};  // "帮助主题(&S)..."
  SiteHosts none;
  for (auto table : {MenuSites(), SearchDropSites(), FilmDropSites()})
    for (const SiteItem& s : table)
      for (const SiteLink& l : s.links)
        if (l.path && !l.site) pages.push_back(*none.Address(l, suite::BinFolder()));
  ASSERT_EQ(pages.size(), 3u);  // the help page and the two site-ranking items
  for (const auto& page : pages) {
    auto text = suite::ReadText(page);
    ASSERT_TRUE(text) << page;
    EXPECT_NE(text->find(L"<title>"), std::wstring::npos) << page;
    EXPECT_NE(text->find(L"</html>"), std::wstring::npos) << page;
  }
}

TEST(SitesFile, ShippedFileNamesEverySite) {
  auto text = suite::ReadText(suite::BinFolder() + kSitesFile);
  ASSERT_TRUE(text);
  SiteHosts hosts;
  EXPECT_EQ(hosts.Load(*text), 0);
  auto check = [&](const SiteLink& link) {
    if (link.site) {
      EXPECT_TRUE(hosts.Base(link.site)) << link.site;
    }
  };
  for (const EngineItem& e : EngineItems())
    for (const SiteLink& l : e.links) check(l);
  for (auto table : {MenuSites(), SearchDropSites(), FilmDropSites()})
    for (const SiteItem& s : table)
      for (const SiteLink& l : s.links) check(l);
  check(SearchButtonSite());
  check(FilmButtonSite());
  check({kStartSite, L"/"});
}

}  // namespace
}  // namespace corvane
