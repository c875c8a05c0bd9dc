#include "guard/monitors/win/formfire.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/system.h"
#include "common/win/ui/placement.h"
#include "common/win/ui/window.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/process_actions.h"
#include "guard/guard_state.h"

namespace zorvix {
namespace {

enum : int { kIdTap = 100, kIdList, kIdStatus, kIdChk, kIdToolbar, kIdNotice, kIdCmd0 = 110, kIdTool0 = 120 };
enum : UINT_PTR { kTimer1 = 1 };
constexpr UINT kStatusMs = 200;  // the status texts copied from the guard
constexpr int kWidthTwips = 10200, kHeightTwips = 7200;
constexpr wchar_t kCaption[] = L"可疑程序检测";
constexpr wchar_t kHelpText[] =
    L"可疑程序检测监视每一个正在连接网络的程序。\r\n\r\n"
    L"未知的程序连接网络时会被暂停，并弹出询问窗口，由您决定允许还是拒绝；勾选“以后该程序都按照本次操作执行。”"
    L"以后，您的决定会记入“网络访问控制 ”列表，以后不再询问。\r\n\r\n"
    L"“网络访问控制 ”列表中的项目可以删除，删除以后该程序再次连接网络时会重新询问。";

struct Tab {
  const wchar_t* caption;
  const wchar_t* key;
};
constexpr Tab kTabs[] = {{L"可疑程序列表  ", L"system"}, {L"当前网络连接  ", L"dlink"}, {L"网络访问控制 ", L"net"}};

struct Tool {
  const wchar_t* key;
  const wchar_t* text;
  int image;
};
constexpr Tool kTools[] = {{L"turnoff", L"终止进程", STD_DELETE},
                           {L"reshua", L"刷新列表", STD_REDOW},
                           {L"dir", L"查看目录", STD_FILEOPEN},
                           {L"dlink", L"断开网络", STD_CUT}};

}  // namespace

Formfire::Formfire(MonitorHost& guard)
    : frm_(guard), forminfo_([&guard](std::wstring& path) { return BuildFileInfo(path, guard.table()); }) {}

Formfire::~Formfire() {
  Destroy();
  if (accel_) DestroyAcceleratorTable(accel_);
  if (yellow_) DeleteObject(yellow_);
}

ConnectionMonitor& Formfire::monitor() { return frm_.monitor(); }
SettingsSection& Formfire::store() { return frm_.fireStore(); }

bool Formfire::AddProgram(const std::wstring& path, int block) { return monitor().AddProgram(path, block); }
bool Formfire::DeleteProgram(int index, const std::wstring& path) { return monitor().DeleteProgram(index, path); }

bool Formfire::Load() {
  if (loaded()) return true;
  if (!Create(L"ZorvixFormfire", kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
              nullptr, nullptr, LoadIconW(GetModuleHandleW(nullptr), L"APPICON")))
    return false;
  CreateMenu();
  CreateControls();
  int w = common::ui::Twips(hwnd(), kWidthTwips), h = common::ui::Twips(hwnd(), kHeightTwips);
  common::ui::PlaceOver(hwnd(), nullptr, w, h);
  Layout();
  exitme = false;
  SelectTab(kViewProcesses);
  SetTimer(hwnd(), kTimer1, kStatusMs, nullptr);
  return true;
}

void Formfire::CreateMenu() {
  menu_ = ::CreateMenu();
  HMENU system = CreatePopupMenu(), action = CreatePopupMenu(), help = CreatePopupMenu();
  AppendMenuW(system, MF_STRING | MF_CHECKED, kIdEnable, L"启用防火墙");
  AppendMenuW(system, MF_STRING, kIdDisable, L"禁止防火墙");
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system, MF_STRING, kIdExit, L"退出");
  AppendMenuW(action, MF_STRING, kIdFolder, L"查看目录");
  AppendMenuW(action, MF_STRING, kIdEnd, L"终止进程");
  AppendMenuW(help, MF_STRING, kIdHelp, L"帮助主题");
  AppendMenuW(help, MF_STRING, kIdAbout, L"关于");
  AppendMenuW(menu_, MF_POPUP, UINT_PTR(system), L"防火墙(&F)");
  AppendMenuW(menu_, MF_POPUP, UINT_PTR(action), L"操作(&O)");
  AppendMenuW(menu_, MF_POPUP, UINT_PTR(help), L"帮助(&H)");
  SetMenu(hwnd(), menu_);
  ACCEL keys[] = {{FVIRTKEY | FCONTROL, VK_TAB, WORD(kIdNextTab)},
                  {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, WORD(kIdPrevTab)},
                  {FVIRTKEY, VK_F5, WORD(kIdRefresh)}};
  if (!accel_) accel_ = CreateAcceleratorTableW(keys, 3);
  common::SetDialogKeys(hwnd(), accel_);
}

