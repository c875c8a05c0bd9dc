#include "guard/startup/win/tuopan.h"

#include "common/path.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/msgbox.h"
#include "common/win/registry.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "guard/process/process_actions.h"
#include "guard/guard_state.h"
#include "guard/sibling_tools.h"
#include "guard/startup/tray_text.h"
#include "guard/startup/win/environment.h"

namespace zorvix {
namespace {

constexpr UINT kTrayCallback = 0x205;
constexpr UINT kTrayId = 1;
constexpr UINT_PTR kRetryTimer = 1;
constexpr UINT kRetryMs = 3000;
constexpr wchar_t kShutdownCommand[] = L"shutdown.exe  -s -f -t 00 ";

std::wstring ShortDateToday() {
  wchar_t buf[80]{};
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buf, 80);
  return n > 0 ? std::wstring(buf, n - 1) : L"";
}

std::wstring Weekstr() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TrayTip(ShortDateToday(), now.wDayOfWeek + 1);
}

// The program this guard registers to start with Windows: its folder and "zorvix.exe".
std::wstring GuardProgram() { return common::JoinPath(ProgramFolder(), L"zorvix.exe"); }

}  // namespace

TraySystem TraySystem::Real() {
  TraySystem s;
  s.start = [](const std::wstring& line, int show) { return common::StartCommand(line, show); };
  s.shell = [](HWND owner, const std::wstring& verb, const std::wstring& file, int show) {
    return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, verb.c_str(), file.c_str(), L"", L"", show)) > 32;
  };
  s.exitWindows = [] {
    common::EnableShutdownPrivilege();
    ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0);
  };
  return s;
}

std::optional<std::wstring> GetLocalIP(SocketStartup startup) {
  WSADATA data{};
  if (!startup) startup = WSAStartup;
  int failed = startup(MAKEWORD(1, 1), &data);
  auto problem = SocketLayerProblem(failed ? 0 : LOBYTE(data.wVersion), failed ? 0 : HIBYTE(data.wVersion),
                                    failed ? 0 : data.iMaxSockets);
  if (problem) {
    // A guard keeps running without a socket layer; only this look-up is given up.
    common::MsgBox(nullptr, *problem, MB_ICONERROR | MB_OK);
    if (!failed) WSACleanup();
    return std::nullopt;
  }
  std::wstring address;
  char name[256]{};
  if (gethostname(name, sizeof name) != 0) name[0] = 0;
  if (hostent* host = gethostbyname(name)) {
    // The last address of the list is the one reported.
    for (int i = 0; host->h_addrtype == AF_INET && host->h_addr_list[i]; ++i)
      address = AddressText(reinterpret_cast<const uint8_t*>(host->h_addr_list[i]));
  }
  WSACleanup();
  return address;
}

Tuopan::Tuopan(TraySystem system) : system_(std::move(system)) {
  showPopup = [this](HMENU menu, POINT at) {
    int id = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, hwnd(), nullptr);
    PostMessageW(hwnd(), WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
    if (id)
      PostMessageW(hwnd(), WM_COMMAND, id, 0);
    else if (iconShown_)
      Shell_NotifyIconW(NIM_SETFOCUS, &nid_);  // a menu closed with Esc gives the keyboard back to the tray
  };
}

Tuopan::~Tuopan() {
  RemoveTrayIcon();
  if (tray_) DestroyMenu(tray_);
}

bool Tuopan::Load(Hooks hooks, HICON icon) {
  if (hwnd()) return true;
  hooks_ = std::move(hooks);
  icon_ = icon;
  tip_ = Weekstr();
  // A hidden top-level window: it hears the shell's restart broadcast and the tray's messages.
  if (!Create(L"ZorvixTuopan", kTrayCaption, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, nullptr, icon))
    return false;
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // The shell's restart message must reach the guard even when it runs elevated.
  ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  BuildMenu();
  AddTrayIcon();
  return true;
}

void Tuopan::Unload() {
  RemoveTrayIcon();
  Destroy();
}

