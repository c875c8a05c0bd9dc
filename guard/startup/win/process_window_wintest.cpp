// The process window's commands on real child processes, with the confirmations answered in-process.
#include "guard/process/win/process_commands.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <filesystem>
#include <map>
#include <vector>

#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_actions.h"
#include "guard/process/win/process_query.h"
#include "guard/startup/win/process_window_fixture.h"

using namespace zorvix;
using zorvix::testing::FakeSystem;
using zorvix::testing::ProcessWindow;

namespace {

std::wstring MenuText(HMENU menu, UINT item, UINT by) {
  wchar_t buf[128]{};
  GetMenuStringW(menu, item, buf, 128, by);
  return buf;
}

// Captions of a menu's items in order, "-" for a separator.
std::vector<std::wstring> Captions(HMENU menu) {
  std::vector<std::wstring> r;
  for (int i = 0; i < GetMenuItemCount(menu); ++i)
    r.push_back((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) ? L"-" : MenuText(menu, i, MF_BYPOSITION));
  return r;
}

using Texts = std::vector<std::wstring>;

}  // namespace

TEST_F(ProcessWindow, MenuBarHoldsEveryItemWithItsCaptionAndShortcut) {
  ASSERT_NO_FATAL_FAILURE(Load());
  HMENU bar = frm->commands().menu();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(frm->hwnd()), bar);
  EXPECT_EQ(Captions(bar), (Texts{L"系统(&F)", L"进程(&P)", L"窗口(&W)", L"系统锁定(&S)", L"帮助(&H)"}));
  EXPECT_EQ(Captions(GetSubMenu(bar, 0)), (Texts{L"立即刷新(&R)\tF5", L"-", L"注销用户", L"强制关机", L"退出(&X)"}));
  EXPECT_EQ(Captions(GetSubMenu(bar, 1)), (Texts{L"结束进程(&E)", L"删除进程文件(&D)", L"-", L"文件属性(&R)...",
                                                 L"所在目录(&F)...", L"-", L"设置优先级(&P)"}));
  Texts priorities;
  for (const auto& item : kPriorityItems) priorities.push_back(item.caption);
  EXPECT_EQ(Captions(GetSubMenu(GetSubMenu(bar, 1), POS_MNUSETPROCLASS)), priorities);
  EXPECT_EQ(Captions(GetSubMenu(bar, 2)), (Texts{L"总在最上(&A)\tCtrl+A", L"隐藏"}));
  EXPECT_EQ(Captions(GetSubMenu(bar, 3)),
            (Texts{L"全部锁定", L"全部解锁", L"-", L"锁定运行程序\tF8", L"解锁运行程序\tF9", L"-", L"关闭任务栏",
                   L"打开任务栏", L"-", L"隐藏桌面图标", L"取消隐藏桌面图标", L"-", L"关闭explorer1",
                   L"关闭explorer2", L"恢复explorer", L"打开explorer"}));
  EXPECT_EQ(Captions(GetSubMenu(bar, 4)), (Texts{L"帮助主题(&S)...", L"-", L"关于(&A)"}));
  // The buttons run the menu's commands.
  const wchar_t* buttons[] = {L"查看目录(&V)", L"终止进程(&S)", L"删除文件(&D)", L"强制关机(&T)"};
  const int ids[] = {ID_MNUFOLDER, ID_MNUENDPRO, ID_MNUDELPRO, ID_TURNOFF};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(common::ui::WindowText(frm->cmd(i)), buttons[i]);
    EXPECT_EQ(GetDlgCtrlID(frm->cmd(i)), ids[i]);
  }
}

