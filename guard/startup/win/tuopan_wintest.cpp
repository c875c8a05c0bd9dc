// The tray form in-process: its icon, its menu read back item by item, the check mark against the
// registry, the address message and every action's command line.
#include "guard/startup/win/tuopan.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "common/path.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/sibling_files.h"
#include "common/testing/win/text_files.h"
#include "common/win/clipboard.h"
#include "common/win/registry.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "guard/guard_state.h"
#include "guard/startup/tray_text.h"
#include "guard/startup/win/environment.h"

using namespace zorvix;

namespace {

struct Call {
  std::wstring what;  // "start" or the shell verb
  std::wstring text;
  int show;
  bool operator==(const Call&) const = default;
};
void PrintTo(const Call& c, std::ostream* os) {
  *os << suite::Ansi(c.what) << " [" << suite::Ansi(c.text) << "] " << c.show;
}

// Records what the menu would start, and answers with `startWorks`.
struct Recorder {
  std::vector<Call> calls;
  bool startWorks = true;
  int exitWindows = 0;
  TraySystem System() {
    TraySystem s;
    s.start = [this](const std::wstring& line, int show) {
      calls.push_back({L"start", line, show});
      return startWorks;
    };
    s.shell = [this](HWND, const std::wstring& verb, const std::wstring& file, int show) {
      calls.push_back({verb, file, show});
      return true;
    };
    s.exitWindows = [this] { ++exitWindows; };
    return s;
  }
};

// The menu as text: captions, "-" for separators, a submenu's rows in brackets; check and grey marks.
std::wstring MenuText(HMENU menu) {
  std::wstring out;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t buf[64]{};
    MENUITEMINFOW mi{sizeof mi};
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    mi.dwTypeData = buf;
    mi.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &mi);
    if (i) out += L"|";
    if (mi.fType & MFT_SEPARATOR) {
      out += L"-";
      continue;
    }
    out += buf;
    if (mi.fState & MFS_CHECKED) out += L"(v)";
    if (mi.fState & MFS_DISABLED) out += L"(x)";
    if (mi.hSubMenu) out += L"[" + MenuText(mi.hSubMenu) + L"]";
  }
  return out;
}

std::wstring Program() { return common::JoinPath(ProgramFolder(), L"zorvix.exe"); }

// Keeps the start-up value "safe" as it was before the test.
class RunValueKeeper {
 public:
  RunValueKeeper() : old_(common::QueryRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName)) {}
  ~RunValueKeeper() {
    if (old_)
      common::WriteRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, *old_);
    else
      common::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kRunValueName);
  }

 private:
  std::optional<std::wstring> old_;
};

bool Checked(Tuopan& t) { return GetMenuState(t.tray(), kTrayAutorun, MF_BYCOMMAND) & MF_CHECKED; }

class TrayFixture : public testing::Test {
 protected:
  void SetUp() override {
    Guard() = GuardState{};
    Guard().windowsFolder = common::GetWindowsFolder();
    hooks.openControlCentre = [this] { ++opened; };
    hooks.showProcessWindow = [this] { ++processShown; };
    hooks.openFirewall = [this] { ++firewall; };
    hooks.exit = [this] { ++exits; };
    ASSERT_TRUE(tray.Load(hooks, LoadIconW(nullptr, IDI_APPLICATION)));
  }
  Recorder rec;
  Tuopan tray{rec.System()};
  Tuopan::Hooks hooks;
  int opened = 0, processShown = 0, firewall = 0, exits = 0;
};

}  // namespace

TEST_F(TrayFixture, LoadAddsTheIconWithTheTipAndStaysHidden) {
  EXPECT_TRUE(tray.iconShown());
  EXPECT_EQ(common::ui::WindowText(tray.hwnd()), L"菜单列表");
  EXPECT_FALSE(IsWindowVisible(tray.hwnd()));
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(tray.tip().rfind(L"欢迎使用《Zorvix安全卫士》\r\n", 0), 0u);
  EXPECT_TRUE(tray.tip().ends_with(WeekdayText(now.wDayOfWeek + 1)));
  EXPECT_NE(tray.tip().find(std::to_wstring(now.wYear)), std::wstring::npos) << "today's date in the tip";

  // The icon is there: the shell accepts a change to it, and no longer once the form is unloaded.
  NOTIFYICONDATAW nid{sizeof nid};
  nid.hWnd = tray.hwnd();
  nid.uID = 1;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &nid));
  tray.Unload();
  EXPECT_FALSE(tray.iconShown());
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &nid));
}

