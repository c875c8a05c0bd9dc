// The control centre's pages: filling the list for each page and the action of each page's button.
#include <windows.h>
#include <commctrl.h>

#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/shell_icon.h"
#include "guard/control/win/formface.h"
#include "guard/process/process_actions.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/process_actions.h"
#include "guard/process/win/process_table.h"
#include "guard/process/win/window_list_win.h"

namespace zorvix {
namespace {

using Align = common::ui::ListView::Align;

Align ToAlign(ColumnAlign a) {
  return a == ColumnAlign::Right ? Align::Right : a == ColumnAlign::Center ? Align::Center : Align::Left;
}

// Runs while a command lets window messages run, so that the window is not closed under it.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Busy() { flag_ = was_; }

 private:
  bool& flag_;
  bool was_;
};

constexpr wchar_t kAllowed[] = L"允许", kBlocked[] = L"禁止";

}  // namespace

void Formface::SelectTab(int position) {
  if (!loaded()) return;
  const FacePage& page = PageAt(position);
  if (TabCtrl_GetCurSel(tap_) != int(page.type) - 1) TabCtrl_SetCurSel(tap_, int(page.type) - 1);
  forminfo_.Unload();
  page_ = page.type;
  ShowPage(page);
  FillPage();
}

void Formface::ShowPage(const FacePage& page) {
  HWND list = lvw_.hwnd();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  lvw_.ClearColumns();
  startValues_.clear();
  programs_.clear();
  // Only the switch page has check boxes; the state images go with them.
  bool checks = page.type == PageType::Repair;
  if (!checks) {
    HIMAGELIST states = ListView_SetImageList(list, nullptr, LVSIL_STATE);
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES, 0);
    if (states) ImageList_Destroy(states);
  } else {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  }
  // Rows show their program's icon where they name one that runs or may run.
  bool icons = page.type == PageType::System || page.type == PageType::Start || page.type == PageType::Net;
  ListView_SetImageList(list, icons ? images_.handle() : nullptr, LVSIL_SMALL);
  for (const PageColumn& c : page.columns) lvw_.AddColumn(c.caption, c.twips, ToAlign(c.align));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  bool text = page.columns.empty();
  ShowWindow(texhelp_, text ? SW_SHOW : SW_HIDE);
  ShowWindow(list, text ? SW_HIDE : SW_SHOW);
  SetWindowTextW(command4_, page.command4);
}

void Formface::FillPage() {
  switch (page_) {
    case PageType::Home: break;
    case PageType::System: FillProcesses(); break;
    case PageType::Windows: ListWindows(lvw_); break;
    case PageType::Start: loadreg(); break;
    case PageType::Net: FillFirewall(); break;
    case PageType::Setup: FillInstalled(); break;
    case PageType::Repair: FillSwitches(); break;
  }
}

int Formface::AddRow(const std::wstring& key, const std::vector<std::wstring>& texts, int image) {
  int row = lvw_.Add(key, texts.empty() ? L"" : texts[0], image);
  for (size_t c = 1; row >= 0 && c < texts.size(); ++c) lvw_.SetText(row, int(c), texts[c]);
  return row;
}

int Formface::KeyNumber(int row) const {
  std::wstring key = lvw_.Key(row);
  return key.size() > 1 ? int(common::NumberOrZero(key.substr(1))) : 0;
}

int Formface::IconFor(const std::wstring& path) {
  if (int i = images_.Find(path); i >= 0) return i;
  common::Icon icon = path.empty() ? nullptr : common::GetFileIcon(path, true);
  if (icon) return images_.Add(path, icon.get());
  // The window's own picture stands in for a program without an icon.
  return images_.Add(L"", links_.icon ? links_.icon : LoadIconW(nullptr, IDI_APPLICATION));
}

// A copy of the process window's rows whose program is not trusted, with their icons.
void Formface::FillProcesses() {
  const ProcessTable* table = links_.processes;
  if (!table) return;
  const ProcessRows& rows = table->rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].trusted) continue;
    std::vector<std::wstring> texts;
    for (int c = kColName; c <= kColRemark; ++c) texts.push_back(rows.Text(i, c));
    AddRow(L"P" + texts[kColPid], texts, CopiedIcon(table->images(), rows[i].path));
  }
}

