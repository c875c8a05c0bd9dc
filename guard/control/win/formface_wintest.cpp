// The control centre's window under Wine: its tabs, menus and keys, and the pages that list windows and
// start-up entries.
#include "guard/control/win/formface.h"

#include <gtest/gtest.h>

#include "common/testing/win/child_process.h"
#include "common/testing/win/sibling_files.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "guard/control/win/testing/face_fixture.h"
#include "guard/monitors/start_delete.h"
#include "guard/monitors/win/testing/reg_values.h"

using namespace zorvix;
using ::test_support::FaceTest;
using ::test_support::kScratchRun;
using ::test_support::ScratchKeys;
using zorvix::test_support::ImportWithRegedit;
using zorvix::test_support::RawValue;
using zorvix::test_support::ReadRaw;
using zorvix::test_support::TextValue;
using zorvix::test_support::WriteRaw;

namespace {

std::wstring TabText(HWND tap, int index) {
  wchar_t buf[64]{};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buf;
  item.cchTextMax = 64;
  TabCtrl_GetItem(tap, index, &item);
  return buf;
}

std::wstring ColumnCaption(HWND list, int index) {
  wchar_t buf[64]{};
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = buf;
  c.cchTextMax = 64;
  return ListView_GetColumn(list, index, &c) ? buf : L"<none>";
}

int ColumnCount(HWND list) { return Header_GetItemCount(ListView_GetHeader(list)); }

std::wstring MenuText(HMENU menu, int position) {
  wchar_t buf[64]{};
  GetMenuStringW(menu, position, buf, 64, MF_BYPOSITION);
  return buf;
}

// Posts a key to the focused control and lets the program's routing handle it.
void Key(HWND fallback, WPARAM key, bool control = false, bool shift = false) {
  BYTE state[256]{};
  if (control) state[VK_CONTROL] = 0x80;
  if (shift) state[VK_SHIFT] = 0x80;
  SetKeyboardState(state);
  PostMessageW(GetFocus() ? GetFocus() : fallback, WM_KEYDOWN, key, 0);
  common::PumpMessages();
  BYTE none[256]{};
  SetKeyboardState(none);
}

}  // namespace

