#include "common/win/ui/tool_tip.h"

#include <commctrl.h>

namespace common::ui {

void AddToolTip(HWND owner, HWND control, const wchar_t* text) {
  HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!tip) return;
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 600);
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace common::ui