// This window's image of a program, copied from the process list's icons; -1 when it has none there.
int Formface::CopiedIcon(const RowIcons& icons, const std::wstring& path) {
  int source = path.empty() ? -1 : icons.Find(path);
  if (source < 0) return -1;
  if (int image = images_.Find(path); image >= 0) return image;
  HICON icon = ImageList_GetIcon(icons.handle(), source, ILD_NORMAL);
  int image = images_.Add(path, icon);
  if (icon) DestroyIcon(icon);
  return image;
}

void Formface::loadreg() {
  ListStartupValues(links_.startupLocations, [this](const RunValue& v) { readtolvw(v); });
}

void Formface::readtolvw(const RunValue& value) {
  std::wstring name = value.name.empty() ? kDefaultValueName : value.name;
  // The location as the user reads it; the decision lists keep it lower-cased (value.location).
  std::wstring location = ShownLocation(value.root, value.key, value.view, value.name);
  std::wstring program = ExtractRunPath(value.program);
  bool trusted = links_.isTrusted && !program.empty() && links_.isTrusted(program);
  int number = startValues_.empty() ? 1 : startValues_.rbegin()->first + 1;
  startValues_[number] = value;
  AddRow(L"S" + std::to_wstring(number), {name, trusted ? kTrustedMark : kUntrustedMark, value.program, location},
         IconFor(program));
}

void Formface::FillFirewall() {
  if (!links_.firewallRows) return;
  for (const FirewallRow& r : links_.firewallRows())
    AddRow(L"N" + std::to_wstring(r.number), {r.name, r.allowed ? kAllowed : kBlocked, common::ToLower(r.path)},
           IconFor(r.path));
}

void Formface::FillInstalled() {
  InstalledList list;
  for (const UninstallSource& s : links_.uninstallSources) ReadUninstallEntries(s, list);
  int number = 0;
  for (const InstalledProgram& p : list.programs()) {
    programs_[++number] = p;
    AddRow(L"U" + std::to_wstring(number), {p.name, p.uninstall, p.helpLink});
  }
}

void Formface::FillSwitches() {
  for (int row = 1; row <= kSwitchRows; ++row)
    AddRow(L"R" + std::to_wstring(row), {std::to_wstring(row), kSwitchCaptions[row - 1], L""});
  // Row 7 writes both ways: shown as it stands, so that an apply keeps entries the user has.
  SetTicked(kSwitchRows, ContextEntriesOn(links_.registry));
}

bool Formface::Ticked(int row) const {
  int index = lvw_.Find(L"R" + std::to_wstring(row));
  return index >= 0 && ListView_GetCheckState(lvw_.hwnd(), index);
}

void Formface::SetTicked(int row, bool on) {
  int index = lvw_.Find(L"R" + std::to_wstring(row));
  if (index >= 0) ListView_SetCheckState(lvw_.hwnd(), index, on);
}

void Formface::Command4Click() {
  if (busy_ || !loaded()) return;
  if (page_ == PageType::Home) {
    links_.shellOpen(kHomeSite);
    return;
  }
  if (page_ == PageType::Repair) return ApplySwitchPage();
  int row = lvw_.Selected();
  if (row < 0) return;
  Busy busy(busy_);
  switch (page_) {
    case PageType::System: KillProcess(row); break;
    case PageType::Windows: CloseSelectedWindow(hwnd(), lvw_); break;
    case PageType::Start: DeleteStartEntry(row); break;
    case PageType::Net: DeleteFirewallEntry(row); break;
    case PageType::Setup: Uninstall(row); break;
    default: break;
  }
}

std::wstring Formface::RowProgram(int row) const {
  int column = ProgramColumn(page_);
  if (row < 0 || column < 0) return L"";
  std::wstring text = lvw_.Text(row, column);
  // A process's path is its image path as it stands; the other pages hold command lines.
  return page_ == PageType::System ? text : CleanCommandPath(text);
}

