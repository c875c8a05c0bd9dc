#include "browser/shell/win/frm_main.h"
#include <winsock2.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "browser/pages/open_pages.h"
#include "browser/pages/win/formask.h"
#include "browser/shell/win/exit_dialog.h"
#include "browser/shell/win/ip_lookup.h"
#include "common/win/ui/modal.h"
#include "browser/shell/win/testing/frame_fixture.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/clipboard.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"

namespace corvane {
namespace {
using testing::ClearSettings;
using testing::FakeEngine;
using testing::Frame;

std::wstring ScreenSaver() {
  return common::ReadRegString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"ScreenSaveActive");
}

TEST_F(Frame, FirstRunWritesDefaultsAndStartPage) {
  ClearSettings();
  dir.Write(L"first.dat", "installed by setup");
  dir.Write(L"sys\\sites.txt", suite::Ansi(L"; 主页\r\nstartSite, https://start.example.cn\r\n"));
  FrmMain& f = Start();
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\first.dat"));
  EXPECT_EQ(common::GetSetting(kApp, L"first", L"load"), L"SoftLoad");
  EXPECT_EQ(common::GetSetting(kApp, L"unload", L"askme"), L"0");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"startRadio"), L"0");
  EXPECT_EQ(common::GetSetting(L"RororAreze", L"rororAreze", L"RadioIndex"), L"2");
  std::wstring start = common::GetSetting(kApp, L"myie", L"Start");
  EXPECT_EQ(start, L"https://start.example.cn/");
  ASSERT_EQ(f.table().count(), 1);
  EXPECT_EQ(Engine(0).navigations, std::vector<std::wstring>{start});
  EXPECT_EQ(ScreenSaver(), L"0");
  EXPECT_TRUE(common::FolderExists(dir.wpath() + L"\\Favorites"));
  EXPECT_TRUE(common::FolderExists(dir.wpath() + L"\\Temp"));
}

TEST_F(Frame, CommandLineOfQuotesOnlyOpensStartPage) {
  FrmMain& f = Start(L"\"\"");
  ASSERT_EQ(f.table().count(), 1);
  EXPECT_EQ(Engine(0).url, L"about:blank");
  EXPECT_EQ(Caption(), L"Corvane安全浏览器");
}

TEST_F(Frame, OpensSwitchesAndClosesTabs) {
  FrmMain& f = Start(L"\"http://a.cn/\"");
  ASSERT_TRUE(Engine(0).Load(L"http://a.cn/", L"甲页"));
  EXPECT_EQ(Caption(), L"甲页 - Corvane安全浏览器");
  f.loadnewform(L"http://b.cn/");
  ASSERT_TRUE(Engine(1).Load(L"http://b.cn/", L"乙页"));
  f.Lab_MouseDown(0, 1);
  f.loadnewform(L"http://c.cn/");  // right of the active tab
  ASSERT_TRUE(Engine(2).Load(L"http://c.cn/", L"丙页"));
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0, 2, 1}));
  EXPECT_EQ(f.table().ActiveNumber(), 2);
  EXPECT_TRUE(f.strip().labels()[2].active);
  EXPECT_FALSE(f.strip().labels()[0].active);

  f.Lab_MouseDown(1, 1);
  EXPECT_EQ(f.table().active(), 2);
  EXPECT_EQ(Caption(), L"乙页 - Corvane安全浏览器");
  EXPECT_EQ(f.TextUrl(), L"http://b.cn/");

  f.Command(kCloseMe);  // the last tab: its left neighbour takes over
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0, 2}));
  EXPECT_EQ(f.table().ActiveNumber(), 2);
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_cap"), L"乙页");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_url"), L"http://b.cn/");
  EXPECT_EQ(common::GetSetting(kApp, L"CancelPage", L"Count"), L"1");

  auto pages = PagesFile();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].caption, L"甲页");
  EXPECT_EQ(pages[1].url, L"http://c.cn/");

  f.Command(kUr1);  // reopen: a new tab with the page, the list moves up
  EXPECT_EQ(f.table().count(), 3);
  EXPECT_EQ(Engine(f.table().ActiveNumber()).url, L"http://b.cn/");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_cap"), L"");

  f.closeall();
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0}));
  EXPECT_EQ(Engine(0).url, L"about:blank");
  EXPECT_EQ(f.TextUrl(), L"http://www.");
  f.delline();  // the only window stays, blank
  EXPECT_EQ(f.table().count(), 1);
  Engine(0).sink()->DownloadComplete();
  EXPECT_TRUE(PagesFile().empty());
}

