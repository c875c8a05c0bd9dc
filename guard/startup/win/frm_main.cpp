#include "guard/startup/win/frm_main.h"

#include <commctrl.h>

#include "common/path.h"
#include "common/win/system.h"
#include "common/win/ui/placement.h"
#include "guard/startup/win/face_links.h"
#include "guard/monitors/win/ask_hooks.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/startup_ask.h"
#include "guard/monitors/win/tcp_source_system.h"
#include "guard/process/process_actions.h"
#include "guard/process/win/process_menu_ids.h"
#include "guard/guard_state.h"
#include "guard/startup/start_rules.h"
#include "guard/startup/tray_text.h"
#include "guard/startup/win/tuopan_hooks.h"

namespace zorvix {
namespace {
enum : int { kIdList = 100, kIdStatus = 101, kIdChk = 102, kTimer1 = 1, kTimerFirewall = 2 };
constexpr UINT kFirewallMs = 200;
constexpr int kWidthTwips = 12000, kHeightTwips = 7500;
}  // namespace

FrmMain::FrmMain(TrustChecker::SignerCheck check, ProcessSystem& system)
    : system_(system),
      trust_(std::move(check)),
      table_(lvw_, sbr_, trust_, system_),
      tcpSource_(std::make_unique<SystemTcpSource>()),
      monitor_(*tcpSource_, fireStore_),
      formface_(FaceLinksFor(*this)) {}

bool FrmMain::Load(const std::wstring& commandLine) {
  Guard() = GuardState{};  // every flag starts clear
  InitEnvironment();       // the system folders and, once per user, the first-run setup
  instance_ = std::make_unique<SingleInstance>();
  if (!instance_->first()) return false;  // a second instance ends silently

  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  if (!Create(L"ZorvixFrmMain", kMainCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
              nullptr, nullptr, icon))
    return false;
  CreateControls();
  Centre();     // 4.
  CreateColumns();
  NotesFile = common::JoinPath(common::AppFolder(), L"\\sys\\process.dat");  // the notes that fill the owner and remark columns
  table_.Init({Guard().windowsFolder, Guard().systemFolder, Guard().logonUser, NotesFile});
  ListChanged = table_.ListProcess();  // the first reading of the process table
  lvw_.SortBy(kColOwner, true);        // by owner
  tuopan_.Load(TrayHooks(*this), icon);  // the tray icon
  if (StartsHiddenAndLocked(commandLine))
    commands_.Suoding();
  else
    ShowWindow(hwnd(), SW_SHOWNORMAL);
  cpu_.Init();  // the first sample of the processor load
  LoadAskLists();  // the decision lists
  LoadRegAskLists();
  TellListFileProblems();
  startup_.SetHooks(StartupAskHooks(*this));
  StartFirewall();  // the firewall's window is made when first shown
  common::SetTopMost(hwnd(), true);
  HideSysFolder();  // hidden again, should the user have shown it
  StartTimer(true);
  return true;
}

void FrmMain::StartFirewall() {
  ConnectionMonitor::Hooks hooks;
  hooks.isTrusted = [this](const std::wstring& path) { return trust_.IsTrustedFile(path).trusted; };
  hooks.askHooks = [this] { return GuardAskHooks(*this); };
  hooks.cannotDrop = [this](const std::wstring& text) { tuopan_.Balloon(text); };
  // Every view of the table reads it again: a row left from before a change would name another entry.
  hooks.programsChanged = [this] {
    formfire_.ProgramsChanged();
    if (formface_.loaded() && formface_.pageType() == PageType::Net) formface_.SelectTab(int(PageType::Net));
  };
  monitor_.SetHooks(std::move(hooks));
  monitor_.UseKnownPaths([this](DWORD pid, uint64_t started) { return table_.PathOf(pid, started); });
  monitor_.UpdatePrograms();
  SetTimer(hwnd(), kTimerFirewall, kFirewallMs, nullptr);
}

void FrmMain::SetTcpSource(std::unique_ptr<TcpSource> source) {
  tcpSource_ = std::move(source);
  monitor_.SetSource(*tcpSource_);
}

void FrmMain::FirewallTick() { monitor_.Poll(); }

void FrmMain::SetFirewall(bool on) {
  Guard().firewallEnabled = on;
  ShowFirewallState();
}

void FrmMain::SetNetworkCut(bool on) {
  monitor_.SetNetworkCut(on);
  ShowFirewallState();
}

void FrmMain::ShowFirewallState() {
  formfire_.ShowSwitches();
  tuopan_.SetStateLine(FirewallStateLine(Guard().firewallEnabled, monitor_.networkCut()));
}

// A list file that was not read is not used and not written over; the user must know why.
void FrmMain::TellListFileProblems() {
  std::wstring text;
  for (auto [path, state] : {std::pair{AskFilePath(), AskLists().processFile},
                             std::pair{RegAskFilePath(), AskLists().registryFile}})
    if (auto problem = ListFileProblem(path, state)) text += (text.empty() ? L"" : L"\r\n") + *problem;
  if (!text.empty()) tuopan_.Balloon(text);
}

void FrmMain::CreateControls() {
  chk_ = common::ui::CreateControl(hwnd(), L"BUTTON", L"隐藏通过数字签名认证的进程", BS_AUTOCHECKBOX | WS_TABSTOP,
                                   kIdChk);
  lvw_.Create(hwnd(), kIdList);
  const wchar_t* captions[] = {L"查看目录(&V)", L"终止进程(&S)", L"删除文件(&D)", L"强制关机(&T)"};
  const int ids[] = {ID_MNUFOLDER, ID_MNUENDPRO, ID_MNUDELPRO, ID_TURNOFF};
  for (int i = 0; i < 4; ++i)
    cmd_[i] = common::ui::CreateControl(hwnd(), L"BUTTON", captions[i], BS_PUSHBUTTON | WS_TABSTOP, ids[i]);
  tip_ = common::ui::CreateControl(hwnd(), L"STATIC", kTipLine, SS_LEFT | SS_NOPREFIX, 0);
  commands_.Attach();
  sbr_.Create(hwnd(), kIdStatus, {3000, 3000, -1});
}

void FrmMain::CreateColumns() {
  using A = common::ui::ListView::Align;
  lvw_.AddColumn(L"进程名称", 1600);
  lvw_.AddColumn(L"PID", 600);
  lvw_.AddColumn(L"内存使用", 1000, A::Right);
  lvw_.AddColumn(L"用户名", 1500);
  lvw_.AddColumn(L"安全 ", 700, A::Center);
  lvw_.AddColumn(L"优先", 700);
  lvw_.AddColumn(L"进程路径", 5000);
  lvw_.AddColumn(L"备注", 5000);
}

void FrmMain::Centre() {
  int w = common::ui::Twips(hwnd(), kWidthTwips), h = common::ui::Twips(hwnd(), kHeightTwips);
  common::ui::PlaceOver(hwnd(), nullptr, w, h);
}

void FrmMain::Layout() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int w = common::ui::PixelsToTwips(hwnd(), rc.right), h = common::ui::PixelsToTwips(hwnd(), rc.bottom);
  common::ui::MoveTwips(chk_, 100, 100, 4500, 300);
  common::ui::MoveTwips(lvw_.hwnd(), 50, 450, std::max(0, w - 100), std::max(0, h - 1580));
  // The tip line and the buttons share the row under the list, the buttons at the right.
  int row = h - 1030;
  common::ui::MoveTwips(tip_, 100, row + 90, 5400, 270);
  for (int i = 0; i < 4; ++i) common::ui::MoveTwips(cmd_[i], w - 50 - (4 - i) * 1500, row, 1400, 400);
  sbr_.Resize();
}

