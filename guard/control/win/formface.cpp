// The window of the control centre: controls, layout, menus, keys and the dispatch of commands. The
// pages' contents and actions are in formface_pages.cpp.
#include "guard/control/win/formface.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "common/win/ui/placement.h"
#include "guard/sibling_tools.h"

namespace zorvix {
namespace {

enum : int { kTimer1 = 1 };
constexpr int kWidthTwips = 12000, kHeightTwips = 7800;
constexpr int kMargin = 120, kPanelTwips = 1800, kButtonTwips = 1500, kButtonHeight = 420;
// Pop-up position beside the pointer over the list (twips).
constexpr int kInfoLeftTwips = 220, kInfoTopTwips = 600;
const wchar_t* const kCmdCaptions[4] = {L"系统监视器(&M)", L"系统清理(&C)", L"网络连接(&N)", L"进程管理(&P)"};

struct MenuItem {
  int id;
  const wchar_t* caption;
};

HMENU Popup(std::initializer_list<MenuItem> items) {
  HMENU m = CreatePopupMenu();
  for (const MenuItem& i : items) {
    if (i.id)
      AppendMenuW(m, MF_STRING, i.id, i.caption);
    else
      AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
  }
  return m;
}

}  // namespace

Formface::Formface(FaceLinks links)
    : links_(std::move(links)), forminfo_(links_.fileInfo ? links_.fileInfo : [](std::wstring&) { return L""; }) {
  if (!links_.start) links_.start = [](const std::wstring& line) { return common::StartCommand(line); };
  if (!links_.shellOpen) links_.shellOpen = [](const std::wstring& file) { return common::ShellOpen(file); };
}

Formface::~Formface() {
  Destroy();
  if (accel_) DestroyAcceleratorTable(accel_);
}

bool Formface::Load(HWND owner) {
  if (loaded()) return true;
  if (!Create(L"ZorvixFormface", kFaceCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0, 0, 0,
              owner, nullptr, links_.icon))
    return false;
  BuildMenu();
  CreateControls();
  int w = common::ui::Twips(hwnd(), kWidthTwips), h = common::ui::Twips(hwnd(), kHeightTwips);
  common::ui::PlaceOver(hwnd(), nullptr, w, h);
  Layout();
  ACCEL keys[] = {{FVIRTKEY, VK_F5, WORD(kMnuRefresh)},
                  {FVIRTKEY | FCONTROL, VK_TAB, WORD(kKeyNextPage)},
                  {FVIRTKEY | FCONTROL | FSHIFT, VK_TAB, WORD(kKeyPrevPage)},
                  {FVIRTKEY | FCONTROL, 'C', WORD(kMnuCopy)}};
  if (!accel_) accel_ = CreateAcceleratorTableW(keys, ARRAYSIZE(keys));
  common::SetDialogKeys(hwnd(), accel_);
  SetTimer(hwnd(), kTimer1, 1000, nullptr);
  SelectTab(1);
  return true;
}

void Formface::Open(int position) {
  if (!Load()) return;
  SelectTab(position);
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(tap_);
}

void Formface::Unload() {
  forminfo_.Unload();
  Destroy();
}

void Formface::OnGone() {
  forminfo_.Unload();
  startValues_.clear();
  programs_.clear();
  tap_ = texhelp_ = command4_ = command5_ = command6_ = nullptr;
  for (HWND& c : cmd_) c = nullptr;
  menu_ = nullptr;  // destroyed with the window
}

void Formface::CreateControls() {
  using common::ui::CreateControl;
  for (int i = 0; i < 4; ++i)
    cmd_[i] = CreateControl(hwnd(), L"BUTTON", kCmdCaptions[i], BS_PUSHBUTTON | WS_TABSTOP, kIdCmd0 + i);
  tap_ = CreateControl(hwnd(), WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, kIdTap);
  for (const FacePage& p : FacePages()) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(p.caption);
    TabCtrl_InsertItem(tap_, TabCtrl_GetItemCount(tap_), &item);
  }
  lvw_.Create(hwnd(), kIdList);
  if (!images_.handle()) images_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  SetWindowSubclass(lvw_.hwnd(), ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  texhelp_ = CreateControl(hwnd(), L"EDIT", kIntroduction,
                           WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kIdHelp,
                           WS_EX_CLIENTEDGE);
  command4_ = CreateControl(hwnd(), L"BUTTON", PageAt(1).command4, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand4);
  command5_ = CreateControl(hwnd(), L"BUTTON", kCommand5Caption, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand5);
  command6_ = CreateControl(hwnd(), L"BUTTON", kCommand6Caption, BS_PUSHBUTTON | WS_TABSTOP, kIdCommand6);
}

void Formface::BuildMenu() {
  menu_ = CreateMenu();
  HMENU file = Popup({{kMnuExit, L"退出(&E)"}});
  HMENU edit = Popup({{kMnuDelete, L"删除进程()&D"},
                      {kMnuFolder, L"查看目录(&V)"},
                      {kMnuRefresh, L"刷新列表(&R)\tF5"},
                      {0, nullptr},
                      {kMnuCopy, L"复制列表(&C)\tCtrl+C"}});
  HMENU tools = Popup({{kMnuProcess, L"系统进程管理"},
                       {kMnuFirewall, L"可疑程序检测"},
                       {kMnuMonitor, L"系统监视器"},
                       {0, nullptr},
                       {kMnuClearAll, L"清除所有列表"},
                       {0, nullptr},
                       {kMnuLocalIp, L"内网IP地址"},
                       {kMnuWanIp, L"公网IP地址"}});
  HMENU help = Popup({{kMnuHelp, L"帮助主题"}, {kMnuAbout, L"关于软件"}});
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"操作(&F)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"编辑(&E)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"工具(&T)");
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"帮助(&H)");
  SetMenu(hwnd(), menu_);
}