TEST_F(TrayFixture, MenuHoldsEveryItemInOrder) {
  RunValueKeeper keep;
  common::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kRunValueName);
  tray.RefreshAutorunCheck();
  EXPECT_EQ(MenuText(tray.tray()),
            L"【Zorvix安全卫士】|系统监视器|-|"
            L"系统维护工具[注册表编辑器|组策略管理器|系统配置程序|-|INTERNET 选项|桌面背景设置|控制面板|-|"
            L"内网 IP 地址|公网 IP 地址]|-|系统进程管理|当前网络连接|-|"
            L"我的电脑[【C】盘|【D】盘|【E】盘|【F】盘|【G】盘|【H】盘|【I】盘|【J】盘]|"
            L"关于软件[开机时自动运行|-|最新软件升级|帮助主题(x)|关于]|-|立即关闭电脑|软件退出");
}

TEST_F(TrayFixture, CheckMarkFollowsTheRegistryAndTheToggleWritesIt) {
  RunValueKeeper keep;
  common::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kRunValueName);
  tray.RefreshAutorunCheck();
  EXPECT_FALSE(Checked(tray)) << "no value, no mark";
  common::WriteRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, L"\"" + Program() + L"\"");
  tray.RefreshAutorunCheck();
  EXPECT_TRUE(Checked(tray));
  common::WriteRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, L"C:\\elsewhere\\zorvix.exe");
  tray.RefreshAutorunCheck();
  EXPECT_FALSE(Checked(tray)) << "another program under the same name";

  tray.Command(kTrayAutorun);  // set: the value now names this program
  EXPECT_TRUE(Checked(tray));
  EXPECT_TRUE(NamesProgram(common::ReadRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName), Program()));
  tray.Command(kTrayAutorun);  // cleared: the value is gone
  EXPECT_FALSE(Checked(tray));
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName));

  // The mark is read again each time the menu pops up.
  tray.showPopup = [](HMENU, POINT) {};
  common::WriteRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, Program());
  tray.SysTrayMouseEventHandler();
  EXPECT_TRUE(Checked(tray));
}

TEST_F(TrayFixture, LocalAddressGoesToTheClipboardAndTheMessage) {
  suite::MsgBoxAnswers answers;
  tray.Command(kTrayNetIp);
  ASSERT_EQ(answers.shown().size(), 1u);
  const auto& m = answers.shown()[0];
  std::wstring address = common::GetClipboardText();
  EXPECT_TRUE(std::regex_match(suite::Ansi(address), std::regex(R"(\d+\.\d+\.\d+\.\d+)"))) << suite::Ansi(address);
  EXPECT_EQ(m.text, LocalIpMessage(address));
  EXPECT_EQ(m.title, L"内网IP地址");
  EXPECT_EQ(m.flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
}

namespace {
int __stdcall OldSockets(WORD, LPWSADATA data) {
  data->wVersion = MAKEWORD(1, 0);
  data->iMaxSockets = 10;
  return 0;
}
int __stdcall NoSockets(WORD, LPWSADATA) { return WSASYSNOTREADY; }
}  // namespace

TEST(TrayLocalAddress, AFailingSocketLayerIsToldAndTheGuardRunsOn) {
  suite::MsgBoxAnswers answers;
  EXPECT_FALSE(GetLocalIP(OldSockets));
  EXPECT_FALSE(GetLocalIP(NoSockets));
  // Reaching this line is the point: the look-up did not end the process.
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[0].text, L"Windows Sockets version 1.0 is not supported by winsock.dll ");
  EXPECT_EQ(answers.shown()[1].flags & MB_ICONMASK, UINT(MB_ICONERROR));
}

TEST_F(TrayFixture, ClicksOnTheIcon) {
  std::vector<HWND> foregroundAtPopup;
  tray.showPopup = [&](HMENU menu, POINT) {
    EXPECT_EQ(menu, tray.tray());
    foregroundAtPopup.push_back(GetForegroundWindow());
  };
  SendMessageW(tray.hwnd(), 0x205, 1, WM_RBUTTONDOWN);
  ASSERT_EQ(foregroundAtPopup.size(), 1u);
  EXPECT_EQ(foregroundAtPopup[0], tray.hwnd()) << "the form comes to the front before the menu";
  EXPECT_EQ(opened, 0);
  SendMessageW(tray.hwnd(), 0x205, 1, WM_LBUTTONDOWN);
  EXPECT_EQ(opened, 1);
  SendMessageW(tray.hwnd(), 0x205, 1, WM_MOUSEMOVE);
  SendMessageW(tray.hwnd(), 0x205, 1, WM_RBUTTONUP);
  EXPECT_EQ(foregroundAtPopup.size(), 1u);
  EXPECT_EQ(opened, 1);
}