TEST_F(Frame, PageEventsWriteStatusOnlyForTheActivePage) {
  FrmMain& f = Start(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  FakeEngine& back = Engine(0);
  back.sink()->StatusTextChange(L"后台");
  back.sink()->ProgressChange(50, 100);
  EXPECT_NE(f.Panel(1), L"后台");
  EXPECT_NE(f.Panel(3), L"50%");
  Engine(1).sink()->StatusTextChange(L"前台");
  Engine(1).sink()->ProgressChange(30, 120);
  EXPECT_EQ(f.Panel(1), L"前台");
  EXPECT_EQ(f.Panel(3), L"25%");
  for (int i = 0; i < 10; ++i) f.Timer3Tick();
  const TabLabels& l = f.strip().labels()[1];
  EXPECT_EQ(l.upWidth, l.width * 25 / 100);
  EXPECT_TRUE(l.upVisible);
  f.Lab_MouseDown(0, 1);
  EXPECT_EQ(f.Panel(1), L"后台");  // the stored texts come back with the tab
  Engine(0).sink()->DownloadBegin();
  EXPECT_TRUE(Engine(0).silent);
  EXPECT_EQ(f.Panel(1), L"正在开启……");
  Engine(0).title = std::wstring(130, L'长');
  Engine(0).sink()->TitleChange(L"");
  EXPECT_EQ(f.strip().labels()[0].caption.size(), 100u);
  EXPECT_EQ(Caption(), std::wstring(100, L'长') + L" - Corvane安全浏览器");
}

TEST_F(Frame, BlockedPopupIsClosedAfterItsEventAndOthersLive) {
  dir.Write(L"guanggao.txt", "http://ad.cn/pop.htm\r\n\r\n");
  FrmMain& f = Start(L"http://a.cn/");
  int closedDuringEvent = FakeEngine::closedDuringEvent;
  PageEngine* popup = Engine(0).sink()->NewWindow2();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(f.table().count(), 2);
  EXPECT_TRUE(f.newWindowPending);
  auto* fake = static_cast<FakeEngine*>(popup);
  EXPECT_TRUE(fake->registered);
  EXPECT_FALSE(fake->Load(L"HTTP://AD.CN/POP.HTM", L"广告"));  // cancelled
  EXPECT_FALSE(fake->closed);                                  // the control outlives its own event
  EXPECT_TRUE(suite::PumpUntil([&] { return f.table().count() == 1; }, 2000));
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0}));
  EXPECT_EQ(FakeEngine::closedDuringEvent, closedDuringEvent);
  popup = Engine(0).sink()->NewWindow2();
  ASSERT_NE(popup, nullptr);
  fake = static_cast<FakeEngine*>(popup);
  EXPECT_TRUE(fake->Load(L"http://ad.cn/pop.htm?x=1", L"正常"));
  EXPECT_EQ(f.table().count(), 2);
  EXPECT_FALSE(f.newWindowPending);
  f.Lab_MouseDown(0, 1);
  fake->CloseByScript();  // a background page closes itself, not the active one
  EXPECT_EQ(f.table().count(), 2);
  EXPECT_TRUE(suite::PumpUntil([&] { return f.table().count() == 1; }, 2000));
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0}));
  EXPECT_EQ(FakeEngine::closedDuringEvent, closedDuringEvent);
}

