#include "browser/pages/win/input_box.h"

#include "common/win/message_loop.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

bool InputBox::Create(HWND owner, const std::wstring& prompt, const std::wstring& title, const std::wstring& value) {
  if (!common::ui::CreateForm(*this, L"CorvaneInputBox", title, 6000, 2500, owner)) return false;
  HWND label = CreateControl(hwnd(), L"STATIC", prompt, SS_LEFT | SS_NOPREFIX, kPrompt);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
  text_ = CreateControl(hwnd(), L"EDIT", value, ES_AUTOHSCROLL | WS_TABSTOP, kText, WS_EX_CLIENTEDGE);
  MoveTwips(label, 180, 180, 4300, 900);
  MoveTwips(ok, 4650, 180, 1100, 380);
  MoveTwips(cancel, 4650, 660, 1100, 380);
  MoveTwips(text_, 180, 1300, 5570, 330);
  // The text box comes first for the keys, as the default answer is there to be changed.
  SetWindowPos(text_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SendMessageW(text_, EM_SETSEL, 0, -1);
  SetFocus(text_);
  return true;
}

LRESULT InputBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        answer_ = common::ui::WindowText(text_);
        DestroyWindow(hwnd());
      } else if (LOWORD(wp) == IDCANCEL) {
        DestroyWindow(hwnd());
      }
      return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, text_); return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

std::wstring AskText(HWND owner, const std::wstring& prompt, const std::wstring& title, const std::wstring& value) {
  InputBox box;
  if (!box.Create(owner, prompt, title, value)) return L"";
  common::ui::RunModal(box, owner);
  return box.answer();
}

}  // namespace corvane