bool Tuopan::AddTrayIcon() {
  nid_ = NOTIFYICONDATAW{};
  nid_.cbSize = sizeof nid_;
  nid_.hWnd = hwnd();
  nid_.uID = kTrayId;
  nid_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  nid_.uCallbackMessage = kTrayCallback;
  nid_.hIcon = icon_;
  lstrcpynW(nid_.szTip, tip_.c_str(), ARRAYSIZE(nid_.szTip));
  iconShown_ = Shell_NotifyIconW(NIM_ADD, &nid_) != FALSE;
  // A shell still starting at logon may refuse the icon for a while: without it the guard is unreachable.
  if (iconShown_)
    KillTimer(hwnd(), kRetryTimer);
  else
    SetTimer(hwnd(), kRetryTimer, kRetryMs, nullptr);
  return iconShown_;
}

void Tuopan::SetStateLine(const std::wstring& line) {
  std::wstring tip = Weekstr() + (line.empty() ? L"" : L"\r\n" + line);
  if (tip == tip_) return;
  tip_ = tip;
  lstrcpynW(nid_.szTip, tip_.c_str(), ARRAYSIZE(nid_.szTip));
  NOTIFYICONDATAW n = nid_;
  n.uFlags = NIF_TIP;
  if (iconShown_) Shell_NotifyIconW(NIM_MODIFY, &n);
}

bool Tuopan::Balloon(const std::wstring& text) {
  balloon_ = text;
  if (!iconShown_) return false;
  NOTIFYICONDATAW n = nid_;
  n.uFlags = NIF_INFO;
  n.dwInfoFlags = NIIF_WARNING;
  lstrcpynW(n.szInfo, text.c_str(), ARRAYSIZE(n.szInfo));
  lstrcpynW(n.szInfoTitle, kGuardTitle, ARRAYSIZE(n.szInfoTitle));
  return Shell_NotifyIconW(NIM_MODIFY, &n) != FALSE;
}

void Tuopan::RemoveTrayIcon() {
  if (iconShown_) Shell_NotifyIconW(NIM_DELETE, &nid_);
  iconShown_ = false;
}

void Tuopan::BuildMenu() {
  tray_ = CreatePopupMenu();
  std::vector<HMENU> open{tray_};
  for (const TrayMenuRow& row : TrayMenuRows()) {
    switch (row.kind) {
      case TrayMenuRow::Item: AppendMenuW(open.back(), MF_STRING, row.id, row.caption); break;
      case TrayMenuRow::Separator: AppendMenuW(open.back(), MF_SEPARATOR, 0, nullptr); break;
      case TrayMenuRow::SubmenuBegin: {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(open.back(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), row.caption);
        open.push_back(sub);
        break;
      }
      case TrayMenuRow::SubmenuEnd: open.pop_back(); break;
    }
  }
  EnableMenuItem(tray_, kTrayHelp, MF_BYCOMMAND | MF_GRAYED);
  RefreshAutorunCheck();
}