TEST_F(Frame, ListedFrameIsCancelledAloneAndTheTabStays) {
  dir.Write(L"guanggao.txt", "http://ad.cn/frame.htm\r\n");
  FrmMain& f = Start(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  ASSERT_TRUE(Engine(1).Load(L"http://b.cn/", L"乙页"));
  EXPECT_TRUE(Engine(1).LoadFrame(L"http://ad.cn/frame.htm"));   // the frame is cancelled
  EXPECT_FALSE(Engine(1).LoadFrame(L"http://ok.cn/frame.htm"));  // others load
  suite::PumpFor(100);
  EXPECT_EQ(f.table().count(), 2);
  EXPECT_EQ(Engine(1).url, L"http://b.cn/");
  EXPECT_EQ(Caption(), L"乙页 - Corvane安全浏览器");
}

TEST_F(Frame, OnlyPageClosedByScriptStaysBlankAndListens) {
  FrmMain& f = Start(L"http://a.cn/");
  Engine(0).CloseByScript();
  EXPECT_TRUE(suite::PumpUntil([&] { return Engine(0).url == L"about:blank"; }, 2000));
  EXPECT_EQ(f.table().count(), 1);
  ASSERT_TRUE(Engine(0).Load(L"http://c.cn/", L"丙页"));  // it still reports its pages
  EXPECT_EQ(Caption(), L"丙页 - Corvane安全浏览器");
}

TEST_F(Frame, FullTableRefusesNewWindows) {
  FrmMain& f = Start(L"http://a.cn/");
  for (int i = 1; i < kMaxWindows; ++i) ASSERT_NE(f.loadnewform(L"http://n" + std::to_wstring(i) + L"/"), nullptr);
  EXPECT_EQ(f.table().count(), kMaxWindows);
  EXPECT_EQ(f.loadnewform(L"http://more/"), nullptr);
  EXPECT_EQ(Engine(3).sink()->NewWindow2(), nullptr);  // the page's request is cancelled
  EXPECT_EQ(f.table().count(), kMaxWindows);
  f.closeall();
  EXPECT_EQ(f.table().count(), 1);
  EXPECT_NE(f.loadnewform(L"http://again/"), nullptr);
}

TEST_F(Frame, LateEventsOfAClosedPageTouchNothing) {
  FrmMain& f = Start(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  Formweb* closedPage = f.PageAt(1);
  EngineEvents* late = closedPage;  // still alive until its events have returned
  f.delline();
  f.loadnewform(L"http://c.cn/");  // takes number 1 again
  ASSERT_NE(f.PageAt(1), closedPage);
  Engine(1).Load(L"http://c.cn/", L"丙页");
  late->TitleChange(L"旧页");
  late->StatusTextChange(L"旧状态");
  late->ProgressChange(10, 100);
  late->WindowClosing();
  EXPECT_TRUE(late->BeforeNavigate2(L"http://old/", true));
  EXPECT_EQ(late->NewWindow2(), nullptr);
  EXPECT_EQ(f.table().count(), 2);
  EXPECT_EQ(f.strip().labels()[1].caption, L"丙页");
  EXPECT_NE(f.Panel(1), L"旧状态");
  suite::PumpFor(50);  // the closed page is freed now
}

TEST_F(Frame, ConfirmedExitEmptiesTempAndTurnsScreenSaverBackOn) {
  FrmMain& f = Start(L"http://a.cn/");
  Engine(0).Load(L"http://a.cn/", L"甲页");
  ASSERT_FALSE(PagesFile().empty());
  dir.Write(L"temp\\other.tmp", "x");
  int asked = 0;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* d = dynamic_cast<ExitDialog*>(&w);
    ASSERT_NE(d, nullptr);
    ++asked;
    EXPECT_EQ(common::ui::WindowText(w.hwnd()), L"退出浏览器");
    EXPECT_EQ(common::ui::WindowText(d->Text1()), L"本次上网时间统计： 0 分钟。");
    common::ui::ClickControl(w.hwnd(), asked == 1 ? ExitDialog::kCancelButton : ExitDialog::kAskMe);
    if (asked > 1) common::ui::ClickControl(w.hwnd(), ExitDialog::kOKButton);
  });
  EXPECT_FALSE(f.QueryUnload());  // cancelled: nothing changes
  EXPECT_TRUE(IsWindow(f.hwnd()));
  EXPECT_EQ(ScreenSaver(), L"0");
  EXPECT_TRUE(f.QueryUnload());
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(f.hwnd());
  EXPECT_TRUE(f.quit());
  EXPECT_EQ(common::GetSetting(kApp, L"unload", L"askme"), L"1");
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"Pictleft"), L"0");
  EXPECT_EQ(ScreenSaver(), L"1");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "temp"));
}