void FrmMain::StartTimer(bool on) {
  if (!hwnd()) return;  // without a window SetTimer would make a timer of the thread
  timerOn_ = on;
  if (on)
    SetTimer(hwnd(), kTimer1, 1000, nullptr);
  else
    KillTimer(hwnd(), kTimer1);
}

void FrmMain::Timer1Tick() {
  if (inTick_) return;  // a step that lets messages run must not start another tick
  inTick_ = true;
  GuardState& g = Guard();
  if (++ticks_ > g.scanLimit) {
    ticks_ = 0;
    g.scanLimit = 9;
    if (AutorunGuard::ScanAllowed()) autorun_.ScanAutorunDrives();
  }
  autorun_.Poll();
  ListChanged = table_.ListProcess() || ListChanged;
  bool keysChanged = startup_.KeysChanged();  // asked every tick: it re-arms the key watch
  if (ListChanged || keysChanged) {
    RegBusy = true;
    startup_.readregstart();
    RegBusy = false;
    ListChanged = false;
  }
  table_.CheckProcess();
  if (auto load = cpu_.Sample()) sbr_.SetText(2, L"当前 CPU 使用： " + std::to_wstring(*load) + L"%");
  startup_.AskStep();
  EndGuardSigner();  // started by this tick's checks or the windows' since the last tick
  inTick_ = false;
  if (unloadme) DestroyWindow(hwnd());
}

