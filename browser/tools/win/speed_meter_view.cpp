#include "browser/tools/win/speed_meter_view.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win/ui/window.h"

namespace corvane {
namespace {
constexpr UINT_PTR kTimer2 = 2;
constexpr UINT_PTR kSubclassId = 0x5044;       // "PD"
constexpr COLORREF kBarColour = 0x0000C000;  // green, as the tabs' progress
}  // namespace

bool MeterBox::Attach(HWND box, const std::wstring& text) {
  Detach();
  if (!box || !SetWindowSubclass(box, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  hwnd_ = box;
  text_.clear();
  Set(0, text);
  return true;
}

void MeterBox::Detach() {
  if (!hwnd_) return;
  KillTimer(hwnd_, kTimer2);
  RemoveWindowSubclass(hwnd_, Proc, kSubclassId);
  InvalidateRect(hwnd_, nullptr, TRUE);
  hwnd_ = nullptr;
}

void MeterBox::Set(int64_t kb, const std::wstring& text) {
  if (kb == kb_ && text == text_) return;
  kb_ = kb;
  text_ = text;
  SetWindowTextW(hwnd_, text.c_str());
  InvalidateRect(hwnd_, nullptr, FALSE);
}

int64_t MeterBox::BarPixels() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return BarWidth(rc.right, kb_);
}

void MeterBox::Paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
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
  HGDIOBJ oldFont = SelectObject(mem, common::ui::UiFontOf(hwnd_));
  SetBkMode(mem, TRANSPARENT);
  SetTextColor(mem, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(mem, text_.c_str(), int(text_.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldFont);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
}

LRESULT CALLBACK MeterBox::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<MeterBox*>(ref);
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      self->Paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: InvalidateRect(hwnd, nullptr, FALSE); break;
    case WM_TIMER:
      if (wp == kTimer2) {
        if (self->onTimer) self->onTimer();
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      std::function<void()> gone = std::move(self->onGone);
      self->Detach();
      LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      if (gone) gone();  // may free the box itself
      return r;
    }
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

bool SpeedMeterView::Attach(HWND picDown, HWND picUp, bool timer) {
  if (!picDown_.Attach(picDown, kDownCaption) || !picUp_.Attach(picUp, kUpCaption)) return false;
  if (timer) {
    picDown_.onTimer = [this] { Timer2(); };
    SetTimer(picDown, kTimer2, 1000, nullptr);
  }
  return true;
}

SpeedMeterView* SpeedMeterView::Start(HWND picDown, HWND picUp, TableSource source) {
  auto* view = source ? new SpeedMeterView(std::move(source)) : new SpeedMeterView;
  if (!view->Attach(picDown, picUp)) {
    delete view;
    return nullptr;
  }
  view->picDown_.onGone = [view] { delete view; };
  return view;
}

SpeedMeter::Reading SpeedMeterView::Timer2() {
  SpeedMeter::Reading r = meter_.Tick(SamplesOf(source_ ? source_() : ipHelper_.Interfaces()));
  if (r.show) {
    picDown_.Set(r.downKB, SpeedText(r.downKB));
    picUp_.Set(r.upKB, SpeedText(r.upKB));
  }
  return r;
}

}  // namespace corvane