// The buttons of cmd stand in a column at the left; the tab strip runs over the list, and the page's
// buttons stand under it at the right. The strip and the list do not overlap, so that the order of the
// controls stays the order of the keyboard.
void Formface::Layout() {
  if (!tap_) return;
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int w = common::ui::PixelsToTwips(hwnd(), rc.right), h = common::ui::PixelsToTwips(hwnd(), rc.bottom);
  for (int i = 0; i < 4; ++i)
    common::ui::MoveTwips(cmd_[i], kMargin, kMargin + 60 + i * (kButtonHeight + 120), kPanelTwips - kMargin,
                          kButtonHeight);
  int left = kPanelTwips + kMargin, right = std::max(left + 1000, w - kMargin);
  int bottom = std::max(kMargin + 1500, h - kButtonHeight - 2 * kMargin);
  RECT tab{};
  TabCtrl_GetItemRect(tap_, 0, &tab);
  int strip = common::ui::PixelsToTwips(hwnd(), tab.bottom + 2);
  common::ui::MoveTwips(tap_, left, kMargin, right - left, strip);
  for (HWND c : {lvw_.hwnd(), texhelp_})
    common::ui::MoveTwips(c, left, kMargin + strip, right - left, bottom - kMargin - strip);
  HWND buttons[] = {command4_, command5_, command6_};
  for (int i = 0; i < 3; ++i)
    common::ui::MoveTwips(buttons[i], right - (3 - i) * (kButtonTwips + 100) + 100, bottom + kMargin, kButtonTwips,
                          kButtonHeight);
}

// A sibling tool that is not beside the guard is named to the user instead of started.
void Formface::StartTool(const wchar_t* tool) {
  std::wstring app = common::AppFolder();
  if (common::SiblingToolPresent(hwnd(), SiblingProgram(app, tool))) links_.start(SiblingCommand(app, tool));
}

void Formface::CmdClick(int index) {
  switch (index) {
    case 0: StartTool(kViewTool); break;
    case 1: StartTool(kClearTool); break;
    case 2: if (links_.openFirewallConnections) links_.openFirewallConnections(); break;
    case 3: if (links_.showProcessWindow) links_.showProcessWindow(); break;
  }
}

void Formface::MenuCommand(int id) {
  switch (id) {
    case kMnuExit: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    case kMnuDelete: Command4Click(); break;
    case kMnuFolder: Command5Click(); break;
    case kMnuRefresh: Command6Click(); break;
    case kMnuCopy: CopyList(); break;
    case kMnuProcess: CmdClick(3); break;
    case kMnuFirewall: if (links_.openFirewall) links_.openFirewall(); break;
    case kMnuMonitor: CmdClick(0); break;
    case kMnuClearAll: if (links_.clearAllLists) links_.clearAllLists(); break;
    case kMnuLocalIp: ShowLocalIp(); break;
    case kMnuWanIp: StartTool(kYearTool); break;
    case kMnuHelp: SelectTab(1); break;  // the introduction is the help
    case kMnuAbout: ShellAboutW(hwnd(), kFaceCaption, L"进程管理、网络防火墙与系统监控", links_.icon); break;
    case kKeyNextPage: SelectTab(int(page_) % kPageCount + 1); break;
    case kKeyPrevPage: SelectTab((int(page_) + kPageCount - 2) % kPageCount + 1); break;
  }
}