TEST_F(FaceTest, SevenTabsAndEachPageSetsItsColumnsAndAction) {
  Formface& f = Open(1);
  ASSERT_EQ(TabCtrl_GetItemCount(f.tap()), kPageCount);
  for (int i = 0; i < kPageCount; ++i) EXPECT_EQ(TabText(f.tap(), i), PageAt(i + 1).caption);
  EXPECT_EQ(f.pageType(), PageType::Home);
  EXPECT_TRUE(IsWindowVisible(f.texhelp()) || !IsWindowVisible(f.hwnd()));
  EXPECT_FALSE(GetWindowLongW(f.lvw().hwnd(), GWL_STYLE) & WS_VISIBLE) << "the first page shows its text";
  EXPECT_FALSE(common::ui::WindowText(f.texhelp()).empty());
  for (int position = 2; position <= kPageCount; ++position) {
    SCOPED_TRACE(position);
    f.SelectTab(position);
    const FacePage& page = PageAt(position);
    EXPECT_EQ(int(f.pageType()), position);
    EXPECT_EQ(TabCtrl_GetCurSel(f.tap()), position - 1);
    ASSERT_EQ(ColumnCount(f.lvw().hwnd()), int(page.columns.size())) << "the last page's columns are gone";
    for (size_t c = 0; c < page.columns.size(); ++c) EXPECT_EQ(ColumnCaption(f.lvw().hwnd(), int(c)), page.columns[c].caption);
    EXPECT_EQ(common::ui::WindowText(f.command4()), page.command4);
    EXPECT_TRUE(GetWindowLongW(f.lvw().hwnd(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(f.texhelp(), GWL_STYLE) & WS_VISIBLE);
    bool checks = ListView_GetExtendedListViewStyle(f.lvw().hwnd()) & LVS_EX_CHECKBOXES;
    EXPECT_EQ(checks, page.type == PageType::Repair) << "check boxes on the switch page only";
  }
  f.SelectTab(1);
  EXPECT_EQ(common::ui::WindowText(f.command4()), L"官方网站(&D)");
  f.Command4Click();
  EXPECT_EQ(opened, std::vector<std::wstring>{kHomeSite});
}

TEST_F(FaceTest, MenusAndButtonsOpenTheToolsAndTheOtherWindows) {
  int process = 0, connections = 0, firewall = 0, cleared = 0;
  links.showProcessWindow = [&] { ++process; };
  links.openFirewallConnections = [&] { ++connections; };
  links.openFirewall = [&] { ++firewall; };
  links.clearAllLists = [&] { ++cleared; };
  Formface& f = Open(1);
  HMENU bar = f.menu();
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  EXPECT_EQ(MenuText(bar, 0), L"操作(&F)");
  EXPECT_EQ(MenuText(bar, 1), L"编辑(&E)");
  EXPECT_EQ(MenuText(bar, 2), L"工具(&T)");
  EXPECT_EQ(MenuText(bar, 3), L"帮助(&H)");
  EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 0), L"删除进程()&D");

  std::wstring app = common::AppFolder();
  suite::SiblingFiles tools({L"view.exe", L"clear.exe", L"year.exe"});
  for (int i = 0; i < 4; ++i) SendMessageW(f.hwnd(), WM_COMMAND, MAKEWPARAM(Formface::kIdCmd0 + i, BN_CLICKED),
                                           LPARAM(f.cmd(i)));
  for (int id : {Formface::kMnuProcess, Formface::kMnuFirewall, Formface::kMnuMonitor, Formface::kMnuClearAll,
                 Formface::kMnuWanIp})
    SendMessageW(f.hwnd(), WM_COMMAND, id, 0);
  std::wstring view = L"\"" + app + L"view.exe\"";
  EXPECT_EQ(started, (std::vector<std::wstring>{view, L"\"" + app + L"clear.exe\"", view, L"\"" + app + L"year.exe\" ip"}));
  EXPECT_EQ(process, 2);
  EXPECT_EQ(connections, 1) << "the button opens the connections view";
  EXPECT_EQ(firewall, 1) << "the menu opens the window as it is";
  EXPECT_EQ(cleared, 1);
}

TEST_F(FaceTest, AToolThatIsNotBesideTheGuardIsNamedAndNothingStarts) {
  const std::wstring app = common::AppFolder();
  for (const wchar_t* tool : {L"view.exe", L"clear.exe", L"year.exe"}) ASSERT_FALSE(common::FileExists(app + tool));
  Formface& f = Open(1);
  f.CmdClick(0);
  f.CmdClick(1);
  f.MenuCommand(Formface::kMnuWanIp);
  EXPECT_TRUE(started.empty());
  ASSERT_EQ(answers.shown().size(), 3u);
  EXPECT_EQ(answers.shown()[0].text, common::SiblingToolMissingText(app + L"view.exe"));
  EXPECT_EQ(answers.shown()[1].text, common::SiblingToolMissingText(app + L"clear.exe"));
  EXPECT_EQ(answers.shown()[2].text, common::SiblingToolMissingText(app + L"year.exe"));
}

TEST_F(FaceTest, LocalAddressIsCopiedThenShown) {
  links.localIp = [] { return std::optional<std::wstring>(L"192.168.7.9"); };
  Formface& f = Open(1);
  SendMessageW(f.hwnd(), WM_COMMAND, Formface::kMnuLocalIp, 0);
  EXPECT_EQ(common::GetClipboardText(), L"192.168.7.9");
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, LocalIpText(L"192.168.7.9"));
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
}

