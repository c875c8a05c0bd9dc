// Windows built in code get no dialog manager: the control that had the focus when the window lost
// activation gets it back (the first control at the first activation), and the dialog navigation's
// request for the next control (Tab, Shift+Tab) is answered here.
#pragma once
#include <windows.h>

namespace corvane {

class FocusKeeper {
 public:
  // From the window's WM_ACTIVATE.
  void Activate(HWND window, WPARAM wp, HWND first) {
    if (LOWORD(wp) == WA_INACTIVE) {
      HWND f = GetFocus();
      if (f && IsChild(window, f)) last_ = f;
    } else {
      SetFocus(last_ && IsWindow(last_) ? last_ : first);
    }
  }

  // From the window's WM_NEXTDLGCTL.
  static void Next(HWND window, WPARAM wp, LPARAM lp) {
    HWND next = LOWORD(lp) ? HWND(wp) : GetNextDlgTabItem(window, GetFocus(), BOOL(wp));
    if (!next) return;
    SetFocus(next);
    // A text box reached by the keys shows its whole text selected, as in a dialog.
    if (!LOWORD(lp) && (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
      SendMessageW(next, EM_SETSEL, 0, -1);
  }

 private:
  HWND last_ = nullptr;
};

}  // namespace corvane
