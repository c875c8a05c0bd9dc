#include "common/win/ui/form.h"

#include "common/win/message_loop.h"
#include "common/win/ui/placement.h"

namespace common::ui {

bool CreateForm(Window& w, const wchar_t* cls, const std::wstring& caption, int widthTwips, int heightTwips,
                HWND owner, HICON icon) {
  int cw = Twips(owner, widthTwips), ch = Twips(owner, heightTwips);
  RECT r = PlacedOver(owner, cw, ch);
  if (!w.Create(cls, caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, r.left,
                r.top, cw, ch, owner, nullptr, icon))
    return false;
  SetDialogKeys(w.hwnd());
  return true;
}

HWND Put(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y, int w, int h,
         DWORD exStyle) {
  HWND c = CreateControl(parent, cls, text, style, id, exStyle);
  MoveTwips(c, x, y, w, h);
  return c;
}

}  // namespace common::ui
