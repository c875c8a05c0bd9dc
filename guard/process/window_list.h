// Rules of the window list: which top-level windows are listed and which a close command reaches.
#pragma once
#include <string>
#include <string_view>

namespace zorvix {

// Every window with a non-empty title is listed.
bool ListedTitle(std::wstring_view title);
// The close command reaches a window when its title contains the text, ignoring case. An empty text
// reaches none: it would otherwise close every window on the desktop.
bool TitleMatches(std::wstring_view title, std::wstring_view text);
std::wstring CloseWindowConfirmText(std::wstring_view title);

// Columns of the window list (captions and widths in twips).
struct WindowListColumn {
  const wchar_t* caption;
  int twips;
};
inline constexpr WindowListColumn kWindowListColumns[] = {{L"序号", 600}, {L"窗口名称", 6000}, {L"窗口属性", 2000}};
inline constexpr wchar_t kCloseWindowCaption[] = L"关闭窗口(&D)";
// Titles are read through a field of this many characters, the terminating NUL included.
inline constexpr int kTitleField = 256;

}  // namespace zorvix
