// The one message routing of the suite: keyboard messages reach the hosted HTML control first, then the
// accelerators of their top-level window, then that window's dialog navigation (Tab, arrows, mnemonics,
// Enter as IDOK, Esc as IDCANCEL). The main loop, modal loops and a long loop's pump step all use it.
#pragma once
#include <windows.h>

#include <functional>

namespace common {

// Routes keys for the top-level window `top` and its children: its accelerators (may be null) first, then,
// when `navigate`, dialog navigation. Calling it again replaces the window's entry; entries of destroyed
// windows are dropped.
void SetDialogKeys(HWND top, HACCEL accel = nullptr, bool navigate = true);
void ClearDialogKeys(HWND top);
// True when SetDialogKeys registered the window (and it still exists).
bool HasDialogKeys(HWND top);
// A program-wide first look at every keyboard message; it returns true when it consumed the message.
void SetKeyFilter(std::function<bool(MSG&)> filter);
// The routing; true when the message was consumed and must not be dispatched.
bool PreTranslate(MSG& msg);
// Gets, routes and dispatches until WM_QUIT; returns its exit code.
int RunMessageLoop();
// Runs until `dialog` is destroyed, with `owner` (may be null) disabled meanwhile and activated afterwards.
// A quit request met here is put back for the main loop.
void RunModalLoop(HWND dialog, HWND owner);

}  // namespace common