TEST_F(FaceTest, KeysSwitchPagesRefreshAndCloseTheWindow) {
  Formface& f = Open(1);
  ShowWindow(f.hwnd(), SW_SHOW);
  SetForegroundWindow(f.hwnd());
  SetFocus(f.tap());
  Key(f.hwnd(), VK_TAB, true);
  EXPECT_EQ(f.pageType(), PageType::System);
  Key(f.hwnd(), VK_TAB, true, true);
  Key(f.hwnd(), VK_TAB, true, true);
  EXPECT_EQ(f.pageType(), PageType::Repair) << "Ctrl+Shift+Tab goes back round";
  Key(f.hwnd(), VK_TAB);
  EXPECT_EQ(GetFocus(), f.lvw().hwnd()) << "Tab moves from the tab strip to the list";
  f.SetTicked(1, true);
  ASSERT_TRUE(f.Ticked(1));
  Key(f.hwnd(), VK_F5);
  EXPECT_FALSE(f.Ticked(1)) << "F5 rebuilds the page";
  Key(f.hwnd(), VK_ESCAPE);
  EXPECT_TRUE(suite::PumpUntil([&] { return !f.loaded(); }, 2000)) << "Esc closes the window";
}

TEST_F(FaceTest, WindowsPageListsTitledWindowsAndClosesTheChosenOne) {
  suite::ChildProcess child(L"--window 控制中心测试窗口");
  ASSERT_TRUE(suite::PumpUntil([] { return FindWindowW(L"SuiteChild", L"控制中心测试窗口") != nullptr; }, 5000));
  Formface& f = Open(int(PageType::Windows));
  int row = FindRow(1, L"控制中心测试窗口");
  ASSERT_GE(row, 0);
  EXPECT_EQ(f.lvw().Text(row, 0), std::to_wstring(row + 1)) << "rows are numbered from 1";
  for (int i = 0; i < f.lvw().Count(); ++i) EXPECT_FALSE(f.lvw().Text(i, 1).empty());

  f.Command5Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"对不起！现在无法查看应用程序目录……    ");

  f.lvw().Select(row);
  answers.Queue(IDCANCEL);
  f.Command4Click();
  EXPECT_GE(FindRow(1, L"控制中心测试窗口"), 0) << "Cancel does nothing";
  f.Command4Click();
  EXPECT_EQ(answers.shown().back().text, L"您确实要关闭窗口进程【 控制中心测试窗口 】吗？  ");
  EXPECT_EQ(FindRow(1, L"控制中心测试窗口"), -1);
  EXPECT_TRUE(child.WaitExit(5000)) << "the window was asked to close";
}

TEST_F(FaceTest, StartPageListsEveryValueWithItsLocation) {
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Tool", L"\"C:\\apps\\tool.exe\" /min");
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"", L"notepad.exe");
  ScratchKeys::Write(HKEY_LOCAL_MACHINE, kScratchRun, L"Old32", L"C:\\old\\old32.exe", KEY_WOW64_32KEY);
  Formface& f = Open(int(PageType::Start));
  ASSERT_EQ(f.lvw().Count(), 3);
  int tool = FindRow(0, L"Tool");
  ASSERT_GE(tool, 0);
  EXPECT_EQ(Row(tool, 4), (std::vector<std::wstring>{L"Tool", L"?", L"\"C:\\apps\\tool.exe\" /min",
                                                     L"HKEY_CURRENT_USER\\" + kScratchRun + L"\\Tool"}));
  int unnamed = FindRow(0, L"(预设值)");
  ASSERT_GE(unnamed, 0);
  EXPECT_EQ(f.lvw().Text(unnamed, 3), L"HKEY_CURRENT_USER\\" + kScratchRun + L"\\(预设值)");
  EXPECT_NE(common::FindNoCase(f.lvw().Text(unnamed, 2), L"\\notepad.exe"), std::wstring::npos)
      << "a bare name is placed in its system folder";
  int old = FindRow(0, L"Old32");
  ASSERT_GE(old, 0);
  EXPECT_EQ(f.lvw().Text(old, 3), L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\ZorvixControlTest\\Run\\Old32");
  LVITEMW it{LVIF_IMAGE};
  it.iItem = tool;
  ASSERT_TRUE(ListView_GetItem(f.lvw().hwnd(), &it));
  EXPECT_GE(it.iImage, 0) << "a program without an icon shows the window's picture";
}

