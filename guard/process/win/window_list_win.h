// The list of top-level window titles and the command that closes windows by title, shown by the
// control centre in its list.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/win/ui/list_view.h"

namespace zorvix {

// The titles of the listed top-level windows, in the system's order; the guard's own are left out.
std::vector<std::wstring> ListWindowTitles();
// Creates the three columns of the window list.
void AddWindowListColumns(common::ui::ListView& lvw);
// Fills the list: one row per listed window, numbered from 1, the title in column 1.
void ListWindows(common::ui::ListView& lvw);
// Asks every top-level window of another program whose title contains text (ignoring case) to close. The
// close is posted, so a hung window cannot freeze the caller. Returns the number of windows asked.
int CloseWindowsByTitle(const std::wstring& text);
// The close command on the selected row: confirm, close by its title, remove the row. True when done.
bool CloseSelectedWindow(HWND owner, common::ui::ListView& lvw);

}  // namespace zorvix
