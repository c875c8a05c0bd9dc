// The three tabs of Formfire: their columns, their rows and the commands on the selected row.
#include "guard/monitors/win/formfire.h"

#include <commctrl.h>

#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/msgbox.h"
#include "common/win/shell_icon.h"
#include "common/win/system.h"
#include "guard/monitors/connection_rows.h"
#include "guard/process/process_actions.h"
#include "guard/process/process_rules.h"
#include "guard/monitors/win/formask.h"
#include "guard/process/win/process_actions.h"

namespace zorvix {
namespace {

using Align = common::ui::ListView::Align;
constexpr int kInfoLeftTwips = 220, kInfoTopTwips = 1580;
enum ConnectionColumn { kConnName, kConnRemote, kConnPath, kConnLocalPort, kConnRemotePort };

std::wstring EndListQuestion(const std::wstring& text) {
  return L"您确实要终止当前的进程列表【 " + text + L" 】吗？  ";
}
std::wstring DeleteListQuestion(const std::wstring& name) { return L"您确实要删除当前的列表【 " + name + L" 】吗？  "; }

}  // namespace

void Formfire::SelectTab(zorvix::ViewKind view) {
  ViewKind = view;
  TabCtrl_SetCurSel(tap_, view - 1);
  forminfo_.Unload();
  SendMessageW(lvw_.hwnd(), WM_SETREDRAW, FALSE, 0);
  lvw_.ClearColumns();
  SetWindowTextW(cmd_[0], view == kViewPrograms ? L"删除列表(&D)" : L"终止进程(&D)");
  if (view == kViewProcesses) {
    lvw_.AddColumn(L"进程名称", 1700);
    lvw_.AddColumn(L"PID", 700);
    lvw_.AddColumn(L"内存使用", 1000, Align::Right);
    lvw_.AddColumn(L"用户名", 1500);
    lvw_.AddColumn(L"安全 ", 700, Align::Center);
    lvw_.AddColumn(L"优先", 700);
    lvw_.AddColumn(L"进程路径", 5000);
    lvw_.AddColumn(L"备注", 5000);
    FillProcesses();
  } else if (view == kViewPrograms) {
    lvw_.AddColumn(L"软件名称", 1500);
    lvw_.AddColumn(L"网络访问", 1200, Align::Center);
    lvw_.AddColumn(L"软件路径", 7000);
    FillList = true;
    UpdatePrograms();
    FillList = false;
  } else {
    lvw_.AddColumn(L"程序名称", 1700);
    lvw_.AddColumn(L"IP 链接", 1600);
    lvw_.AddColumn(L"所在路径", 4800);
    lvw_.AddColumn(L"本地端口", 950);
    lvw_.AddColumn(L"远程端口", 950);
    RefreshList();
  }
  SendMessageW(lvw_.hwnd(), WM_SETREDRAW, TRUE, 0);
  ShowCount();
}

void Formfire::ShowCount() { sbr_.SetText(1, L"当前列表数目：" + std::to_wstring(lvw_.Count())); }

// A copy of the untrusted rows of the process table, with their icons.
void Formfire::FillProcesses() {
  const ProcessTable& table = frm_.table();
  const ProcessRows& rows = table.rows();
  ListView_SetImageList(lvw_.hwnd(), table.images().handle(), LVSIL_SMALL);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].trusted) continue;
    int image = rows[i].path.empty() ? -1 : table.images().Find(rows[i].path);
    int at = lvw_.Add(ProcessTable::KeyOf(rows[i].pid), rows[i].name, image);
    for (int col = kColPid; col <= kColRemark; ++col) lvw_.SetText(at, col, rows.Text(i, col));
  }
}

// The program list: one row per entry, tagged with the entry's number.
void Formfire::FillPrograms() {
  lvw_.SetSmallImages(icons_);
  for (const MonitoredProgram& p : monitor().programs().entries()) {
    auto icon = common::GetFileIcon(p.Path, true);
    int at = lvw_.Add(std::to_wstring(p.number), p.Name, icons_.Add(common::ToLower(p.Path), icon.get()));
    lvw_.SetText(at, 1, p.Status == kAllowed ? L"允许" : L"禁止");
    lvw_.SetText(at, 2, common::ToLower(p.Path));
  }
}