TEST_F(Frame, RestoreDialogOnlyForElevenBytesOrMore) {
  int shown = 0;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto* ask = dynamic_cast<Formask*>(&w);
    ASSERT_NE(ask, nullptr);
    ++shown;
    EXPECT_EQ(common::ui::WindowText(w.hwnd()), L"上次启动页面");
    ASSERT_EQ(ask->lvw().Count(), 2);
    EXPECT_EQ(ask->lvw().Text(0, 0), L"新闻");
    common::ui::ClickControl(w.hwnd(), Formask::kCommand3);
    EXPECT_TRUE(ask->Checked(1));
    common::ui::ClickControl(w.hwnd(), Formask::kCommand4);
    ask->SetChecked(1, true);
    common::ui::ClickControl(w.hwnd(), Formask::kCommand1);
  });
  dir.Write(L"temp\\page.his", "0123456789");
  Start();
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(Engine(0).url, L"about:blank");
  frame.reset();
  dir.Write(L"temp\\page.his",
            suite::Ansi(FormatOpenPages({{L"新闻", L"http://news.cn/"}, {L"体育", L"http://sports.cn/"}})));
  FrmMain& f = Start();
  EXPECT_EQ(shown, 1);
  ASSERT_EQ(f.table().count(), 1);  // only the checked page, no start page
  EXPECT_EQ(Engine(0).url, L"http://sports.cn/");
}

TEST_F(Frame, RestoreWithNothingTickedOpensStartPage) {
  common::SaveSetting(kApp, L"myie", L"Start", L"http://home.cn/");
  size_t offered = 1;  // a page offered, none ticked; then a file without a record
  common::ui::SetModalHook([&](common::ui::Window& w) {
    EXPECT_EQ(static_cast<Formask&>(w).pages().size(), offered);
    common::ui::ClickControl(w.hwnd(), Formask::kCommand1);
  });
  dir.Write(L"temp\\page.his", suite::Ansi(L"标题@#$%http://x.cn/\r\n\r\n"));
  FrmMain& f = Start();
  ASSERT_EQ(f.table().count(), 1);
  EXPECT_EQ(Engine(0).url, L"http://home.cn/");
}

TEST_F(Frame, NoRestoreDialogWhenNothingReadsAsAPage) {
  common::SaveSetting(kApp, L"myie", L"Start", L"http://home.cn/");
  int shown = 0;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    ++shown;
    common::ui::ClickControl(w.hwnd(), Formask::kCommand2);
  });
  std::string noise(300 * 1024, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 2654435761u) >> 13);
  for (const std::string& file : {noise, std::string("eleven bytes or more, no record\r\n"),
                                  std::string("标题@#$%\r\n\r\n")}) {
    dir.Write(L"temp\\page.his", file);
    FrmMain& f = Start();
    EXPECT_EQ(shown, 0);
    ASSERT_EQ(f.table().count(), 1);
    EXPECT_EQ(Engine(0).url, L"http://home.cn/");
    EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\temp\\page.his"));  // read, found empty, not offered again
    frame.reset();
    std::filesystem::remove_all(dir.path() / "temp");  // the start page this browser left
  }
}

TEST_F(Frame, RestoreRowsShowTheAddressWhereTheCaptionIsEmpty) {
  std::vector<std::wstring> rows;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    auto& ask = static_cast<Formask&>(w);
    for (int i = 0; i < ask.lvw().Count(); ++i) rows.push_back(ask.lvw().Text(i, 0));
    common::ui::ClickControl(w.hwnd(), Formask::kCommand2);
  });
  dir.Write(L"temp\\page.his", suite::Ansi(FormatOpenPages({{L"", L"http://untitled.cn/"}, {L"有", L"http://x.cn/"}})));
  Start();
  EXPECT_EQ(rows, (std::vector<std::wstring>{L"http://untitled.cn/", L"有"}));
}