void Formfire::CreateControls() {
  using common::ui::CreateControl;
  CreateToolbar();
  chk_ = CreateControl(hwnd(), L"BUTTON", L"断开网络", BS_AUTOCHECKBOX | WS_TABSTOP, kIdChk);
  tap_ = CreateControl(hwnd(), WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kIdTap);
  for (int i = 0; i < 3; ++i) {
    TCITEMW item{TCIF_TEXT};
    item.pszText = const_cast<wchar_t*>(kTabs[i].caption);
    TabCtrl_InsertItem(tap_, i, &item);
  }
  lvw_.Create(hwnd(), kIdList, WS_TABSTOP);
  SetWindowPos(lvw_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (!icons_.handle()) icons_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  SetWindowSubclass(lvw_.hwnd(), ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  const wchar_t* captions[] = {L"终止进程(&D)", L"查看目录(&V)", L"刷新列表(&R)"};
  for (int i = 0; i < 3; ++i)
    cmd_[i] = CreateControl(hwnd(), L"BUTTON", captions[i], BS_PUSHBUTTON | WS_TABSTOP, kIdCmd0 + i);
  sbr_.Create(hwnd(), kIdStatus, {3000, 3000, 3000, -1});
  notice_ = CreateControl(hwnd(), L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kIdNotice);
  ShowSwitches();
  ShowNotice();
}

void Formfire::CreateToolbar() {
  toolbar_ = common::ui::CreateControl(hwnd(), TOOLBARCLASSNAMEW, L"",
                                       TBSTYLE_FLAT | TBSTYLE_LIST | CCS_TOP | CCS_NODIVIDER, kIdToolbar);
  SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP std{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(toolbar_, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&std));
  TBBUTTON buttons[4] = {};
  for (int i = 0; i < 4; ++i) {
    buttons[i].iBitmap = kTools[i].image;
    buttons[i].idCommand = kIdTool0 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    buttons[i].iString = reinterpret_cast<INT_PTR>(kTools[i].text);
  }
  SendMessageW(toolbar_, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
}

void Formfire::Layout() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
  sbr_.Resize();
  RECT tb{}, sb{};
  GetWindowRect(toolbar_, &tb);
  GetWindowRect(sbr_.hwnd(), &sb);
  auto px = [this](int twips) { return common::ui::Twips(hwnd(), twips); };
  int top = tb.bottom - tb.top, bottom = rc.bottom - (sb.bottom - sb.top);
  int margin = px(90), button = px(1400), buttonHeight = px(380), gap = px(120);
  MoveWindow(chk_, rc.right - margin - px(1300), (top - px(300)) / 2, px(1300), px(300), TRUE);
  int listBottom = bottom - buttonHeight - 2 * margin;
  MoveWindow(tap_, margin, top + margin, rc.right - 2 * margin, std::max(0, listBottom - top - margin), TRUE);
  RECT inner{};
  GetWindowRect(tap_, &inner);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&inner), 2);
  TabCtrl_AdjustRect(tap_, FALSE, &inner);
  MoveWindow(lvw_.hwnd(), inner.left, inner.top, std::max(0L, inner.right - inner.left),
             std::max(0L, inner.bottom - inner.top), TRUE);
  for (int i = 0; i < 3; ++i)
    MoveWindow(cmd_[i], rc.right - margin - (3 - i) * button - (2 - i) * gap, listBottom + margin, button, buttonHeight,
               TRUE);
  // The notice of a connection that stayed, in full, beside the buttons (two lines).
  int noticeWidth = std::max(0, int(rc.right) - 3 * (button + gap) - 2 * margin);
  MoveWindow(notice_, margin, listBottom + margin - px(30), noticeWidth, buttonHeight + px(60), TRUE);
}

void Formfire::Open(zorvix::ViewKind view, bool hideOnClose) {
  if (!Load()) return;
  SelectTab(view);
  if (hideOnClose) exitme = true;
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  common::SetTopMost(hwnd(), true);
  SetForegroundWindow(hwnd());
}

void Formfire::QueryUnload() {
  if (!exitme) return Unload();
  SelectTab(kViewProcesses);
  ShowWindow(hwnd(), SW_HIDE);
  forminfo_.Unload();
  exitme = false;
}

void Formfire::Unload() { Destroy(); }