bool Formface::Confirm(const std::wstring& question) {
  return common::MsgBox(hwnd(), question, MB_ICONQUESTION | MB_OKCANCEL) == IDOK && loaded();
}

void Formface::Command5Click() {
  if (!loaded()) return;
  if (page_ != PageType::System && page_ != PageType::Start && page_ != PageType::Net) {
    common::MsgBox(hwnd(), kNoFolderText, MB_ICONINFORMATION | MB_OK);
    return;
  }
  std::wstring path = RowProgram(lvw_.Selected());
  if (!path.empty()) OpenFolderSelect(path);
}

void Formface::KillProcess(int row) {
  std::wstring name = lvw_.Text(row, kColName), path = lvw_.Text(row, kColPath);
  uint32_t pid = PidOf(lvw_.Text(row, kColPid));
  if (!Confirm(KillProcessConfirmText(name))) return;
  if (pid == 0 || !links_.endProcess || !links_.endProcess(pid, name)) return;
  common::PumpMessages();
  if (!loaded()) return;
  // The file stays: Explorer shows it so that the user can delete it.
  OpenFolderSelect(path);
}

void Formface::DeleteStartEntry(int row) {
  int number = KeyNumber(row);
  auto it = startValues_.find(number);
  if (it == startValues_.end()) return;
  const RunValue value = it->second;
  std::wstring name = lvw_.Text(row, 0), location = lvw_.Text(row, 3);
  if (!Confirm(DeleteStartConfirmText(name))) return;
  StartDelete done = links_.deleteStartValue(value, links_.startupBackup);
  if (auto problem = StartDeleteProblem(done, name, location, links_.startupBackup)) {
    // Still in the registry: the row stays, and so does the user's earlier allow.
    common::MsgBox(hwnd(), *problem, MB_ICONWARNING | MB_OK);
    return;
  }
  startValues_.erase(number);
  lvw_.Remove(lvw_.Find(L"S" + std::to_wstring(number)));
  // Gone: a new value at the same place must be asked about again.
  if (links_.forgetAllowedLocation && !links_.forgetAllowedLocation(value.location))
    common::MsgBox(hwnd(), kAllowListNotWrittenText, MB_ICONWARNING | MB_OK);
}

void Formface::DeleteFirewallEntry(int row) {
  int number = KeyNumber(row);
  std::wstring name = lvw_.Text(row, 0);
  if (number <= 0 || name.empty() || !links_.deleteProgram) return;
  if (!Confirm(DeleteNetConfirmText(name))) return;
  links_.deleteProgram(number, lvw_.Text(row, 2));
  // The entries after it were renumbered: the page is read again.
  if (page_ == PageType::Net) SelectTab(int(PageType::Net));
}

void Formface::Uninstall(int row) {
  auto it = programs_.find(KeyNumber(row));
  if (it == programs_.end()) return;
  const InstalledProgram program = it->second;
  if (!Confirm(UninstallConfirmText(program.name))) return;
  std::wstring command = common::Trim(program.uninstall);
  if (command.empty()) {
    common::MsgBox(hwnd(), kCannotUninstallText, MB_ICONINFORMATION | MB_OK);
    return;
  }
  if (auto reason = StartUninstall(command))
    common::MsgBox(hwnd(), UninstallFailedText(command, *reason), MB_ICONWARNING | MB_OK);
}

void Formface::ApplySwitchPage() {
  std::array<bool, kSwitchRows> ticked{};
  for (int row = 1; row <= kSwitchRows; ++row) ticked[row - 1] = Ticked(row);
  std::vector<int> failed = ApplySwitches(ticked, links_.registry);
  common::MsgBox(hwnd(), ApplyResultText(failed), (failed.empty() ? MB_ICONINFORMATION : MB_ICONWARNING) | MB_OK);
}

void Formface::Timer1Tick() {
  if (busy_ || page_ != PageType::System || !links_.processListed) return;
  for (int row = lvw_.Count() - 1; row >= 0; --row)
    if (!links_.processListed(PidOf(lvw_.Text(row, kColPid)))) lvw_.Remove(row);
}

}  // namespace zorvix
