// The firewall window inside the loaded guard: its tabs, commands, closing rule and timer, with the
// TCP table given and everything else real.
#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text.h"
#include "common/win/pump.h"
#include "common/win/ui/window.h"
#include "guard/startup/win/face_links.h"
#include "guard/monitors/win/formfire.h"
#include "guard/monitors/win/testing/tcp_table_double.h"
#include "guard/monitors/win/testing/window_child.h"
#include "guard/startup/win/process_window_fixture.h"
#include "guard/startup/win/tuopan_hooks.h"

#include <winternl.h>

using namespace zorvix;
using test_support::TcpTableDouble;
using test_support::WindowChild;

namespace {

// The system's process list with the start time of one process moved, as when the PID a row was made
// for has passed to a process started later.
struct ShiftedStartSystem : ProcessSystem {
  LONG QueryProcesses(void* buffer, ULONG size, ULONG* needed) override {
    LONG status = ProcessSystem::QueryProcesses(buffer, size, needed);
    for (ULONG at = 0; status >= 0 && shifted && at + sizeof(SYSTEM_PROCESS_INFORMATION) <= size;) {
      auto* e = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(static_cast<BYTE*>(buffer) + at);
      if (DWORD(reinterpret_cast<ULONG_PTR>(e->UniqueProcessId)) == shifted) e->CreateTime.QuadPart += 1;
      if (!e->NextEntryOffset) break;
      at += e->NextEntryOffset;
    }
    return status;
  }
  DWORD shifted = 0;
};

class FormfireTest : public zorvix::testing::ProcessWindow {
 protected:
  void SetUp() override {
    Load(L"2", system);
    auto source = std::make_unique<TcpTableDouble>();
    table = source.get();
    frm->SetTcpSource(std::move(source));
    fire().store().Clear();
    fire().UpdatePrograms();
    ASSERT_TRUE(fire().Load());
  }
  void TearDown() override {
    Formask::UnloadAll();
    if (frm) fire().store().Clear();
    ProcessWindow::TearDown();
  }
  Formfire& fire() { return frm->formfire(); }
  std::vector<std::wstring> Headers() {
    HWND header = ListView_GetHeader(fire().lvw().hwnd());
    std::vector<std::wstring> texts;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
      wchar_t buf[64]{};
      HDITEMW item{HDI_TEXT};
      item.pszText = buf;
      item.cchTextMax = 64;
      Header_GetItem(header, i, &item);
      texts.push_back(buf);
    }
    return texts;
  }
  std::vector<std::wstring> Row(int row) {
    std::vector<std::wstring> texts;
    for (size_t col = 0; col < Headers().size(); ++col) texts.push_back(fire().lvw().Text(row, int(col)));
    return texts;
  }
  int RowOf(const std::wstring& text, int col = 0) {
    for (int i = 0; i < fire().lvw().Count(); ++i)
      if (fire().lvw().Text(i, col) == text) return i;
    return -1;
  }
  void Key(UINT message, WPARAM code) {
    PostMessageW(GetFocus(), message, code, message == WM_KEYUP ? LPARAM(0xC0000001) : 1);
    common::PumpMessages();
  }
  ShiftedStartSystem system;
  TcpTableDouble* table = nullptr;
  suite::TempDir dir;
};

}  // namespace

TEST_F(FormfireTest, LoadsHiddenWithThreeTabsAndTheProcessColumns) {
  ASSERT_TRUE(fire().loaded());
  EXPECT_FALSE(IsWindowVisible(fire().hwnd()));
  EXPECT_EQ(common::ui::WindowText(fire().hwnd()), L"可疑程序检测");
  ASSERT_EQ(TabCtrl_GetItemCount(fire().tap()), 3);
  const wchar_t* tabs[] = {L"可疑程序列表  ", L"当前网络连接  ", L"网络访问控制 "};
  for (int i = 0; i < 3; ++i) {
    wchar_t buf[64]{};
    TCITEMW item{TCIF_TEXT};
    item.pszText = buf;
    item.cchTextMax = 64;
    TabCtrl_GetItem(fire().tap(), i, &item);
    EXPECT_EQ(std::wstring(buf), tabs[i]);
  }
  EXPECT_EQ(fire().ViewKind, kViewProcesses);
  EXPECT_FALSE(fire().exitme);
  EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"进程名称", L"PID", L"内存使用", L"用户名", L"安全 ", L"优先",
                                                  L"进程路径", L"备注"}));
  EXPECT_EQ(common::ui::WindowText(fire().cmd(0)), L"终止进程(&D)");
  EXPECT_EQ(common::ui::WindowText(fire().cmd(1)), L"查看目录(&V)");
  EXPECT_EQ(common::ui::WindowText(fire().cmd(2)), L"刷新列表(&R)");
  EXPECT_EQ(common::ui::WindowText(fire().chk()), L"断开网络");
}

