#include "search/engine/win/tips.h"

#include <commctrl.h>

namespace sercavo {

void Tips::Create(HWND owner) {
  owner_ = owner;
  tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  if (tip_) SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Tips::Set(HWND control, const std::wstring& text) {
  if (!tip_) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text.c_str());  // the tip keeps its own copy
  bool known = !known_.insert(control).second;
  SendMessageW(tip_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring Tips::Text(HWND control) const {
  if (!tip_) return {};
  wchar_t buf[1024] = {};
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = owner_;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = buf;
  SendMessageW(tip_, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
  return buf;
}

}  // namespace sercavo