TEST_F(FaceTest, StartPageTrustMarkFollowsTheProgram) {
  std::wstring child = suite::BinFolder() + L"suite_child.exe";
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Signed", L"\"" + child + L"\" --tray");
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Other", L"C:\\apps\\other.exe");
  std::vector<std::wstring> asked;
  links.isTrusted = [&](const std::wstring& program) {
    asked.push_back(program);
    return common::EqualsNoCase(program, child);
  };
  Formface& f = Open(int(PageType::Start));
  EXPECT_EQ(f.lvw().Text(FindRow(0, L"Signed"), 1), L"√");
  EXPECT_EQ(f.lvw().Text(FindRow(0, L"Other"), 1), L"?");
  EXPECT_NE(std::find(asked.begin(), asked.end(), child), asked.end()) << "asked about the program, not the line";
}

TEST_F(FaceTest, DeletingAStartEntryRemovesTheValueThenForgetsItsAllow) {
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Tool", L"C:\\apps\\tool.exe");
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Keep", L"C:\\apps\\keep.exe");
  std::vector<std::wstring> forgotten;
  links.forgetAllowedLocation = [&](const std::wstring& location) {
    forgotten.push_back(location);
    return true;
  };
  Formface& f = Open(int(PageType::Start));
  f.lvw().Select(FindRow(0, L"Tool"));
  answers.Queue(IDCANCEL);
  f.Command4Click();
  EXPECT_TRUE(ScratchKeys::Exists(HKEY_CURRENT_USER, kScratchRun, L"Tool"));
  f.Command4Click();
  EXPECT_EQ(answers.shown().back().text, L"您确实要删除【 Tool 】这个启动项目吗？");
  EXPECT_FALSE(ScratchKeys::Exists(HKEY_CURRENT_USER, kScratchRun, L"Tool"));
  EXPECT_TRUE(ScratchKeys::Exists(HKEY_CURRENT_USER, kScratchRun, L"Keep"));
  EXPECT_EQ(FindRow(0, L"Tool"), -1);
  EXPECT_EQ(forgotten, std::vector<std::wstring>{common::ToLower(L"HKEY_CURRENT_USER\\" + kScratchRun + L"\\Tool")});
}

TEST_F(FaceTest, ADeletedStartEntryComesBackFromTheBackupFile) {
  const RawValue value = TextValue(L"\"C:\\apps\\tool.exe\" /min");
  ASSERT_TRUE(WriteRaw(HKEY_LOCAL_MACHINE, kScratchRun, L"Tool", value, KEY_WOW64_32KEY));
  Formface& f = Open(int(PageType::Start));
  int row = FindRow(0, L"Tool");
  ASSERT_GE(row, 0);
  f.lvw().Select(row);
  f.Command4Click();
  ASSERT_FALSE(ScratchKeys::Exists(HKEY_LOCAL_MACHINE, kScratchRun, L"Tool", KEY_WOW64_32KEY));
  ASSERT_TRUE(ImportWithRegedit(links.startupBackup));
  EXPECT_EQ(ReadRaw(HKEY_LOCAL_MACHINE, kScratchRun, L"Tool", KEY_WOW64_32KEY), value);
  EXPECT_FALSE(ScratchKeys::Exists(HKEY_LOCAL_MACHINE, kScratchRun, L"Tool", KEY_WOW64_64KEY)) << "in its own view";
}