TEST_F(FormfireTest, TheProcessTabCopiesTheUntrustedRows) {
  suite::ChildProcess child;
  frm->table().ListProcess();
  fire().SelectTab(kViewProcesses);
  int row = RowOf(std::to_wstring(child.pid()), kColPid);
  ASSERT_GE(row, 0);
  EXPECT_EQ(fire().lvw().Text(row, kColTrust), L"?");
  EXPECT_EQ(fire().lvw().Text(row, kColPath), suite::BinFolder() + L"suite_child.exe");
  EXPECT_EQ(fire().sbr().Text(1), L"当前列表数目：" + std::to_wstring(fire().lvw().Count()));
}

TEST_F(FormfireTest, TheProcessTabEndsARowsProcessOnlyWhileItIsTheOneListed) {
  suite::ChildProcess kept, ended;
  frm->table().ListProcess();
  fire().SelectTab(kViewProcesses);
  system.shifted = kept.pid();
  frm->table().ListProcess();  // the table now holds another process under kept's PID
  suite::MsgBoxAnswers yes(IDOK);
  for (DWORD pid : {ended.pid(), kept.pid()}) {
    int row = RowOf(std::to_wstring(pid), kColPid);
    ASSERT_GE(row, 0);
    fire().lvw().Select(row);
    fire().CmdClick(0);
  }
  EXPECT_TRUE(ended.WaitExit(5000));
  EXPECT_TRUE(kept.Running()) << "a process started at another time than the row's is left alone";
}

TEST_F(FormfireTest, ShownFromTheTrayItHidesOnCloseThenUnloadsOnTheNext) {
  PostMessageW(fire().hwnd(), WM_COMMAND, Formfire::kIdShowFromTray, 0);
  common::PumpMessages();
  EXPECT_TRUE(IsWindowVisible(fire().hwnd()));
  EXPECT_EQ(fire().ViewKind, kViewConnections);
  EXPECT_EQ(TabCtrl_GetCurSel(fire().tap()), 1);
  EXPECT_TRUE(fire().exitme);
  EXPECT_TRUE(GetWindowLongW(fire().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  SendMessageW(fire().hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(fire().loaded());
  EXPECT_FALSE(IsWindowVisible(fire().hwnd()));
  EXPECT_EQ(fire().ViewKind, kViewProcesses);
  EXPECT_FALSE(fire().exitme);

  fire().SelectTab(kViewPrograms);
  HACCEL accel = fire().accel();
  HIMAGELIST icons = ListView_GetImageList(fire().lvw().hwnd(), LVSIL_SMALL);
  SendMessageW(fire().hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(fire().loaded()) << "closed without the mark it unloads";

  // The firewall goes on without its window.
  std::wstring exe = test_support::CopyOfChild(dir.wpath() + L"\\after-close.exe");
  WindowChild p(L"fire-after-close", exe);
  table->rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  ASSERT_TRUE(suite::PumpUntil([] { return !Formask::OpenDialogs().empty(); }, 3000)) << "the poll runs on";
  EXPECT_TRUE(p.Frozen());
  EXPECT_FALSE(fire().loaded());
  Formask::UnloadAll();
  EXPECT_TRUE(p.Responds());

  fire().Open(kViewPrograms, false);
  EXPECT_TRUE(fire().loaded()) << "and can be loaded again";
  EXPECT_EQ(fire().ViewKind, kViewPrograms);
  EXPECT_EQ(fire().accel(), accel) << "the keys of the first load serve again";
  EXPECT_EQ(ListView_GetImageList(fire().lvw().hwnd(), LVSIL_SMALL), icons) << "so does the icon list";
}

TEST_F(FormfireTest, TheProgramTabListsAndDeletesEntries) {
  fire().AddProgram(L"C:\\Tools\\Good.exe", 1);
  fire().AddProgram(L"c:\\tools\\bad.exe", 0);
  fire().SelectTab(kViewPrograms);
  EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"软件名称", L"网络访问", L"软件路径"}));
  EXPECT_EQ(common::ui::WindowText(fire().cmd(0)), L"删除列表(&D)");
  ASSERT_EQ(fire().lvw().Count(), 2);
  EXPECT_EQ(Row(0), (std::vector<std::wstring>{L"good.exe", L"允许", L"c:\\tools\\good.exe"}));
  EXPECT_EQ(Row(1), (std::vector<std::wstring>{L"bad.exe", L"禁止", L"c:\\tools\\bad.exe"}));
  EXPECT_EQ(fire().sbr().Text(1), L"当前列表数目：2");

  fire().lvw().Select(0);
  {
    suite::MsgBoxAnswers no(IDCANCEL);
    fire().CmdClick(0);
    ASSERT_EQ(no.shown().size(), 1u);
    EXPECT_EQ(no.shown()[0].text, L"您确实要删除当前的列表【 good.exe 】吗？  ");
    EXPECT_EQ(no.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONQUESTION));
  }
  EXPECT_EQ(fire().lvw().Count(), 2);
  suite::MsgBoxAnswers yes(IDOK);
  fire().lvw().Select(0);
  fire().CmdClick(0);
  ASSERT_EQ(fire().lvw().Count(), 1);
  EXPECT_EQ(Row(0)[0], L"bad.exe");
  EXPECT_EQ(fire().store().Get(L"ProgramCount"), L"1");
  EXPECT_EQ(fire().store().Get(L"1Path"), L"c:\\tools\\bad.exe");
}

