#include "browser/shell/win/tab_strip.h"

#include <commctrl.h>
#include <windowsx.h>

namespace corvane {
namespace {
constexpr UINT_PTR kStripTool = 1;
}  // namespace

int TabStrip::Px(int twips) const { return common::ui::Twips(hwnd(), twips); }

bool TabStrip::Create(HWND parent, Handlers handlers) {
  handlers_ = std::move(handlers);
  if (!Window::Create(L"CorvaneTabStrip", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 100, 22, parent))
    return false;
  // One tool over the whole strip; its text follows the tab under the mouse.
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd(),
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW ti{sizeof ti};
  ti.uFlags = TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = kStripTool;
  ti.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  return true;
}

RECT TabStrip::TabRect(int number) const {
  const TabLabels& l = labels_[number];
  RECT rc;
  GetClientRect(hwnd(), &rc);
  return {Px(l.left), 1, Px(l.left + l.width), rc.bottom};
}

RECT TabStrip::Image1Rect() const {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int side = rc.bottom - 4;
  return {rc.right - side - 8, 2, rc.right - 8, 2 + side};
}

void TabStrip::Show(const std::vector<int>& order) {
  order_ = order;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void TabStrip::Refresh(int number) {
  RECT rc = TabRect(number);
  InvalidateRect(hwnd(), &rc, TRUE);
}

int TabStrip::HitTab(POINT p) const {
  for (int n : order_) {
    RECT rc = TabRect(n);
    if (PtInRect(&rc, p)) return n;
  }
  return -1;
}

void TabStrip::UpdateTips() {
  if (!tips_) return;
  TTTOOLINFOW ti{sizeof ti};
  ti.hwnd = hwnd();
  ti.uId = kStripTool;
  GetClientRect(hwnd(), &ti.rect);
  SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring TabStrip::TipAt(POINT p) const {
  RECT x = Image1Rect();
  if (PtInRect(&x, p)) return kImage1Tip;
  int n = HitTab(p);
  return n >= 0 ? labels_[n].tip : std::wstring();
}

void TabStrip::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT all;
  GetClientRect(hwnd(), &all);
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, common::ui::UiFontOf(hwnd()));
  SetBkMode(dc, TRANSPARENT);
  int upHeight = std::max(2, Px(45));
  for (int n : order_) {
    const TabLabels& l = labels_[n];
    RECT rc = TabRect(n);
    HBRUSH back = CreateSolidBrush(l.active ? kTabActiveBack : kTabOtherBack);
    FillRect(dc, &rc, back);
    DeleteObject(back);
    if (l.upVisible) {
      RECT up{rc.left, rc.top, rc.left + Px(l.upWidth), rc.top + upHeight};
      HBRUSH b = CreateSolidBrush(l.active ? kUpActive : kUpOther);
      FillRect(dc, &up, b);
      DeleteObject(b);
    }
    SetTextColor(dc, l.active ? kTabActiveText : kTabOtherText);
    RECT text{rc.left + 4, rc.top + upHeight, rc.right - 2, rc.bottom};
    DrawTextW(dc, l.caption.c_str(), int(l.caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  // Image1: the close picture.
  RECT x = Image1Rect();
  DrawEdge(dc, &x, BDR_RAISEDINNER, BF_RECT);
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(160, 0, 0)), oldPen = HPEN(SelectObject(dc, pen));
  int m = (x.right - x.left) / 4;
  MoveToEx(dc, x.left + m, x.top + m, nullptr);
  LineTo(dc, x.right - m, x.bottom - m);
  MoveToEx(dc, x.right - m - 1, x.top + m, nullptr);
  LineTo(dc, x.left + m - 1, x.bottom - m);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  SelectObject(dc, oldFont);
  EndPaint(hwnd(), &ps);
}

void TabStrip::MouseDown(POINT p, int button) {
  RECT x = Image1Rect();
  if (PtInRect(&x, p)) {
    if (handlers_.image1) handlers_.image1(button);
    return;
  }
  int n = HitTab(p);
  if (n >= 0 && handlers_.mouseDown) handlers_.mouseDown(n, button);
}

LRESULT TabStrip::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: MouseDown(p, 1); return 0;
    case WM_RBUTTONDOWN: MouseDown(p, 2); return 0;
    case WM_MBUTTONDOWN: MouseDown(p, 4); return 0;
    case WM_LBUTTONDBLCLK: {
      int n = HitTab(p);
      if (n >= 0 && handlers_.dblClick) handlers_.dblClick(n);
      return 0;
    }
    case WM_SIZE: UpdateTips(); return 0;
    case WM_MOUSEMOVE: {
      std::wstring tip = TipAt(p);
      if (tip != shownTip_) {  // another tab: the tip text is asked for again
        shownTip_ = tip;
        SendMessageW(tips_, TTM_POP, 0, 0);
      }
      break;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TTN_GETDISPINFOW) {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(lp);
        POINT cur;
        GetCursorPos(&cur);
        ScreenToClient(hwnd(), &cur);
        shownTip_ = TipAt(cur);
        di->lpszText = shownTip_.data();
        return 0;
      }
      break;
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