void Tuopan::RefreshAutorunCheck() {
  bool on = NamesProgram(common::ReadRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName), GuardProgram());
  CheckMenuItem(tray_, kTrayAutorun, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void Tuopan::SysTrayMouseEventHandler() {
  SetForegroundWindow(hwnd());
  RefreshAutorunCheck();
  POINT at;
  GetCursorPos(&at);
  showPopup(tray_, at);
}

void Tuopan::OnTrayMessage(LPARAM what) {
  // Enter or Space on the icon arrive as a right button press, so the menu serves the keyboard too.
  if (what == WM_RBUTTONDOWN) SysTrayMouseEventHandler();
  if (what == WM_LBUTTONDOWN) Run(hooks_.openControlCentre);
}

void Tuopan::Command(int id) {
  const std::wstring app = common::AppFolder();
  if (id >= kTrayDisk0 && id < kTrayDisk0 + 8) return ExploreDrive(id - kTrayDisk0);
  switch (id) {
    case kTrayMain: Run(hooks_.openControlCentre); break;
    case kTrayView: StartTool(L"\\view.exe"); break;
    case kTrayRegedit: system_.start(L"regedit.exe", SW_SHOWMAXIMIZED); break;
    case kTrayGroup: system_.shell(nullptr, L"open", L"gpedit.msc", SW_HIDE); break;
    case kTrayConfig: OpenConfig(); break;
    case kTrayInternet: system_.start(L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0", SW_SHOW); break;
    case kTrayDesktop: system_.start(L"rundll32 shell32,Control_RunDLL desk.cpl", SW_SHOWMINIMIZED); break;
    case kTrayControl: system_.start(L"control.exe ", SW_SHOWNORMAL); break;
    case kTrayNetIp: ShowLocalIP(); break;
    case kTrayNetIpWan: StartTool(L"\\year.exe ip"); break;
    case kTrayProcess: Run(hooks_.showProcessWindow); break;
    case kTrayNetwall: Run(hooks_.openFirewall); break;
    case kTrayAutorun: ToggleAutorun(); break;
    case kTrayDownload:
      system_.shell(hooks_.mainWindow, L"open", common::JoinPath(app, L"\\download.htm"), SW_HIDE);
      break;
    case kTrayAbout: About(); break;
    case kTrayTurnOffPc: ConfirmShutdown(); break;
    case kTrayExit: Run(hooks_.exit); break;
  }
}

// A sibling tool that is not beside the guard is named to the user instead of started.
void Tuopan::StartTool(const wchar_t* tool) {
  const std::wstring app = common::AppFolder();
  if (common::SiblingToolPresent(hwnd(), SiblingProgram(app, tool)))
    system_.start(SiblingCommand(app, tool), SW_SHOWNORMAL);
}

void Tuopan::OpenConfig() {
  system_.start(L"msconfig.exe", SW_SHOWNORMAL);
  std::wstring drive = Guard().windowsFolder.substr(0, 2);
  system_.start(common::QuoteArg(drive + L"\\WINDOWS\\PCHealth\\HelpCtr\\Binaries\\msconfig.exe"), SW_SHOWNORMAL);
}

void Tuopan::ExploreDrive(int index) {
  wchar_t caption[32]{};
  GetMenuStringW(tray_, kTrayDisk0 + index, caption, 32, MF_BYCOMMAND);
  if (wchar_t letter = DriveLetterOfCaption(caption))
    system_.shell(hwnd(), L"explore", std::wstring(1, letter) + L":\\", SW_SHOWNORMAL);
}

void Tuopan::ToggleAutorun() {
  bool on = !(GetMenuState(tray_, kTrayAutorun, MF_BYCOMMAND) & MF_CHECKED);
  if (on)
    common::WriteRegString(HKEY_CURRENT_USER, kRunKey, kRunValueName, common::QuoteArg(GuardProgram(), common::Quoting::WhenNeeded));
  else
    common::DeleteRegValue(HKEY_CURRENT_USER, kRunKey, kRunValueName);
  RefreshAutorunCheck();  // the mark shows what the registry now holds, not what was wished
}

void Tuopan::ShowLocalIP() {
  std::optional<std::wstring> address = GetLocalIP();
  if (!address) return;
  common::SetClipboardText(hwnd(), *address);
  common::MsgBox(hwnd(), LocalIpMessage(*address), MB_ICONINFORMATION | MB_OK, kLocalIpTitle);
}

void Tuopan::ConfirmShutdown() {
  // Every program is closed without saving: one stray click must not do that.
  if (common::MsgBox(hwnd(), kShutdownQuestion, MB_ICONQUESTION | MB_OKCANCEL, kShutdownTitle) == IDOK)
    ForceShutdown();
}

void Tuopan::ForceShutdown() {
  if (!system_.start(kShutdownCommand, SW_SHOWMINNOACTIVE)) Run(system_.exitWindows);
}

void Tuopan::About() {
  ShellAboutW(hwnd(), kGuardTitle, L"进程管理、网络防火墙与系统监控", icon_);
}

LRESULT Tuopan::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayCallback) {
    OnTrayMessage(lp);
    return 0;
  }
  if (msg == taskbarCreated_ && taskbarCreated_) {
    // A restarted shell has forgotten every icon; without this one the guard would be unreachable.
    iconShown_ = false;
    AddTrayIcon();
    return 0;
  }
  if (msg == WM_TIMER && wp == kRetryTimer) {
    if (!iconShown_) AddTrayIcon();
    return 0;
  }
  // The guard's own unload destroys this window directly; a close asked for from outside (another program,
  // a window list) would take the icon and leave a guard that nobody can reach, so it is refused.
  if (msg == WM_CLOSE) return 0;
  if (msg == WM_COMMAND && HIWORD(wp) == 0) {
    Command(LOWORD(wp));
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