TEST_F(FormfireTest, ADeleteTakesTheRowsOwnEntryWhereTheListSkippedOne) {
  fire().AddProgram(L"c:\\a.exe", 1);
  fire().AddProgram(L"c:\\b.exe", 1);
  fire().AddProgram(L"c:\\c.exe", 1);
  fire().store().Set(L"2Name", L"");  // an entry the list does not show: neither name nor path
  fire().store().Set(L"2Path", L"");
  fire().SelectTab(kViewPrograms);
  ASSERT_EQ(fire().lvw().Count(), 2);
  suite::MsgBoxAnswers yes(IDOK);
  fire().lvw().Select(RowOf(L"c.exe"));
  fire().CmdClick(0);
  EXPECT_EQ(fire().store().Get(L"1Path"), L"c:\\a.exe");
  EXPECT_EQ(fire().store().Get(L"2Path"), L"") << "the entry the row's position names stays";
  EXPECT_EQ(fire().store().Get(L"ProgramCount"), L"2");
  EXPECT_FALSE(fire().store().Get(L"3Path"));
}

TEST_F(FormfireTest, TheConnectionTabShowsWatchedRowsWithAddressesAndPorts) {
  WindowChild child(L"fire-conn");
  TcpRow listening = TcpTableDouble::Connection(child.pid(), 135, 0, 0, kTcpListen);
  table->rows = {TcpTableDouble::Connection(child.pid(), 50001, 7, 443), listening,
                 TcpTableDouble::Connection(0, 50002, 8, 80), TcpTableDouble::Connection6(child.pid(), 50003)};
  fire().SelectTab(kViewConnections);
  EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"程序名称", L"IP 链接", L"所在路径", L"本地端口", L"远程端口"}));
  ASSERT_EQ(fire().lvw().Count(), 3);
  std::wstring path = suite::BinFolder() + L"suite_child.exe";
  EXPECT_EQ(Row(0), (std::vector<std::wstring>{L"suite_child.exe", L"10.0.0.7", path, L"50001", L"443"}));
  EXPECT_EQ(Row(1), (std::vector<std::wstring>{L"未知", L"10.0.0.8", L"", L"50002", L"80"}));
  EXPECT_EQ(Row(2), (std::vector<std::wstring>{L"suite_child.exe", L"2001:db8::1", path, L"50003", L"80"}));
  EXPECT_EQ(fire().sbr().Text(1), L"当前列表数目：3");
}