// The status texts of the guard's core, copied while the window exists.
void Formfire::Timer1Tick() {
  sbr_.SetText(0, frm_.sbr().Text(0));
  sbr_.SetText(2, frm_.sbr().Text(2));
  ShowNotice();
}

void Formfire::ShowNotice() {
  const std::wstring& text = monitor().notice();
  if (common::ui::WindowText(notice_) != text) SetWindowTextW(notice_, text.c_str());
  std::wstring cut = monitor().networkCut() ? L"已断开 " + std::to_wstring(monitor().cutDrops()) + L" 个网络连接" : L"";
  if (sbr_.Text(3) != cut) sbr_.SetText(3, cut);
}

void Formfire::UpdatePrograms() {
  monitor().UpdatePrograms();
  if (FillList) FillPrograms();
}

void Formfire::ProgramsChanged() {
  if (loaded() && ViewKind == kViewPrograms) SelectTab(kViewPrograms);
}

void Formfire::SetFirewall(bool on) { frm_.SetFirewall(on); }

void Formfire::ShowSwitches() {
  if (!loaded()) return;
  bool on = Guard().firewallEnabled;
  CheckMenuItem(menu_, kIdEnable, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(menu_, kIdDisable, MF_BYCOMMAND | (on ? MF_UNCHECKED : MF_CHECKED));
  SendMessageW(chk_, BM_SETCHECK, monitor().networkCut() ? BST_CHECKED : BST_UNCHECKED, 0);
  InvalidateRect(chk_, nullptr, TRUE);
}

void Formfire::ChkClick() { frm_.SetNetworkCut(SendMessageW(chk_, BM_GETCHECK, 0, 0) == BST_CHECKED); }

void Formfire::ToolbarClick(const std::wstring& key) {
  if (key == L"turnoff") CmdClick(0);
  if (key == L"reshua") CmdClick(2);
  if (key == L"dir") CmdClick(1);
  if (key == L"dlink") frm_.SetNetworkCut(!monitor().networkCut());
}

void Formfire::OnCommand(int id) {
  switch (id) {
    case kIdEnable: SetFirewall(true); break;
    case kIdDisable: SetFirewall(false); break;
    case kIdFolder: CmdClick(1); break;
    case kIdEnd: CmdClick(0); break;
    case kIdExit: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    case kIdHelp: common::MsgBox(hwnd(), kHelpText, MB_ICONINFORMATION | MB_OK); break;
    case kIdAbout: ShowAbout(hwnd()); break;
    case kIdNextTab: SelectTab(zorvix::ViewKind(ViewKind % 3 + 1)); break;
    case kIdPrevTab: SelectTab(zorvix::ViewKind((ViewKind + 1) % 3 + 1)); break;
    case kIdRefresh: CmdClick(2); break;
    case kIdShowFromTray: Open(kViewConnections, true); break;
    case kIdChk: ChkClick(); break;
    case IDCANCEL: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    default:
      if (id >= kIdCmd0 && id < kIdCmd0 + 3) CmdClick(id - kIdCmd0);
      if (id >= kIdTool0 && id < kIdTool0 + 4) ToolbarClick(kTools[id - kIdTool0].key);
  }
}

void Formfire::OnNotify(NMHDR* hdr) {
  if (hdr->idFrom == kIdTap && hdr->code == TCN_SELCHANGE) SelectTab(zorvix::ViewKind(TabCtrl_GetCurSel(tap_) + 1));
  if (hdr->idFrom == kIdList && hdr->code == NM_CLICK) RowClick(reinterpret_cast<NMITEMACTIVATE*>(hdr)->ptAction);
  if (hdr->idFrom == kIdList && hdr->code == LVN_COLUMNCLICK)
    lvw_.OnHeaderClick(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
}

LRESULT CALLBACK Formfire::ListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* f = reinterpret_cast<Formfire*>(self);
  // Windows also sends a move when a window appears under a still pointer; only a real move counts.
  if (msg == WM_MOUSEMOVE && f->forminfo_.loaded() &&
      (GET_X_LPARAM(lp) != f->pressAt_.x || GET_Y_LPARAM(lp) != f->pressAt_.y))
    f->forminfo_.Unload();
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT Formfire::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) Timer1Tick();
      return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_CLOSE: QueryUnload(); return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer1);
      forminfo_.Unload();
      return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp)); return 0;
    case WM_NOTIFY: OnNotify(reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == chk_ && SendMessageW(chk_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        if (!yellow_) yellow_ = CreateSolidBrush(0xFFFF);
        SetBkColor(reinterpret_cast<HDC>(wp), 0xFFFF);
        return reinterpret_cast<LRESULT>(yellow_);
      }
      break;
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