TEST_F(TrayFixture, ItemsStartTheirToolsWithTheirCommandLines) {
  const std::wstring app = common::AppFolder();
  suite::SiblingFiles tools({L"view.exe", L"year.exe"});
  const std::wstring drive = common::GetWindowsFolder().substr(0, 2);
  for (int id : std::initializer_list<int>{kTrayView, kTrayRegedit, kTrayGroup, kTrayConfig, kTrayInternet, kTrayDesktop, kTrayControl,
                 kTrayNetIpWan, kTrayDownload, kTrayDisk0 + 2, kTrayDisk0 + 7, kTrayHelp})
    SendMessageW(tray.hwnd(), WM_COMMAND, id, 0);
  auto quoted = [](const std::wstring& p) { return L"\"" + p + L"\""; };  // paths are always quoted
  std::vector<Call> expected = {
      {L"start", quoted(app + L"view.exe"), SW_SHOWNORMAL},
      {L"start", L"regedit.exe", SW_SHOWMAXIMIZED},
      {L"open", L"gpedit.msc", SW_HIDE},
      {L"start", L"msconfig.exe", SW_SHOWNORMAL},
      {L"start", quoted(drive + L"\\WINDOWS\\PCHealth\\HelpCtr\\Binaries\\msconfig.exe"), SW_SHOWNORMAL},
      {L"start", L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0", SW_SHOW},
      {L"start", L"rundll32 shell32,Control_RunDLL desk.cpl", SW_SHOWMINIMIZED},
      {L"start", L"control.exe ", SW_SHOWNORMAL},
      {L"start", quoted(app + L"year.exe") + L" ip", SW_SHOWNORMAL},
      {L"open", app + L"download.htm", SW_HIDE},
      {L"explore", L"E:\\", SW_SHOWNORMAL},
      {L"explore", L"J:\\", SW_SHOWNORMAL},
  };
  EXPECT_EQ(rec.calls, expected);

  SendMessageW(tray.hwnd(), WM_COMMAND, kTrayProcess, 0);
  SendMessageW(tray.hwnd(), WM_COMMAND, kTrayNetwall, 0);
  SendMessageW(tray.hwnd(), WM_COMMAND, kTrayMain, 0);
  SendMessageW(tray.hwnd(), WM_COMMAND, kTrayExit, 0);
  EXPECT_EQ(processShown, 1);
  EXPECT_EQ(firewall, 1);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(exits, 1);
}

TEST_F(TrayFixture, AToolThatIsNotBesideTheGuardIsNamedAndNothingStarts) {
  const std::wstring app = common::AppFolder();
  ASSERT_FALSE(common::FileExists(app + L"view.exe"));
  ASSERT_FALSE(common::FileExists(app + L"year.exe"));
  suite::MsgBoxAnswers answers;
  tray.Command(kTrayView);
  tray.Command(kTrayNetIpWan);
  EXPECT_TRUE(rec.calls.empty());
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[0].text, common::SiblingToolMissingText(app + L"view.exe"));
  EXPECT_EQ(answers.shown()[1].text, common::SiblingToolMissingText(app + L"year.exe"));
  EXPECT_EQ(answers.shown()[1].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
}

TEST_F(TrayFixture, ACloseFromOutsideLeavesTheTrayWindowAndItsIcon) {
  SendMessageW(tray.hwnd(), WM_CLOSE, 0, 0);
  PostMessageW(tray.hwnd(), WM_CLOSE, 0, 0);
  suite::PumpFor(100);
  ASSERT_TRUE(IsWindow(tray.hwnd()));
  EXPECT_TRUE(tray.iconShown());
  NOTIFYICONDATAW nid{sizeof nid};
  nid.hWnd = tray.hwnd();
  nid.uID = 1;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &nid)) << "the shell still has the icon";
  tray.Unload();  // the guard's own unload still takes it down
  EXPECT_EQ(tray.hwnd(), nullptr);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &nid));
}

TEST_F(TrayFixture, ShutdownAsksFirstAndFallsBackWhenTheToolWillNotStart) {
  suite::MsgBoxAnswers answers(IDCANCEL);
  tray.Command(kTrayTurnOffPc);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONQUESTION));
  EXPECT_EQ(answers.shown()[0].flags & MB_TYPEMASK, UINT(MB_OKCANCEL));
  EXPECT_TRUE(rec.calls.empty()) << "cancel shuts nothing down";

  answers.Queue(IDOK);
  tray.Command(kTrayTurnOffPc);
  EXPECT_EQ(rec.calls, (std::vector<Call>{{L"start", L"shutdown.exe  -s -f -t 00 ", SW_SHOWMINNOACTIVE}}));
  EXPECT_EQ(rec.exitWindows, 0);

  rec.startWorks = false;
  answers.Queue(IDOK);
  tray.Command(kTrayTurnOffPc);
  EXPECT_EQ(rec.exitWindows, 1);
}

TEST_F(TrayFixture, ARestartedShellGetsTheIconBack) {
  NOTIFYICONDATAW nid{sizeof nid};
  nid.hWnd = tray.hwnd();
  nid.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &nid));  // as a restarted shell would have forgotten it
  ASSERT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &nid));
  SendMessageW(tray.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray.iconShown());
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &nid));
}