TEST_F(FormfireTest, EndingFromTheConnectionTabEndsThatRowsProgramOnly) {
  WindowChild a(L"fire-end-a"), b(L"fire-end-b");  // the same program twice
  table->rows = {TcpTableDouble::Connection(a.pid(), 50001), TcpTableDouble::Connection(b.pid(), 50002)};
  fire().SelectTab(kViewConnections);
  int row = RowOf(L"50002", 3);
  ASSERT_GE(row, 0);
  fire().lvw().Select(row);
  suite::MsgBoxAnswers yes(IDOK);
  fire().CmdClick(0);
  ASSERT_EQ(yes.shown().size(), 1u);
  EXPECT_EQ(yes.shown()[0].text, L"您确实要终止当前的进程列表【 suite_child.exe 】吗？  ");
  EXPECT_TRUE(b.child.WaitExit(5000));
  EXPECT_TRUE(a.child.Running()) << "another process of the same name is left alone";
  EXPECT_EQ(fire().lvw().Count(), 1);
}

TEST_F(FormfireTest, MenusSwitchTheFirewallAndTheToolbarTicksTheBox) {
  fire().SetFirewall(false);
  EXPECT_FALSE(Guard().firewallEnabled);
  EXPECT_TRUE(GetMenuState(fire().menu(), Formfire::kIdDisable, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(fire().menu(), Formfire::kIdEnable, MF_BYCOMMAND) & MF_CHECKED);
  SendMessageW(fire().hwnd(), WM_COMMAND, Formfire::kIdEnable, 0);
  EXPECT_TRUE(Guard().firewallEnabled);
  EXPECT_TRUE(GetMenuState(fire().menu(), Formfire::kIdEnable, MF_BYCOMMAND) & MF_CHECKED);

  EXPECT_EQ(frm->tuopan().tip().find(L"防火墙已关闭"), std::wstring::npos);
  fire().SetFirewall(false);
  EXPECT_NE(frm->tuopan().tip().find(L"防火墙已关闭"), std::wstring::npos) << frm->tuopan().tip();
  fire().SetFirewall(true);

  // "断开网络" from the tool button: on, then off again, the box, the monitor and the tray tip alike.
  EXPECT_EQ(SendMessageW(fire().chk(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  fire().ToolbarClick(L"dlink");
  EXPECT_EQ(SendMessageW(fire().chk(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(fire().monitor().networkCut());
  EXPECT_NE(frm->tuopan().tip().find(L"网络已断开"), std::wstring::npos) << frm->tuopan().tip();
  fire().ToolbarClick(L"dlink");
  EXPECT_EQ(SendMessageW(fire().chk(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(fire().monitor().networkCut());
  EXPECT_EQ(frm->tuopan().tip().find(L"网络已断开"), std::wstring::npos);
  SendMessageW(fire().chk(), BM_CLICK, 0, 0);
  EXPECT_TRUE(fire().monitor().networkCut()) << "the box itself cuts too";
  EXPECT_EQ(SendMessageW(fire().toolbar(), TB_BUTTONCOUNT, 0, 0), 4);
}

TEST_F(FormfireTest, TheTimerPollsAndFreezesAnUnknownProgram) {
  std::wstring exe = test_support::CopyOfChild(dir.wpath() + L"\\stranger.exe");
  WindowChild p(L"fire-timer", exe);
  table->rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  ASSERT_TRUE(suite::PumpUntil([] { return !Formask::OpenDialogs().empty(); }, 3000));
  EXPECT_TRUE(p.Frozen());
  // The main window's count may change after a copy; the next tick must copy it again.
  EXPECT_TRUE(suite::PumpUntil([&] { return fire().sbr().Text(0) == frm->sbr().Text(0); }, 3000))
      << "the main window's process count is copied";
  fire().Unload();
  EXPECT_EQ(Formask::OpenDialogs().size(), 1u) << "the window going takes no decision";
  EXPECT_TRUE(p.Frozen());
  DestroyWindow(frm->hwnd());
  EXPECT_TRUE(p.Responds()) << "the guard's unload resumes what it froze";
}

TEST_F(FormfireTest, KeysSwitchTabsRefreshAndClose) {
  fire().Open(kViewProcesses, true);
  SetForegroundWindow(fire().hwnd());
  SetFocus(fire().lvw().hwnd());
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  Key(WM_KEYDOWN, VK_TAB);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(fire().ViewKind, kViewConnections) << "Ctrl+Tab";
  table->rows = {TcpTableDouble::Connection(0, 50009)};
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_EQ(fire().lvw().Count(), 1) << "F5 refreshes";
  Key(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(fire().hwnd())) << "Esc closes (hidden, as shown from the tray)";
}

TEST_F(FormfireTest, ARowClickShowsTheFileInformationOfItsPath) {
  fire().AddProgram(suite::BinFolder() + L"suite_child.exe", 1);
  fire().Open(kViewPrograms, false);
  RECT r{LVIR_LABEL};
  SendMessageW(fire().lvw().hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  fire().RowClick({r.left + 5, (r.top + r.bottom) / 2});
  ASSERT_TRUE(fire().forminfo().loaded());
  EXPECT_TRUE(common::EqualsNoCase(fire().forminfo().FilePath, suite::BinFolder() + L"suite_child.exe"));
  EXPECT_TRUE(IsWindowVisible(fire().forminfo().hwnd()));
  SendMessageW(fire().lvw().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(r.left + 40, r.top + 1));
  EXPECT_FALSE(fire().forminfo().loaded()) << "moving over the list closes it";
}

TEST_F(FormfireTest, TheTrayAndTheControlCentreReachTheFirewall) {
  Guard().autorunScanPaused = true;
  TrayHooks(*frm).openFirewall();
  EXPECT_TRUE(IsWindowVisible(fire().hwnd()));
  EXPECT_EQ(fire().ViewKind, kViewConnections);
  EXPECT_TRUE(fire().exitme);
  EXPECT_FALSE(Guard().autorunScanPaused);
  SendMessageW(fire().hwnd(), WM_CLOSE, 0, 0);
  FaceLinks links = FaceLinksFor(*frm);
  links.openFirewall();
  EXPECT_TRUE(IsWindowVisible(fire().hwnd()));
  EXPECT_FALSE(fire().exitme) << "from the control centre's menu it is not marked";

  WindowChild p(L"fire-face", test_support::CopyOfChild(dir.wpath() + L"\\listed.exe"));
  fire().AddProgram(dir.wpath() + L"\\listed.exe", 1);
  fire().UpdatePrograms();
  table->rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  fire().monitor().Poll();
  ASSERT_TRUE(fire().monitor().RunAllowList().Contains(dir.wpath() + L"\\listed.exe"));
  links.deleteProgram(1, dir.wpath() + L"\\listed.exe");
  EXPECT_FALSE(fire().monitor().RunAllowList().Contains(dir.wpath() + L"\\listed.exe")) << "asked about again";
  EXPECT_EQ(fire().monitor().programs().Find(dir.wpath() + L"\\listed.exe"), nullptr);
}

TEST_F(FormfireTest, ADeleteRefusedForWantOfRightsIsToldInTheStatusBar) {
  std::wstring exe = test_support::CopyOfChild(dir.wpath() + L"\\refused.exe");
  WindowChild p(L"fire-refused", exe);
  fire().AddProgram(exe, 0);
  fire().UpdatePrograms();
  table->answer = DropResult::NeedsAdmin;
  table->rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  fire().monitor().Poll();
  ASSERT_EQ(table->dropped.size(), 1u);
  fire().Timer1Tick();
  std::wstring told = CannotDropText(exe, DropResult::NeedsAdmin, false);
  EXPECT_NE(told.find(L"【 refused.exe 】"), std::wstring::npos);
  EXPECT_NE(told.find(L"删除网络连接需要以管理员身份运行本软件"), std::wstring::npos);
  EXPECT_EQ(common::ui::WindowText(fire().notice()), told) << "in full in the window";
  EXPECT_EQ(frm->tuopan().lastBalloon(), told) << "and from the tray icon, where the user sees it";
  EXPECT_EQ(table->rows.size(), 1u) << "the connection is still there";
}

TEST_F(FormfireTest, AnIpv6ConnectionThatCannotBeDeletedIsToldOnceInTheStatusBar) {
  std::wstring exe = test_support::CopyOfChild(dir.wpath() + L"\\v6.exe");
  WindowChild p(L"fire-v6", exe);
  fire().AddProgram(exe, 0);
  fire().UpdatePrograms();
  table->answer = DropResult::Failed;
  table->rows = {TcpTableDouble::Connection6(p.pid(), 50001)};
  fire().monitor().Poll();
  ASSERT_EQ(table->dropped.size(), 1u);
  std::wstring told = CannotDropText(exe, DropResult::Failed, true);
  EXPECT_NE(told.find(L"【 v6.exe 】"), std::wstring::npos);
  EXPECT_EQ(frm->tuopan().lastBalloon(), told);
  EXPECT_EQ(table->rows.size(), 1u) << "the connection is still there";

  frm->tuopan().Balloon(L"");
  table->rows.push_back(TcpTableDouble::Connection6(p.pid(), 50002));
  fire().monitor().Poll();
  EXPECT_EQ(table->dropped.size(), 3u) << "both rows are tried again";
  EXPECT_EQ(frm->tuopan().lastBalloon(), L"") << "told once";
  fire().UpdatePrograms();
  const MonitoredProgram* entry = fire().monitor().programs().Find(exe);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->Blocks, 3) << "each check that found it blocked is counted";
}

// Two views of one table: with entries a, b, c, d, a goes in the firewall window; the control centre's
// page, made before, then deletes its row of c by c's old number. c goes, d stays.
TEST_F(FormfireTest, ADeleteInOneViewNeverDeletesAnotherEntry) {
  for (const wchar_t* p : {L"c:\\a.exe", L"c:\\b.exe", L"c:\\c.exe", L"c:\\d.exe"}) fire().AddProgram(p, 1);
  FaceLinks links = FaceLinksFor(*frm);
  std::vector<FirewallRow> page = links.firewallRows();  // the control centre's rows of this moment
  ASSERT_EQ(page.size(), 4u);
  fire().SelectTab(kViewPrograms);
  suite::MsgBoxAnswers yes(IDOK);
  fire().lvw().Select(RowOf(L"a.exe"));
  fire().CmdClick(0);
  EXPECT_EQ(fire().lvw().Count(), 3);
  EXPECT_TRUE(links.deleteProgram(page[2].number, page[2].path));
  EXPECT_EQ(fire().store().Get(L"1Path"), L"c:\\b.exe");
  EXPECT_EQ(fire().store().Get(L"2Path"), L"c:\\d.exe") << "d stays";
  EXPECT_EQ(fire().lvw().Count(), 2) << "the window's view follows the other view's change";
  EXPECT_FALSE(links.deleteProgram(page[2].number, page[2].path)) << "c is gone: nothing else goes";
  EXPECT_EQ(fire().store().Get(L"ProgramCount"), L"2");

  // The window's own stale row: its entry went elsewhere, so the delete is refused with a message.
  int row = RowOf(L"b.exe");
  ASSERT_GE(row, 0);
  fire().monitor().SetHooks({});  // no refresh of the view: its rows are as the user saw them
  fire().monitor().DeleteProgram(1, L"c:\\b.exe");
  fire().lvw().Select(row);
  fire().CmdClick(0);
  ASSERT_EQ(yes.shown().size(), 4u);
  EXPECT_EQ(yes.shown()[1].text, ProgramGoneText(L"c.exe")) << "the control centre's refusal is said";
  EXPECT_EQ(yes.shown()[3].text, ProgramGoneText(L"b.exe"));
  EXPECT_EQ(fire().store().Get(L"1Path"), L"c:\\d.exe");
}

// A connection row whose program is unknown cannot be ended: the user is told and the row stays.
TEST_F(FormfireTest, EndingAnUnknownProgramsRowIsRefusedAndTheRowStays) {
  table->rows = {TcpTableDouble::Connection(0, 50001)};
  fire().SelectTab(kViewConnections);
  ASSERT_EQ(fire().lvw().Count(), 1);
  ASSERT_EQ(fire().lvw().Text(0, 0), L"未知");
  fire().lvw().Select(0);
  suite::MsgBoxAnswers yes(IDOK);
  fire().CmdClick(0);
  ASSERT_EQ(yes.shown().size(), 2u);
  EXPECT_EQ(yes.shown()[1].text, EndFailedText(L"未知"));
  EXPECT_EQ(fire().lvw().Count(), 1);
}

// The ask dialog stays above the guard's other top-most windows, without taking the focus from them.
TEST_F(FormfireTest, AnAskDialogStaysAboveTheFirewallWindowShownAfterIt) {
  std::wstring exe = test_support::CopyOfChild(dir.wpath() + L"\\covered.exe");
  WindowChild p(L"fire-covered", exe);
  table->rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  ASSERT_TRUE(suite::PumpUntil([] { return !Formask::OpenDialogs().empty(); }, 3000));
  HWND dialog = Formask::OpenDialogs()[0]->hwnd();
  fire().Open(kViewConnections, true);  // top-most, in the foreground
  auto above = [&] {
    for (HWND w = GetWindow(dialog, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
      if (w == fire().hwnd()) return true;
    return false;
  };
  EXPECT_TRUE(suite::PumpUntil(above, 3000)) << "the dialog is raised over the window";
  EXPECT_NE(GetForegroundWindow(), dialog) << "without taking the focus";
}
