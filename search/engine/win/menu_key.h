// The menu key for controls that leave it to a system that does not always pass it on: the control's
// window asks its parent for the menu as Shift+F10 does, once per press.
#pragma once
#include <windows.h>

namespace sercavo {

// For a control's subclass: true when msg was the menu key (handled: the parent got WM_CONTEXTMENU with
// the keyboard's point, -1, -1), false for everything else.
bool HandleMenuKey(HWND control, UINT msg, WPARAM wp);

}  // namespace sercavo