TEST_F(ProcessWindow, ShortcutsAreTheProgramsAccelerators) {
  ASSERT_NO_FATAL_FAILURE(Load());
  HACCEL accel = LoadAcceleratorsW(MenuResources(), MAKEINTRESOURCEW(IDR_FRMMAIN_ACCEL));
  ASSERT_NE(accel, nullptr);
  ACCEL keys[8];
  int n = CopyAcceleratorTableW(accel, keys, 8);
  ASSERT_EQ(n, 4);
  auto has = [&](WORD key, BYTE mods, WORD cmd) {
    for (int i = 0; i < n; ++i)
      if (keys[i].key == key && (keys[i].fVirt & (FCONTROL | FVIRTKEY)) == mods && keys[i].cmd == cmd) return true;
    return false;
  };
  EXPECT_TRUE(has(VK_F5, FVIRTKEY, ID_MNUREFURBISH));
  EXPECT_TRUE(has('A', FVIRTKEY | FCONTROL, ID_MNUONTOP));
  EXPECT_TRUE(has(VK_F8, FVIRTKEY, ID_XTSD_S_SD));
  EXPECT_TRUE(has(VK_F9, FVIRTKEY, ID_XTSD_S_JS));
  DestroyAcceleratorTable(accel);

  // F5 pressed in the list refreshes at once, with the heartbeat stopped by the filter.
  frm->SetChk(true);
  suite::ChildProcess child;
  EXPECT_LT(frm->table().HaveItem(child.pid()), 0);
  SetForegroundWindow(frm->hwnd());
  SetFocus(frm->lvw().hwnd());
  Key(WM_KEYDOWN, VK_F5);
  EXPECT_GE(frm->table().HaveItem(child.pid()), 0);
}

TEST_F(ProcessWindow, TabAndTheButtonsMnemonicsWorkFromTheKeyboard) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  ASSERT_GE(SelectPid(child.pid()), 0);
  SetForegroundWindow(frm->hwnd());
  SetFocus(frm->chk());
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), frm->lvw().hwnd());
  Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), frm->cmd(0));
  for (int i = 1; i < 4; ++i) {
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), frm->cmd(i)) << i;
  }
  suite::MsgBoxAnswers answers(IDCANCEL);
  Key(WM_SYSCHAR, L's');  // "终止进程(&S)"
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, EndConfirmText(L"suite_child.exe"));
  EXPECT_TRUE(child.Running());
}

TEST_F(ProcessWindow, EndProcessOnOkEndsTheChildAndKeepsTheWindowOnTop) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  ASSERT_GE(SelectPid(child.pid()), 0);
  frm->SetChk(true);
  suite::MsgBoxAnswers answers(IDOK);
  SendMessageW(frm->cmd(1), BM_CLICK, 0, 0);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, EndConfirmText(L"suite_child.exe"));
  EXPECT_EQ(answers.shown()[0].flags & (MB_ICONQUESTION | MB_OKCANCEL), UINT(MB_ICONQUESTION | MB_OKCANCEL));
  EXPECT_TRUE(child.WaitExit(1000));
  EXPECT_FALSE(frm->Chk());  // the filter is cleared so that the refresh runs again
  EXPECT_TRUE(frm->TimerRunning());
  EXPECT_TRUE(OnTop());
  // The row goes at the next tick.
  frm->Timer1Tick();
  EXPECT_LT(frm->table().HaveItem(child.pid()), 0);
}

TEST_F(ProcessWindow, CancelOrAPidThatIsNoNumberEndsNothing) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  {
    suite::MsgBoxAnswers answers(IDCANCEL);
    frm->commands().EndProcess();
    frm->commands().DeleteProcess();
    EXPECT_EQ(answers.shown().size(), 2u);
  }
  EXPECT_TRUE(child.Running());
  EXPECT_TRUE(OnTop());
  for (const wchar_t* pidText : {L"0", L"abc"}) {
    frm->lvw().rows()[row].pid = PidOf(pidText);
    suite::MsgBoxAnswers answers(IDOK);
    frm->commands().EndProcess();
    EXPECT_EQ(answers.shown().size(), 1u);  // confirmed, but nothing to end
    EXPECT_FALSE(child.WaitExit(200));
  }
}

