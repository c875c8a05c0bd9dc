#include "search/engine/win/menu_key.h"

namespace sercavo {

bool HandleMenuKey(HWND control, UINT msg, WPARAM wp) {
  if ((msg != WM_KEYDOWN && msg != WM_KEYUP) || wp != VK_APPS) return false;
  // Its release is kept from the control as well, so that no system opens the menu a second time.
  if (msg == WM_KEYDOWN)
    SendMessageW(GetParent(control), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
  return true;
}

}  // namespace sercavo