TEST_F(FaceTest, AStartEntryThatCannotBeSavedFirstIsNotDeleted) {
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Tool", L"C:\\apps\\tool.exe");
  files.Write(L"sys\\startup-backup.reg\\in-the-way", "");  // a folder where the file goes: nothing is written
  Formface& f = Open(int(PageType::Start));
  f.lvw().Select(FindRow(0, L"Tool"));
  f.Command4Click();
  EXPECT_TRUE(ScratchKeys::Exists(HKEY_CURRENT_USER, kScratchRun, L"Tool"));
  EXPECT_GE(FindRow(0, L"Tool"), 0);
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(std::optional<std::wstring>(answers.shown()[1].text),
            StartDeleteProblem(StartDelete::NotSaved, L"Tool", L"HKEY_CURRENT_USER\\" + kScratchRun + L"\\Tool",
                               links.startupBackup));
}

TEST_F(FaceTest, AStartEntryThatCannotBeDeletedStaysListedAndAllowed) {
  ScratchKeys::Write(HKEY_LOCAL_MACHINE, kScratchRun, L"Machine", L"C:\\apps\\machine.exe");
  bool forgot = false;
  links.forgetAllowedLocation = [&](const std::wstring&) { return forgot = true; };
  // As for a standard user under HKEY_LOCAL_MACHINE: the registry refuses the delete.
  links.deleteStartValue = [](const RunValue& v, const std::wstring&) {
    return v.root == RegRoot::LocalMachine ? StartDelete::Refused : StartDelete::Deleted;
  };
  Formface& f = Open(int(PageType::Start));
  int row = FindRow(0, L"Machine");
  ASSERT_GE(row, 0);
  f.lvw().Select(row);
  f.Command4Click();
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text,
            DeleteStartFailedText(L"Machine", L"HKEY_LOCAL_MACHINE\\" + kScratchRun + L"\\Machine"));
  EXPECT_EQ(answers.shown()[1].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  EXPECT_GE(FindRow(0, L"Machine"), 0);
  EXPECT_FALSE(forgot) << "the allow list is rewritten only after the value is gone";
}

TEST_F(FaceTest, CopyListPutsTheThirdColumnOnTheClipboard) {
  ScratchKeys::Write(HKEY_CURRENT_USER, kScratchRun, L"Tool", L"C:\\apps\\tool.exe -x");
  Formface& f = Open(int(PageType::Start));
  common::SetClipboardText(f.hwnd(), L"before");
  SendMessageW(f.hwnd(), WM_COMMAND, Formface::kMnuCopy, 0);
  EXPECT_EQ(common::GetClipboardText(), L"before") << "no row chosen, nothing copied";
  f.lvw().Select(0);
  SendMessageW(f.hwnd(), WM_COMMAND, Formface::kMnuCopy, 0);
  EXPECT_EQ(common::GetClipboardText(), L"C:\\apps\\tool.exe -x");
}

TEST_F(FaceTest, MnemonicsReachTheButtonsAndEscLeavesFromTheText) {
  suite::SiblingFiles tools({L"view.exe"});
  Formface& f = Open(1);
  ShowWindow(f.hwnd(), SW_SHOW);
  SetForegroundWindow(f.hwnd());
  SetFocus(f.texhelp());
  PostMessageW(GetFocus(), WM_SYSCHAR, 'm', 1 << 29);  // Alt+M: "系统监视器(&M)"
  common::PumpMessages();
  EXPECT_EQ(started, std::vector<std::wstring>{L"\"" + common::AppFolder() + L"view.exe\""});
  PostMessageW(GetFocus(), WM_SYSCHAR, 'v', 1 << 29);  // Alt+V: "查看目录(&V)" on the first page
  common::PumpMessages();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kNoFolderText);
  SetFocus(f.texhelp());
  Key(f.hwnd(), VK_ESCAPE);
  EXPECT_TRUE(suite::PumpUntil([&] { return !f.loaded(); }, 2000)) << "Esc closes the window from the text too";
}