bool FrmMain::Chk() const { return SendMessageW(chk_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void FrmMain::SetChk(bool on) {
  SendMessageW(chk_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  ChkClick();
}

void FrmMain::ChkClick() {
  // While trusted rows are hidden the refresh stops, or it would add them straight back.
  if (Chk()) {
    StartTimer(false);
    table_.RemoveTrustedRows();
  } else {
    StartTimer(true);
  }
}

void FrmMain::QueryUnload() {
  GuardState& g = Guard();
  if (g.shownFromTray) {
    ShowWindow(hwnd(), SW_HIDE);
    commands_.forminfo().Unload();
    g.shownFromTray = false;
    return;
  }
  DestroyWindow(hwnd());
}

void FrmMain::RequestUnload() {
  Guard().shownFromTray = false;  // or the close would only hide the window
  unloadme = true;
  PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void FrmMain::Unload() {
  StartTimer(false);
  KillTimer(hwnd(), kTimerFirewall);
  monitor_.Stop();
  tuopan_.Unload();  // the icon goes first
  commands_.forminfo().Unload();
  Formask::UnloadAll();  // every program frozen for an ask runs again
  formface_.Unload();
  formfire_.Unload();
  autorun_.form().Unload();
  if (restart_) instance_.reset();  // the guard that starts next must not find this one
}

void FrmMain::OnGone() { PostQuitMessage(0); }

void FrmMain::OnNotify(NMHDR* hdr) {
  if (hdr->idFrom != kIdList || lvw_.OnNotify(hdr)) return;
  if (hdr->code == LVN_COLUMNCLICK) lvw_.OnHeaderClick(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
  if (hdr->code == NM_CLICK) commands_.ListLeftPress(reinterpret_cast<NMITEMACTIVATE*>(hdr)->ptAction);
  if (hdr->code == NM_RCLICK) commands_.ListRightClick(reinterpret_cast<NMITEMACTIVATE*>(hdr)->ptAction);
}

void FrmMain::OnCommand(int id, int code) {
  if (id == kIdChk && code == BN_CLICKED)
    ChkClick();
  else if (id == IDOK || id == IDCANCEL)  // Enter and Esc
    commands_.DialogKey(id);
  else if (code == 0 || code == 1)  // a menu item or button (0), or an accelerator (1)
    commands_.Command(id);
}

LRESULT FrmMain::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  static const UINT unloadRequest = RegisterWindowMessageW(kUnloadRequestMessage);
  if (msg == unloadRequest && unloadRequest != 0) {
    RequestUnload();
    return 1;
  }
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) Timer1Tick();
      if (wp == kTimerFirewall) FirewallTick();
      return 0;
    case WM_SIZE: if (wp == SIZE_MINIMIZED) ShowWindow(hwnd(), SW_HIDE); else Layout(); return 0;
    case WM_CLOSE: QueryUnload(); return 0;
    case WM_DESTROY: Unload(); return 0;
    case WM_NOTIFY: OnNotify(reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_DEVICECHANGE: autorun_.OnDeviceChange(wp, lp); return TRUE;
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