void Formfire::RefreshList() {
  if (ViewKind != kViewConnections) return;
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  lvw_.Clear();
  lvw_.SetSmallImages(icons_);
  shown_ = monitor().ListConnections();
  for (size_t i = 0; i < shown_.size(); ++i) {
    const Connection& c = shown_[i];
    const std::wstring& path = c.owner.path;
    int image = -1;
    if (!path.empty()) {
      auto icon = common::GetFileIcon(path, true);
      image = icons_.Add(common::ToLower(path), icon.get());
    }
    int at = lvw_.Add(std::to_wstring(i), path.empty() ? L"未知" : common::ToLower(common::FileNameOf(path)), image);
    lvw_.SetText(at, kConnPath, path);
    lvw_.SetText(at, kConnLocalPort, std::to_wstring(PortNumber(c.row.localPort)));
    lvw_.SetText(at, kConnRemote, AddressText(c.row, true));
    lvw_.SetText(at, kConnRemotePort, std::to_wstring(PortNumber(c.row.remotePort)));
  }
  SetCursor(old);
  ShowCount();
}

std::wstring Formfire::SelectedPath() const {
  int row = lvw_.Selected();
  if (row < 0) return L"";
  return lvw_.Text(row, ViewKind == kViewProcesses ? int(kColPath) : 2);
}

void Formfire::CmdClick(int index) {
  if (index == 0) ViewKind == kViewPrograms ? DeleteSelected() : EndSelected();
  if (index == 1 && lvw_.Selected() >= 0) OpenFolderSelect(SelectedPath());
  if (index == 2) SelectTab(zorvix::ViewKind(ViewKind));
}

// Ends the selected row's own process: the PID of the process row, or the owner (id and start time)
// of the connection, never another process that happens to carry the same name.
void Formfire::EndSelected() {
  int row = lvw_.Selected();
  if (row < 0) return;
  std::wstring text = lvw_.Text(row, 0);
  if (common::MsgBox(hwnd(), EndListQuestion(text), MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return;
  ProcessIdentity owner;
  if (ViewKind == kViewProcesses) {
    owner.pid = PidOf(lvw_.Text(row, kColPid));
    owner.started = frm_.table().RowCreateTime(owner.pid).value_or(0);  // 0: the row's process is gone
  } else {
    size_t i = size_t(common::NumberOrZero(lvw_.Key(row)));
    if (i < shown_.size()) owner = shown_[i].owner.id;
  }
  // A row stays unless its process is gone: a refusal or a failure is said, never passed off as done.
  EndResult ended = !owner.pid       ? EndResult::Failed
                    : !owner.started ? EndResult::NotSame  // the row's process is gone already
                                     : EndPro(owner.pid, owner.started);
  if (ended == EndResult::Critical || ended == EndResult::Failed) {
    common::MsgBox(hwnd(), ended == EndResult::Critical ? CriticalRefusalText(text) : EndFailedText(text),
                   MB_ICONWARNING | MB_OK);
    return;
  }
  lvw_.Remove(row);
  ShowCount();
}

void Formfire::DeleteSelected() {
  int row = lvw_.Selected();
  if (row < 0 || lvw_.Text(row, 0).empty()) return;
  if (common::MsgBox(hwnd(), DeleteListQuestion(lvw_.Text(row, 0)), MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return;
  // The row's tag is its entry's number; its path says which entry that was, should the numbers have
  // moved since in another view.
  if (!DeleteProgram(int(common::NumberOrZero(lvw_.Key(row))), lvw_.Text(row, 2)))
    common::MsgBox(hwnd(), ProgramGoneText(lvw_.Text(row, 0)), MB_ICONWARNING | MB_OK);
  SelectTab(kViewPrograms);
}

void Formfire::RowClick(POINT client) {
  int row = lvw_.HitTest(client);
  if (row < 0) return;
  lvw_.Select(row);
  std::wstring path = SelectedPath();
  if (path.empty() || !forminfo_.Load(hwnd())) return;
  pressAt_ = client;
  RECT wr;
  GetWindowRect(hwnd(), &wr);
  forminfo_.Place(wr.left + client.x + common::ui::Twips(hwnd(), kInfoLeftTwips),
                  wr.top + client.y + common::ui::Twips(hwnd(), kInfoTopTwips));
  common::SetTopMost(forminfo_.hwnd(), true);
  forminfo_.FilePath = path;
  forminfo_.drawiconex();
  ShowWindow(forminfo_.hwnd(), SW_SHOWNOACTIVATE);
}

}  // namespace zorvix
