#include "guard/process/win/window_list_win.h"

#include "common/win/msgbox.h"
#include "guard/process/window_list.h"

namespace zorvix {
namespace {

std::wstring TitleOf(HWND hwnd) {
  wchar_t buf[kTitleField];
  int n = GetWindowTextW(hwnd, buf, kTitleField);
  return std::wstring(buf, n > 0 ? n : 0);
}

// The guard's own windows are neither listed nor closed: closing them from here would take the guard down
// piece by piece (its tray icon, its firewall) or end it.
bool OwnWindow(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid == GetCurrentProcessId();
}

BOOL CALLBACK ListWindowsProc(HWND hwnd, LPARAM param) {
  if (OwnWindow(hwnd)) return TRUE;
  std::wstring title = TitleOf(hwnd);
  if (ListedTitle(title)) reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(title);
  return TRUE;
}

struct CloseSearch {
  std::wstring text;
  int asked = 0;
};

BOOL CALLBACK CloseWindowsProc(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<CloseSearch*>(param);
  if (!OwnWindow(hwnd) && TitleMatches(TitleOf(hwnd), search->text) && PostMessageW(hwnd, WM_CLOSE, 0, 0))
    ++search->asked;
  return TRUE;
}

}  // namespace

std::vector<std::wstring> ListWindowTitles() {
  std::vector<std::wstring> titles;
  EnumWindows(ListWindowsProc, reinterpret_cast<LPARAM>(&titles));
  return titles;
}

void AddWindowListColumns(common::ui::ListView& lvw) {
  for (const auto& c : kWindowListColumns) lvw.AddColumn(c.caption, c.twips);
}

void ListWindows(common::ui::ListView& lvw) {
  lvw.Clear();
  int number = 0;
  for (const auto& title : ListWindowTitles()) {
    std::wstring text = std::to_wstring(++number);
    int row = lvw.Add(L"W" + text, text);
    lvw.SetText(row, 1, title);
  }
}

int CloseWindowsByTitle(const std::wstring& text) {
  CloseSearch search{text};
  EnumWindows(CloseWindowsProc, reinterpret_cast<LPARAM>(&search));
  return search.asked;
}

bool CloseSelectedWindow(HWND owner, common::ui::ListView& lvw) {
  int row = lvw.Selected();
  if (row < 0) return false;
  std::wstring title = lvw.Text(row, 1);
  if (common::MsgBox(owner, CloseWindowConfirmText(title), MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return false;
  CloseWindowsByTitle(title);
  lvw.Remove(row);
  return true;
}

}  // namespace zorvix
