// A tool tip over a whole control.
#pragma once
#include <windows.h>

namespace common::ui {

// Shows text while the mouse rests on control; the tip belongs to owner and goes with it.
void AddToolTip(HWND owner, HWND control, const wchar_t* text);

}  // namespace common::ui
