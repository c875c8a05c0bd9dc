#include "browser/tools/win/input_box.h"

#include "browser/shell/win/modal.h"
#include "common/win/message_loop.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

bool InputBox::Create(HWND owner, const std::wstring& prompt, const std::wstring& title) {
  int w = common::ui::Twips(owner, 6200), h = common::ui::Twips(owner, 2500);
  RECT o{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &o);
  if (!Window::Create(L"CorvaneInputBox", title, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                      (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2, w, h, owner))
    return false;
  HWND label = CreateControl(hwnd(), L"STATIC", prompt, SS_LEFT | SS_NOPREFIX, kPrompt);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, kOK);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, kCancel);
  edit_ = CreateControl(hwnd(), L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, kAnswer, WS_EX_CLIENTEDGE);
  MoveTwips(label, 180, 180, 4400, 900);
  MoveTwips(ok, 4750, 180, 1200, 380);
  MoveTwips(cancel, 4750, 650, 1200, 380);
  MoveTwips(edit_, 180, 1250, 5770, 330);
  common::SetDialogKeys(hwnd());
  SetFocus(edit_);
  return true;
}

LRESULT InputBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kOK) {
        answer_ = common::ui::WindowText(edit_);
        DestroyWindow(hwnd());
      } else if (LOWORD(wp) == kCancel) {
        DestroyWindow(hwnd());
      }
      return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

std::optional<std::wstring> AskText(HWND owner, const std::wstring& prompt, const std::wstring& title) {
  InputBox box;
  if (!box.Create(owner, prompt, title)) return std::nullopt;
  RunModal(box, owner);
  return box.answer();
}

}  // namespace corvane
