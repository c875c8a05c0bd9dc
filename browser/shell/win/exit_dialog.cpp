#include "browser/shell/win/exit_dialog.h"

#include <oleauto.h>

#include <cmath>

#include "browser/pages/page_rules.h"
#include "common/win/ui/placement.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

long long OnlineMinutes(double startDays, double nowDays) {
  return static_cast<long long>(std::floor((nowDays - startDays) * 1440.0 + 1e-9));
}

double NowDays() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  double d = 0;
  SystemTimeToVariantTime(&st, &d);
  return d;
}

bool ExitDialog::Create(HWND owner, long long minutes) {
  int w = common::ui::Twips(owner, 5200), h = common::ui::Twips(owner, 2700);
  RECT o = common::ui::PlacedOver(owner, w, h);
  if (!Window::Create(L"CorvaneExitDialog", L"退出浏览器", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                      o.left, o.top, w, h, owner))
    return false;
  HWND label = CreateControl(hwnd(), L"STATIC", L"您确定要退出《Corvane安全浏览器》吗？", SS_LEFT, 302);
  text1_ = CreateControl(hwnd(), L"EDIT", L"本次上网时间统计： " + std::to_wstring(minutes) + L" 分钟。",
                         ES_READONLY | ES_AUTOHSCROLL, kText1, WS_EX_CLIENTEDGE);
  askMe_h_ = CreateControl(hwnd(), L"BUTTON", L"以后不要再询问我了", BS_AUTOCHECKBOX | WS_TABSTOP, kAskMe);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, kOKButton);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消", BS_PUSHBUTTON | WS_TABSTOP, kCancelButton);
  MoveTwips(label, 240, 200, 4600, 300);
  MoveTwips(text1_, 240, 600, 4600, 330);
  MoveTwips(askMe_h_, 240, 1050, 3000, 300);
  MoveTwips(ok, 2300, 1500, 1200, 400);
  MoveTwips(cancel, 3650, 1500, 1200, 400);
  SetFocus(ok);
  return true;
}

LRESULT ExitDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kOKButton) {
        askMe_ = SendMessageW(askMe_h_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        confirmed_ = true;
        DestroyWindow(hwnd());
      } else if (LOWORD(wp) == kCancelButton) {
        DestroyWindow(hwnd());
      }
      return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, GetDlgItem(hwnd(), kOKButton)); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