TEST_F(Frame, RestoreOfMoreThanTheTableHoldsSaysHowManyDidNotOpen) {
  std::vector<OpenPage> pages;
  for (int i = 0; i < 60; ++i) pages.push_back({L"页" + std::to_wstring(i), L"http://p" + std::to_wstring(i) + L".cn/"});
  dir.Write(L"temp\\page.his", suite::Ansi(FormatOpenPages(pages)));
  common::ui::SetModalHook([](common::ui::Window& w) {
    common::ui::ClickControl(w.hwnd(), Formask::kCommand3);
    common::ui::ClickControl(w.hwnd(), Formask::kCommand1);
  });
  FrmMain& f = Start();
  EXPECT_EQ(f.table().count(), kMaxWindows);
  EXPECT_EQ(f.Panel(1), RestoreNotOpenedStatus(9));
  EXPECT_EQ(f.Panel(1), L"上次打开的网页中有 9 个没有打开：最多只能同时打开 51 个窗口");
}

TEST_F(Frame, AStartWithAnAddressAfterACrashOffersThePagesFirst) {
  dir.Write(L"temp\\page.his", suite::Ansi(FormatOpenPages({{L"甲", L"http://a.cn/"}})));
  int shown = 0;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    ++shown;
    common::ui::ClickControl(w.hwnd(), Formask::kCommand3);
    common::ui::ClickControl(w.hwnd(), Formask::kCommand1);
  });
  FrmMain& f = Start(L"http://given.cn/");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Urls(), (std::vector<std::wstring>{L"http://a.cn/", L"http://given.cn/"}));
  ASSERT_TRUE(Engine(f.table().NumberAt(1)).Load(L"http://given.cn/", L"给"));
  EXPECT_EQ(PagesFile().size(), 2u);
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\temp\\page.his"));  // offered once
}

TEST_F(Frame, RestoreDialogClosedUnansweredOpensStartPage) {
  common::SaveSetting(kApp, L"myie", L"Start", L"http://home.cn/");
  dir.Write(L"temp\\page.his", suite::Ansi(L"标题@#$%http://x.cn/\r\n\r\n"));
  common::ui::SetModalHook([](common::ui::Window& w) { PostMessageW(w.hwnd(), WM_CLOSE, 0, 0); });
  FrmMain& f = Start();
  ASSERT_EQ(f.table().count(), 1);
  EXPECT_EQ(Engine(0).url, L"http://home.cn/");
}

TEST_F(Frame, PageListKeepsTitlesAndAddressesTheCodePageCannotHold) {
  FrmMain& f = Start(L"http://a.cn/");
  ASSERT_TRUE(Engine(0).Load(L"http://a.cn/", L"甲页"));
  auto bytes = suite::ReadBytes(f.pagesFile());
  EXPECT_EQ(bytes, suite::Ansi(L"甲页@#$%http://a.cn/\r\n\r\n"));  // the code page while it holds the text
  f.loadnewform(L"http://예시.kr/ñ");
  ASSERT_TRUE(Engine(1).Load(L"http://예시.kr/ñ", L"한국어"));
  bytes = suite::ReadBytes(f.pagesFile());
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 3), "\xEF\xBB\xBF");
  auto pages = PagesFile();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[1].caption, L"한국어");
  EXPECT_EQ(pages[1].url, L"http://예시.kr/ñ");
}

