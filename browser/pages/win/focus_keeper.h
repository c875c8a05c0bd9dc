// Windows built in code get no dialog manager to remember their focus: the control that had it when the
// window lost activation gets it back (the first control at the first activation).
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

 private:
  HWND last_ = nullptr;
};

}  // namespace corvane
