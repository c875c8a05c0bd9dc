#include "guard/process/win/process_commands.h"

#include <commctrl.h>
#include <windowsx.h>

#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_actions.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/process_actions.h"
#include "guard/process/win/process_menu_ids.h"
#include "guard/process/win/process_query.h"

namespace zorvix {
namespace {

constexpr DWORD kReleaseWaitMs = 3000;  // how long a delete waits for the ended process to let go
constexpr int kInfoLeftTwips = 150, kInfoTopTwips = 1230;

// Every process action steps out of the topmost state so that its message box is seen, and steps
// back in when done, cancelled or not (unless the window went meanwhile).
class OffTopWhile {
 public:
  explicit OffTopWhile(HWND h) : h_(h) { common::SetTopMost(h_, false); }
  ~OffTopWhile() {
    if (IsWindow(h_)) common::SetTopMost(h_, true);
  }

 private:
  HWND h_;
};

class BusyWhile {
 public:
  explicit BusyWhile(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyWhile() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

HMODULE& MenuResources() {
  static HMODULE module = GetModuleHandleW(nullptr);
  return module;
}

ProcessCommands::ProcessCommands(ProcessHost& f)
    : f_(f), forminfo_([&f](std::wstring& path) { return BuildFileInfo(path, f.table()); }) {
  showPopup = [this](HMENU m, POINT at) { TrackPopupMenu(m, TPM_RIGHTBUTTON, at.x, at.y, 0, f_.frame(), nullptr); };
  shutdown = ForceShutdown;
}

ProcessCommands::~ProcessCommands() {
  if (accel_) DestroyAcceleratorTable(accel_);
}

void ProcessCommands::Attach() {
  menu_ = LoadMenuW(MenuResources(), MAKEINTRESOURCEW(IDR_FRMMAIN_MENU));
  SetMenu(f_.frame(), menu_);
  accel_ = LoadAcceleratorsW(MenuResources(), MAKEINTRESOURCEW(IDR_FRMMAIN_ACCEL));
  // The shortcuts work whichever control of the window has the focus.
  common::SetDialogKeys(f_.frame(), accel_);
  SetWindowSubclass(f_.lvw().hwnd(), ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void ProcessCommands::DialogKey(int id) {
  if (id == IDCANCEL) {
    forminfo_.Unload();
    return;
  }
  int row = SelectedRow();
  if (id != IDOK || row < 0 || GetFocus() != f_.lvw().hwnd()) return;
  RECT r{LVIR_LABEL};
  SendMessageW(f_.lvw().hwnd(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  // The pointer stays where it is: only a real move of it closes the window.
  GetCursorPos(&pressAt_);
  ScreenToClient(f_.lvw().hwnd(), &pressAt_);
  ShowForminfo({r.left, r.bottom});
  if (forminfo_.loaded()) forminfo_.Activate(f_.lvw().hwnd());
}

LRESULT CALLBACK ProcessCommands::ListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* c = reinterpret_cast<ProcessCommands*>(self);
  POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (msg == WM_MOUSEMOVE) c->ListMouseMove(at);
  if (msg == WM_MBUTTONUP) c->ListLeftPress(at);
  return DefSubclassProc(h, msg, wp, lp);
}

bool ProcessCommands::IsCommand(int id) const {
  return (id >= ID_MNUREFURBISH && id <= ID_MNUEXIT) || (id >= ID_MNUENDPRO && id <= ID_MNUFOLDER) ||
         (id >= ID_MNUSETPROCLASSSUB0 && id < ID_MNUSETPROCLASSSUB0 + 6) || id == ID_MNUONTOP || id == ID_HIDEME ||
         (id >= ID_SUODING && id <= ID_EXPLORER_OPEN) || id == ID_HELP_TOPICS || id == ID_MNUABOUT;
}

// One command at a time: message boxes and waits let window messages run, and a second command (the
// exit among them) must not start in the middle of the first.
bool ProcessCommands::Command(int id) {
  if (!IsCommand(id)) return false;
  if (busy_) return true;
  BusyWhile busy(busy_);
  Run(id);
  return true;
}

void ProcessCommands::Run(int id) {
  HWND h = f_.frame();
  if (id >= ID_MNUSETPROCLASSSUB0 && id < ID_MNUSETPROCLASSSUB0 + 6) {
    SetPriority(id - ID_MNUSETPROCLASSSUB0);
    return;
  }
  const ProcessRow* selected = f_.lvw().SelectedRow();
  bool row = selected != nullptr;
  std::wstring path = row ? selected->path : L"";
  switch (id) {
    case ID_MNUREFURBISH: f_.RefreshTable(); break;
    case ID_ZHUXIAO: LogOff(); break;
    case ID_TURNOFF: TurnOff(); break;
    case ID_MNUEXIT: DestroyWindow(h); break;
    case ID_MNUENDPRO: EndProcess(); break;
    case ID_MNUDELPRO: DeleteProcess(); break;
    case ID_MNUFILEPROPERTIES: if (row) ShowFileProperties(path, h); break;
    case ID_MNUFOLDER: if (row) OpenFolderSelect(path); break;
    case ID_MNUONTOP: ToggleOnTop(); break;
    case ID_HIDEME: ShowWindow(h, SW_HIDE); break;
    case ID_SUODING: Suoding(); break;
    case ID_TASKBAR_HIDE: ShowTaskbar(false); break;
    case ID_TASKBAR_SHOW: ShowTaskbar(true); break;
    case ID_DESKTOP: ShowDesktopIcons(false); break;
    case ID_DESKTOPCANCEL: ShowDesktopIcons(true); break;
    case ID_EXPLORER_KILL1: KillExplorer(h); break;
    case ID_EXPLORER_KILL2: WaitThreeSeconds(h); break;
    case ID_EXPLORER_RESTORE: RestoreExplorerShell(); break;
    case ID_EXPLORER_OPEN: OpenExplorer(); break;
    case ID_MNUABOUT: ShowAbout(h); break;
    default: break;  // "全部解锁", "锁定运行程序", "解锁运行程序" and the help topics have no action of their own
  }
}

int ProcessCommands::SelectedRow() const { return f_.lvw().Selected(); }

// The window may be destroyed while a message box or a wait lets messages run (its close box, the
// tray's exit); nothing that follows may then act on it or on the user's earlier choice.
bool ProcessCommands::WindowGone() const { return f_.frame() == nullptr; }

void ProcessCommands::ClearFilter() { f_.SetChk(false); }

void ProcessCommands::EndProcess() {
  const ProcessRow* row = f_.lvw().SelectedRow();
  if (!row) return;
  OffTopWhile offTop(f_.frame());
  std::wstring name = row->name;
  uint32_t pid = row->pid;
  auto created = f_.table().RowCreateTime(pid);  // which process the user saw, read before asking
  bool ok = common::MsgBox(f_.frame(), EndConfirmText(name), MB_ICONQUESTION | MB_OKCANCEL) == IDOK;
  if (!ok || pid == 0 || WindowGone()) return;
  if (created && EndPro(pid, *created, f_.system()) == EndResult::Critical) {
    common::MsgBox(f_.frame(), CriticalRefusalText(name), MB_ICONWARNING | MB_OK);
    return;
  }
  ClearFilter();
}

void ProcessCommands::DeleteProcess() {
  const ProcessRow* row = f_.lvw().SelectedRow();
  if (!row) return;
  OffTopWhile offTop(f_.frame());
  std::wstring name = row->name, path = row->path;
  uint32_t pid = row->pid;
  auto created = f_.table().RowCreateTime(pid);
  bool ok = common::MsgBox(f_.frame(), DeleteConfirmText(path), MB_ICONQUESTION | MB_OKCANCEL) == IDOK;
  if (!ok || pid == 0 || WindowGone()) return;
  EndResult ended = created ? EndPro(pid, *created, f_.system()) : EndResult::NotSame;
  if (ended == EndResult::Critical) {
    common::MsgBox(f_.frame(), CriticalRefusalText(name), MB_ICONWARNING | MB_OK);
    return;
  }
  // The file stays locked until the process has really gone; wait for that, letting the window live.
  if (ended == EndResult::Ended) WaitProcessGone(pid, *created, kReleaseWaitMs, f_.frame());
  if (WindowGone()) return;
  if (!DeleteFileSilent(path)) common::MsgBox(f_.frame(), DeleteFailText(path), MB_ICONWARNING | MB_OK);
  if (!WindowGone()) ClearFilter();
}

void ProcessCommands::SetPriority(int item) {
  if (item < 0 || item >= int(kPriorityItems.size()) || ItemChecked(ID_MNUSETPROCLASSSUB0 + item)) return;
  const ProcessRow* row = f_.lvw().SelectedRow();
  if (!row) return;
  OffTopWhile offTop(f_.frame());
  DWORD pid = row->pid;
  std::wstring name = row->name;
  if (SetProClass(pid, kPriorityItems[item].priorityClass))
    f_.table().RefreshPriority(pid);
  else
    common::MsgBox(f_.frame(), PriorityFailText(name), MB_ICONERROR | MB_OK);
}

void ProcessCommands::Suoding() {
  ShowDesktopIcons(true);
  for (int id : {ID_DESKTOPCANCEL, ID_MNUEXIT, ID_MNUENDPRO}) EnableMenuItem(menu_, id, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(menu_, POS_MNUPROCESS, MF_BYPOSITION | MF_GRAYED);
  DrawMenuBar(f_.frame());
}

void ProcessCommands::TurnOff() {
  common::SetTopMost(f_.frame(), false);
  if (common::MsgBox(f_.frame(), kShutdownQuestion, MB_ICONQUESTION | MB_YESNO, kShutdownTitle) == IDYES &&
      !WindowGone())
    shutdown();
}

void ProcessCommands::ToggleOnTop() {
  bool on = !ItemChecked(ID_MNUONTOP);
  CheckMenuItem(menu_, ID_MNUONTOP, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  common::SetTopMost(f_.frame(), on);
}

void ProcessCommands::ListRightClick(POINT client) {
  int row = f_.lvw().HitTest(client);
  if (row < 0) return;
  f_.lvw().Select(row);
  const ProcessRow* selected = f_.lvw().SelectedRow();
  int marked = selected ? PriorityItemFor(PriorityText(selected->priorityClass)) : -1;
  for (int i = 0; i < int(kPriorityItems.size()); ++i)
    CheckMenuItem(menu_, ID_MNUSETPROCLASSSUB0 + i, MF_BYCOMMAND | (i == marked ? MF_CHECKED : MF_UNCHECKED));
  if (!ProcessMenuEnabled()) {
    ListLeftPress(client);
    return;
  }
  POINT screen = client;
  ClientToScreen(f_.lvw().hwnd(), &screen);
  showPopup(processMenu(), screen);
}

void ProcessCommands::ListLeftPress(POINT client) {
  int row = f_.lvw().HitTest(client);
  if (row >= 0) f_.lvw().Select(row);
  if (SelectedRow() < 0) return;
  pressAt_ = client;
  ShowForminfo(client);
}

void ProcessCommands::ShowForminfo(POINT client) {
  if (!forminfo_.Load(f_.frame())) return;
  RECT wr;
  GetWindowRect(f_.frame(), &wr);
  HWND h = f_.frame();
  forminfo_.Place(wr.left + client.x + common::ui::Twips(h, kInfoLeftTwips),
                  wr.top + client.y + common::ui::Twips(h, kInfoTopTwips));
  common::SetTopMost(h, false);
  common::SetTopMost(forminfo_.hwnd(), true);
  const ProcessRow* row = f_.lvw().SelectedRow();
  std::wstring path = row ? row->path : L"";
  common::SetClipboardText(h, path);
  forminfo_.FilePath = path;
  forminfo_.drawiconex();
  ShowWindow(forminfo_.hwnd(), SW_SHOWNOACTIVATE);
  SetFocus(f_.lvw().hwnd());
}

void ProcessCommands::ListMouseMove(POINT client) {
  // Windows also sends a move when a window appears under a still pointer; only a real move counts.
  if (!forminfo_.loaded() || (client.x == pressAt_.x && client.y == pressAt_.y)) return;
  forminfo_.Unload();
}

HMENU ProcessCommands::processMenu() const { return GetSubMenu(menu_, POS_MNUPROCESS); }

bool ProcessCommands::ItemEnabled(int id) const {
  UINT state = GetMenuState(menu_, id, MF_BYCOMMAND);
  return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

bool ProcessCommands::ItemChecked(int id) const {
  UINT state = GetMenuState(menu_, id, MF_BYCOMMAND);
  return state != UINT(-1) && (state & MF_CHECKED);
}

bool ProcessCommands::ProcessMenuEnabled() const {
  UINT state = GetMenuState(menu_, POS_MNUPROCESS, MF_BYPOSITION);
  return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

}  // namespace zorvix