TEST_F(Frame, ABrowserStartedBesideARunningOneNeitherOffersNorTakesItsPages) {
  FrmMain& a = Start(L"http://a.cn/");
  ASSERT_TRUE(Engine(0).Load(L"http://a.cn/", L"甲页"));
  ASSERT_EQ(PagesFile(&a).size(), 1u);
  int asked = 0;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    if (dynamic_cast<Formask*>(&w)) ++asked;
    if (dynamic_cast<ExitDialog*>(&w)) common::ui::ClickControl(w.hwnd(), ExitDialog::kOKButton);
  });
  std::unique_ptr<FrmMain> b = Another();
  EXPECT_EQ(asked, 0);  // the running browser's pages are no abnormal end
  EXPECT_NE(b->pagesFile(), a.pagesFile());
  static_cast<FakeEngine&>(b->PageAt(0)->Web()).Load(L"http://b.cn/", L"乙页");
  EXPECT_EQ(PagesFile(b.get()).size(), 1u);
  // B's confirmed exit leaves A's file, and A keeps writing it.
  dir.Write(L"temp\\yuan.bat", "x");
  ASSERT_TRUE(b->QueryUnload());
  EXPECT_FALSE(common::FileExists(dir.wpath() + L"\\temp\\yuan.bat"));
  EXPECT_FALSE(common::FileExists(b->pagesFile()));
  ASSERT_EQ(PagesFile(&a).size(), 1u);
  a.loadnewform(L"http://c.cn/");
  ASSERT_TRUE(Engine(1).Load(L"http://c.cn/", L"丙页"));
  EXPECT_EQ(PagesFile(&a).size(), 2u);
  // A ends abnormally: the next start offers what A had open.
  frame.reset();
  std::vector<OpenPage> offered;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    offered = static_cast<Formask&>(w).pages();
    common::ui::ClickControl(w.hwnd(), Formask::kCommand2);
  });
  Start();
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[1].url, L"http://c.cn/");
}

TEST_F(Frame, ThePagesOfABrowserThatEndedAbnormallyOutliveAnothersExit) {
  // C runs beside B and ends abnormally; B's confirmed exit leaves C's pages for the next start.
  std::unique_ptr<FrmMain> c = Another(L"http://c.cn/");
  static_cast<FakeEngine&>(c->PageAt(0)->Web()).Load(L"http://c.cn/", L"丙页");
  std::wstring cFile = c->pagesFile();
  FrmMain& b = Start(L"http://b.cn/");
  c.reset();  // ends without a confirmed exit while B runs
  common::SaveSetting(kApp, L"unload", L"askme", L"1");
  ASSERT_TRUE(b.QueryUnload());
  ASSERT_TRUE(common::FileExists(cFile));
  frame.reset();
  std::vector<OpenPage> offered;
  common::ui::SetModalHook([&](common::ui::Window& w) {
    offered = static_cast<Formask&>(w).pages();
    common::ui::ClickControl(w.hwnd(), Formask::kCommand2);
  });
  Start();
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].url, L"http://c.cn/");
}

TEST_F(Frame, AutoScrollAndWheelScrollTheActivePage) {
  FrmMain& f = Start(L"http://a.cn/");
  f.Command(kMoveAll);
  f.Command(kFast);
  for (int i = 0; i < 20; ++i) f.Timer3Tick();
  EXPECT_EQ(Engine(0).scrolled, 6);
  f.Command(kMoveAll);
  f.Wheel(-120);
  EXPECT_EQ(Engine(0).scrolled, 106);
  for (int i = 0; i < 20; ++i) f.Timer3Tick();
  EXPECT_EQ(Engine(0).scrolled, 106);
}

TEST_F(Frame, MissingToolIsNamedThenOpensVersionPage) {
  FrmMain& f = Start(L"http://a.cn/");
  suite::MsgBoxAnswers answers;
  f.runtool(L"radio");
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, common::SiblingToolMissingText(dir.wpath() + L"\\radio.exe"));
  ASSERT_EQ(f.table().count(), 2);
  EXPECT_EQ(Engine(f.table().ActiveNumber()).url, dir.wpath() + L"\\version.htm");
}

