#include "browser/tools/win/speed_meter_view.h"

#include <algorithm>

namespace corvane {
namespace {
constexpr UINT_PTR kTimer2 = 2;
constexpr COLORREF kBarColour = 0x0000C000;  // green, as the tabs' progress
}  // namespace

bool MeterBox::Create(HWND parent, const std::wstring& text) {
  text_ = text;
  return Window::Create(L"CorvaneMeterBox", text, WS_CHILD | WS_VISIBLE, WS_EX_STATICEDGE, 0, 0, 10, 10, parent);
}

void MeterBox::Set(int64_t kb, const std::wstring& text) {
  if (kb == kb_ && text == text_) return;
  kb_ = kb;
  text_ = text;
  SetWindowTextW(hwnd(), text.c_str());
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void MeterBox::StartTimer(UINT_PTR id, UINT ms, std::function<void()> onTimer) {
  onTimer_ = std::move(onTimer);
  SetTimer(hwnd(), id, ms, nullptr);
}

int64_t MeterBox::BarPixels() const {
  RECT rc{};
  GetClientRect(hwnd(), &rc);
  return BarWidth(rc.right, kb_);
}

void MeterBox::Paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, std::max(1L, rc.right), std::max(1L, rc.bottom));
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  FillRect(mem, &rc, GetSysColorBrush(COLOR_WINDOW));
  RECT bar = rc;
  bar.right = LONG(std::min<int64_t>(BarPixels(), rc.right));
  if (bar.right > 0) {
    HBRUSH b = CreateSolidBrush(kBarColour);
    FillRect(mem, &bar, b);
    DeleteObject(b);
  }
  HGDIOBJ oldFont = SelectObject(mem, common::ui::UiFont());
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(mem, text_.c_str(), int(text_.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldFont);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
}

LRESULT MeterBox::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: InvalidateRect(hwnd(), nullptr, FALSE); return 0;
    case WM_TIMER:
      if (wp == kTimer2 && onTimer_) onTimer_();
      return 0;
  }
  return Default(msg, wp, lp);
}

bool SpeedMeterView::Create(HWND frame, bool timer) {
  if (!picDown_.Create(frame, kDownCaption) || !picUp_.Create(frame, kUpCaption)) return false;
  // Timer2 lives on the download box.
  if (timer) picDown_.StartTimer(kTimer2, 1000, [this] { Timer2(); });
  return true;
}

SpeedMeter::Reading SpeedMeterView::Timer2() {
  SpeedMeter::Reading r = meter_.Tick(SamplesOf(ipHelper_.Interfaces()));
  if (r.show) {
    picDown_.Set(r.downKB, SpeedText(r.downKB));
    picUp_.Set(r.upKB, SpeedText(r.upKB));
  }
  return r;
}

}  // namespace corvane