TEST_F(ProcessWindow, EndAndDeleteRemovesTheCopiedProgram) {
  suite::TempDir dir;
  std::filesystem::path exe = dir.path() / L"zv_copy.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  suite::ChildProcess child(L"", exe.wstring());
  ASSERT_TRUE(child.started());
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  EXPECT_TRUE(common::EqualsNoCase(frm->lvw().Text(row, kColPath), exe.wstring()));
  suite::MsgBoxAnswers answers(IDOK);
  SendMessageW(frm->cmd(2), BM_CLICK, 0, 0);
  ASSERT_EQ(answers.shown().size(), 1u);  // the confirmation only: no failure reported
  EXPECT_EQ(answers.shown()[0].text, DeleteConfirmText(frm->lvw().Text(row, kColPath)));
  EXPECT_TRUE(child.WaitExit(1000));
  EXPECT_FALSE(std::filesystem::exists(exe));
  EXPECT_TRUE(OnTop());
}

TEST_F(ProcessWindow, AFailedDeleteIsReportedNotTakenForSuccess) {
  suite::TempDir dir;
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  std::wstring missing = dir.wpath() + L"\\no_such_file.exe";
  frm->lvw().rows()[row].path = missing;
  suite::MsgBoxAnswers answers(IDOK);
  frm->commands().DeleteProcess();
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text, DeleteFailText(missing));
  EXPECT_TRUE(child.WaitExit(1000));
}

TEST_F(ProcessWindow, RightClickMarksThePriorityAndAMarkedItemSendsNothing) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  ASSERT_EQ(frm->lvw().Text(row, kColPriority), L"标准");
  std::vector<HMENU> popups;
  frm->commands().showPopup = [&](HMENU m, POINT) { popups.push_back(m); };
  frm->lvw().Select(-1);
  frm->commands().ListRightClick(RowPoint(row));
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], frm->commands().processMenu());
  EXPECT_EQ(frm->lvw().Selected(), row);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(frm->commands().ItemChecked(ID_MNUSETPROCLASSSUB0 + i), i == 3) << i;

  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUSETPROCLASSSUB0 + 1, 0);  // "高(&H)"
  EXPECT_EQ(GetPriorityClass(child.handle()), DWORD(HIGH_PRIORITY_CLASS));
  frm->Timer1Tick();
  row = frm->table().HaveItem(child.pid());
  EXPECT_EQ(frm->lvw().Text(row, kColPriority), L"高");
  frm->commands().ListRightClick(RowPoint(row));
  EXPECT_TRUE(frm->commands().ItemChecked(ID_MNUSETPROCLASSSUB0 + 1));
  EXPECT_FALSE(frm->commands().ItemChecked(ID_MNUSETPROCLASSSUB0 + 3));

  // The checked item sends no request: a class changed meanwhile stays.
  SetPriorityClass(child.handle(), IDLE_PRIORITY_CLASS);
  frm->commands().SetPriority(1);
  EXPECT_EQ(GetPriorityClass(child.handle()), DWORD(IDLE_PRIORITY_CLASS));
  EXPECT_TRUE(OnTop());
}

TEST_F(ProcessWindow, APriorityThatCannotBeSetIsReported) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  frm->lvw().rows()[row].pid = 4294967280u;  // a process that has gone meanwhile
  suite::MsgBoxAnswers answers(IDOK);
  frm->commands().SetPriority(0);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, PriorityFailText(L"suite_child.exe"));
  EXPECT_TRUE(answers.shown()[0].flags & MB_ICONERROR);
}