TEST_F(Frame, TabStripClicksSwitchAndDoubleClickCloses) {
  FrmMain& f = Start(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  f.loadnewform(L"http://c.cn/");
  HWND strip = f.strip().hwnd();
  auto centre = [&](int number) {
    const TabLabels& l = f.strip().labels()[number];
    int x = common::ui::Twips(strip, l.left + l.width / 2);
    return MAKELPARAM(x, 8);
  };
  SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, centre(0));
  EXPECT_EQ(f.table().active(), 0);
  EXPECT_EQ(f.TextUrl(), L"http://a.cn/");
  SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, centre(1));
  SendMessageW(strip, WM_LBUTTONDBLCLK, MK_LBUTTON, centre(1));
  EXPECT_EQ(f.table().Order(), (std::vector<int>{0, 2}));
  EXPECT_EQ(f.table().ActiveNumber(), 0);
  RECT x = f.strip().Image1Rect();
  SendMessageW(strip, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM((x.left + x.right) / 2, (x.top + x.bottom) / 2));
  EXPECT_EQ(f.table().count(), 1);  // right button on the close picture: all closed
}

TEST_F(Frame, ClosedPagesMirrorInMenuAndAddressList) {
  FrmMain& f = Start(L"http://a.cn/");
  f.loadnewform(L"http://b.cn/");
  Engine(1).Load(L"http://b.cn/", L"乙页");
  f.delline();
  HMENU m = f.cancelMenu();
  ASSERT_GE(GetMenuItemCount(m), 3);  // 乙页, a separator, the clear item
  wchar_t text[64] = {};
  GetMenuStringW(m, kUr1, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"乙页");
  EXPECT_NE(SendMessageW(f.comb(), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(L"http://b.cn/")), CB_ERR);
  f.Command(kClear);  // answered OK by the test main
  EXPECT_EQ(common::GetSetting(kApp, L"myie", L"1his_cap"), L"");
  EXPECT_EQ(GetMenuItemCount(m), 2);
}

TEST_F(Frame, ServerAddressLookUpAndLocalFallback) {
  FrmMain& f = Start(L"http://a.cn/");
  Engine(0).Load(L"http://nohostpath", L"页");
  EXPECT_EQ(f.Panel(7).rfind(L"本机IP地址： ", 0), 0u) << f.Panel(7);
  // A server of our own on the loopback: the look-up resolves and connects without blocking the window.
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(80);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, 4) != 0) {
    closesocket(s);
    GTEST_SKIP() << "port 80 on the loopback is taken";
  }
  Engine(0).Load(L"http://127.0.0.1/index.htm", L"本机");
  EXPECT_TRUE(suite::PumpUntil([&] { return f.RemoteText(0) == L"远程主机IP地址： 127.0.0.1"; }, 5000))
      << f.RemoteText(0);
  EXPECT_EQ(f.Panel(7), L"远程主机IP地址： 127.0.0.1");
  closesocket(s);
}

TEST(IpLookup, NamesTheCodePageCannotHoldGoInTheirAsciiForm) {
  EXPECT_EQ(LookupName(L"www.例子.cn"), suite::Ansi(L"www.例子.cn"));
  EXPECT_EQ(LookupName(L"www.예시.kr"), "www.xn--vv4b11d.kr");
  EXPECT_EQ(LookupName(L"a.example"), "a.example");
}

TEST(Formask, CancelLeavesItUnansweredAndDoubleClickOpens) {
  suite::TempDir dir;
  std::vector<std::wstring> opened;
  Formask ask(ParseOpenPages(L"甲@#$%http://a.cn/\r\n\r\n乙@#$%http://b.cn/\r\n\r\n"), [&](const std::wstring& url) {
    opened.push_back(url);
    return true;
  });
  ASSERT_TRUE(ask.Create(GetDesktopWindow()));
  ASSERT_EQ(ask.pages().size(), 2u);
  ask.ItemDblClick(1);
  EXPECT_EQ(opened, std::vector<std::wstring>{L"http://b.cn/"});
  ASSERT_TRUE(common::SetClipboardText(nullptr, L"before"));
  ask.ItemClick(0);  // the address goes to the clipboard
  EXPECT_EQ(common::GetClipboardText(), L"http://a.cn/");
  common::ui::ClickControl(ask.hwnd(), Formask::kCommand2);
  EXPECT_FALSE(ask.hwnd());
  EXPECT_FALSE(ask.answered());
}

}  // namespace
}  // namespace corvane