void Formface::CopyList() {
  if (GetFocus() == texhelp_ && IsWindowVisible(texhelp_)) {
    SendMessageW(texhelp_, WM_COPY, 0, 0);  // the shortcut copies the text's selection there
    return;
  }
  int row = lvw_.Selected();
  if (row >= 0) common::SetClipboardText(hwnd(), lvw_.Text(row, 2));
}

void Formface::ShowLocalIp() {
  std::optional<std::wstring> address = links_.localIp ? links_.localIp() : std::nullopt;
  if (!address) return;
  common::SetClipboardText(hwnd(), *address);
  common::MsgBox(hwnd(), LocalIpText(*address), MB_ICONINFORMATION | MB_OK);
}

void Formface::OnCommand(int id, int code) {
  if (id >= kIdCmd0 && id < kIdCmd0 + 4) return CmdClick(id - kIdCmd0);
  switch (id) {
    case kIdCommand4: Command4Click(); return;
    case kIdCommand5: Command5Click(); return;
    case kIdCommand6: Command6Click(); return;
    case IDCANCEL: PostMessageW(hwnd(), WM_CLOSE, 0, 0); return;
    case IDOK: return;  // no default action: every page's action changes the system
  }
  if (code == 0 || code == 1) MenuCommand(id);
}

void Formface::OnNotify(NMHDR* hdr) {
  if (hdr->idFrom == kIdTap && hdr->code == TCN_SELCHANGE) {
    SelectTab(TabCtrl_GetCurSel(tap_) + 1);
    return;
  }
  if (hdr->idFrom != kIdList) return;
  if (hdr->code == LVN_COLUMNCLICK) lvw_.OnHeaderClick(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
  if (hdr->code == NM_CLICK) ShowForminfo(reinterpret_cast<NMITEMACTIVATE*>(hdr)->ptAction);
}

void Formface::ShowForminfo(POINT client) {
  std::wstring path = RowProgram(lvw_.HitTest(client));
  if (path.empty() || !forminfo_.Load(hwnd())) return;
  RECT wr;
  GetWindowRect(lvw_.hwnd(), &wr);
  forminfo_.Place(wr.left + client.x + common::ui::Twips(hwnd(), kInfoLeftTwips),
                  wr.top + client.y + common::ui::Twips(hwnd(), kInfoTopTwips));
  common::SetTopMost(forminfo_.hwnd(), true);
  forminfo_.FilePath = path;
  forminfo_.drawiconex();
  pressAt_ = client;
  ShowWindow(forminfo_.hwnd(), SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK Formface::ListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* f = reinterpret_cast<Formface*>(self);
  if (msg == WM_MOUSEMOVE && f->forminfo_.loaded()) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    // Windows also sends a move when a window appears under a still pointer; only a real move counts.
    if (at.x != f->pressAt_.x || at.y != f->pressAt_.y) f->forminfo_.Unload();
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(h, ListProc, 1);
  return DefSubclassProc(h, msg, wp, lp);
}

LRESULT Formface::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: if (wp == kTimer1) Timer1Tick(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      mm->ptMinTrackSize = {common::ui::Twips(hwnd(), 7000), common::ui::Twips(hwnd(), 4500)};
      return 0;
    }
    case WM_NOTIFY: OnNotify(reinterpret_cast<NMHDR*>(lp)); return 0;
    case WM_COMMAND: OnCommand(LOWORD(wp), HIWORD(wp)); return 0;
    case WM_CLOSE: if (!busy_) DestroyWindow(hwnd()); return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer1);
      // The list shares its image lists: the check boxes' own one is freed here.
      if (HIMAGELIST states = ListView_SetImageList(lvw_.hwnd(), nullptr, LVSIL_STATE)) ImageList_Destroy(states);
      return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
