// Dialogs built in code: the window with a caption and a close box over its owner, and its controls placed
// in twips, one call each.
#pragma once
#include <string>

#include "common/win/ui/window.h"

namespace common::ui {

// Creates `w` as a dialog of the given size in twips, placed over `owner` (common/win/ui/placement.h) and
// routed for the dialog keys; false when the window could not be made.
bool CreateForm(Window& w, const wchar_t* cls, const std::wstring& caption, int widthTwips, int heightTwips,
                HWND owner, HICON icon = nullptr);
// A child control with the UI font, at a rectangle in twips.
HWND Put(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y, int w, int h,
         DWORD exStyle = 0);

}  // namespace common::ui