TEST_F(ProcessWindow, LockDisablesExactlyItsItemsAndRightClickThenActsAsTheLeftPress) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load(L"1"));
  EXPECT_FALSE(IsWindowVisible(frm->hwnd()));
  auto& c = frm->commands();
  EXPECT_FALSE(c.ProcessMenuEnabled());
  for (int id : {ID_DESKTOPCANCEL, ID_MNUEXIT, ID_MNUENDPRO}) EXPECT_FALSE(c.ItemEnabled(id)) << id;
  for (int id : {ID_MNUREFURBISH, ID_ZHUXIAO, ID_TURNOFF, ID_MNUDELPRO, ID_MNUFOLDER, ID_MNUONTOP, ID_HIDEME,
                 ID_SUODING, ID_DESKTOP, ID_TASKBAR_HIDE, ID_EXPLORER_OPEN, ID_MNUABOUT})
    EXPECT_TRUE(c.ItemEnabled(id)) << id;

  ShowWindow(frm->hwnd(), SW_SHOWNORMAL);
  int row = SelectPid(child.pid());
  ASSERT_GE(row, 0);
  int popups = 0;
  c.showPopup = [&](HMENU, POINT) { ++popups; };
  c.ListRightClick(RowPoint(row));
  EXPECT_EQ(popups, 0);
  EXPECT_TRUE(c.forminfo().loaded());
  EXPECT_EQ(c.forminfo().FilePath, frm->lvw().Text(row, kColPath));

  // The buttons still work.
  suite::MsgBoxAnswers answers(IDOK);
  SendMessageW(frm->cmd(1), BM_CLICK, 0, 0);
  EXPECT_TRUE(child.WaitExit(1000));
}

TEST_F(ProcessWindow, RightClickBesideTheRowsDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(Load());
  int popups = 0;
  frm->commands().showPopup = [&](HMENU, POINT) { ++popups; };
  RECT rc;
  GetClientRect(frm->lvw().hwnd(), &rc);
  frm->commands().ListRightClick({rc.right - 2, rc.bottom - 2});
  EXPECT_EQ(popups, 0);
  EXPECT_FALSE(frm->commands().forminfo().loaded());
}

TEST_F(ProcessWindow, OnTopMarkStartsClearAndTogglesTheTopmostState) {
  ASSERT_NO_FATAL_FAILURE(Load());
  auto& c = frm->commands();
  EXPECT_TRUE(OnTop());
  EXPECT_FALSE(c.ItemChecked(ID_MNUONTOP));
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUONTOP, 0);
  EXPECT_TRUE(c.ItemChecked(ID_MNUONTOP));
  EXPECT_TRUE(OnTop());
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUONTOP, 0);
  EXPECT_FALSE(c.ItemChecked(ID_MNUONTOP));
  EXPECT_FALSE(OnTop());
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_HIDEME, 0);
  EXPECT_FALSE(IsWindowVisible(frm->hwnd()));
}

TEST_F(ProcessWindow, ShutdownAsksFirstAndNoDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(Load());
  int shutdowns = 0;
  frm->commands().shutdown = [&] { ++shutdowns; };
  {
    suite::MsgBoxAnswers answers(IDNO);
    SendMessageW(frm->cmd(3), BM_CLICK, 0, 0);
    ASSERT_EQ(answers.shown().size(), 1u);
    EXPECT_EQ(answers.shown()[0].text, L"您确认要关机吗？");
    EXPECT_EQ(answers.shown()[0].title, L"关机确认");
    EXPECT_TRUE(answers.shown()[0].flags & MB_YESNO);
  }
  EXPECT_EQ(shutdowns, 0);
  EXPECT_FALSE(OnTop());
  suite::MsgBoxAnswers yes(IDYES);
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_TURNOFF, 0);
  EXPECT_EQ(shutdowns, 1);
}

TEST_F(ProcessWindow, ExitUnloadsTheWindow) {
  ASSERT_NO_FATAL_FAILURE(Load());
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUEXIT, 0);
  EXPECT_EQ(frm->hwnd(), nullptr);
}

TEST_F(ProcessWindow, ACriticalProcessIsRefusedWithAMessageAndItsFileKept) {
  suite::TempDir dir;
  std::filesystem::path exe = dir.path() / L"zv_critical.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  suite::ChildProcess child(L"", exe.wstring());
  FakeSystem system;
  system.critical = true;
  ASSERT_NO_FATAL_FAILURE(Load(L"2", system));
  ASSERT_GE(SelectPid(child.pid()), 0);
  for (int cmd : {ID_MNUENDPRO, ID_MNUDELPRO}) {
    suite::MsgBoxAnswers answers(IDOK);
    SendMessageW(frm->hwnd(), WM_COMMAND, cmd, 0);
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[1].text, CriticalRefusalText(L"zv_critical.exe"));
  }
  EXPECT_TRUE(child.Running());
  EXPECT_TRUE(std::filesystem::exists(exe));
  EXPECT_TRUE(OnTop());
}

TEST_F(ProcessWindow, APidReusedAfterTheListWasReadIsNotEnded) {
  suite::TempDir dir;
  std::filesystem::path exe = dir.path() / L"zv_reused.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  suite::ChildProcess listed(L"", exe.wstring());
  FakeSystem system;
  ASSERT_NO_FATAL_FAILURE(Load(L"2", system));
  ASSERT_GE(SelectPid(listed.pid()), 0);
  // The listed process ends and its PID now answers for another process.
  suite::ChildProcess other;
  listed.Kill();
  system.standIns[listed.pid()] = other.pid();
  suite::MsgBoxAnswers answers(IDOK);
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUENDPRO, 0);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_FALSE(other.WaitExit(300)) << "another process was ended in the listed one's place";
  // End and delete: the listed process has gone, so its file may go; the other process stays.
  ASSERT_EQ(frm->lvw().Selected(), frm->table().HaveItem(listed.pid()));
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUDELPRO, 0);
  EXPECT_EQ(answers.shown().size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(exe));
  EXPECT_FALSE(other.WaitExit(300));
}

TEST_F(ProcessWindow, ClosingTheWindowDuringTheDeleteWaitStopsTheDelete) {
  suite::TempDir dir;
  std::filesystem::path exe = dir.path() / L"zv_close.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  suite::ChildProcess child(L"", exe.wstring());
  ASSERT_NO_FATAL_FAILURE(Load());
  ASSERT_GE(SelectPid(child.pid()), 0);
  frm->SetChk(true);
  suite::MsgBoxAnswers answers(IDOK);
  PostMessageW(frm->hwnd(), WM_CLOSE, 0, 0);  // runs while the delete waits for the process to let go
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_MNUDELPRO, 0);
  EXPECT_EQ(frm->hwnd(), nullptr);
  EXPECT_TRUE(child.WaitExit(1000));
  EXPECT_TRUE(std::filesystem::exists(exe)) << "the delete went ahead after the window had gone";
  EXPECT_EQ(answers.shown().size(), 1u);
  EXPECT_FALSE(frm->TimerRunning());
  MSG msg;
  suite::PumpFor(1200);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "a timer of the thread was made";
}

TEST_F(ProcessWindow, NoCommandRunsWhileAnotherWaitsAndTheWaitEndsWithTheWindow) {
  suite::ChildProcess child;
  ASSERT_NO_FATAL_FAILURE(Load());
  ASSERT_GE(SelectPid(child.pid()), 0);
  suite::MsgBoxAnswers answers(IDOK);
  PostMessageW(frm->hwnd(), WM_COMMAND, ID_MNUENDPRO, 0);
  PostMessageW(frm->hwnd(), WM_COMMAND, ID_MNUEXIT, 0);
  ULONGLONG t0 = GetTickCount64();
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_EXPLORER_KILL2, 0);  // "关闭explorer2" waits 3 s
  EXPECT_GE(GetTickCount64() - t0, 2900u);
  EXPECT_TRUE(answers.shown().empty()) << "the end command ran inside the wait";
  EXPECT_NE(frm->hwnd(), nullptr) << "the exit ran inside the wait";
  EXPECT_TRUE(child.Running());
  EXPECT_FALSE(frm->commands().busy());

  PostMessageW(frm->hwnd(), WM_CLOSE, 0, 0);
  SendMessageW(frm->hwnd(), WM_COMMAND, ID_EXPLORER_KILL2, 0);
  EXPECT_EQ(frm->hwnd(), nullptr);
}
