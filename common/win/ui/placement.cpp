#include "common/win/ui/placement.h"

#include <algorithm>

namespace common::ui {

RECT WorkAreaOf(HWND hwnd) {
  HMONITOR monitor = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{sizeof info};
  if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT KeptInside(RECT r, const RECT& area) {
  LONG w = r.right - r.left, h = r.bottom - r.top;
  // The far edges first, so that a window larger than the area keeps its caption on it.
  LONG x = std::max(area.left, std::min(r.left, area.right - w));
  LONG y = std::max(area.top, std::min(r.top, area.bottom - h));
  return {x, y, x + w, y + h};
}

RECT PlacedOver(HWND owner, int w, int h) {
  RECT work = WorkAreaOf(owner);
  RECT over = work;
  if (owner) GetWindowRect(owner, &over);
  LONG x = over.left + (over.right - over.left - w) / 2, y = over.top + (over.bottom - over.top - h) / 2;
  return KeptInside({x, y, x + w, y + h}, work);
}

void PlaceOver(HWND hwnd, HWND owner, int w, int h) {
  RECT r = PlacedOver(owner, w, h);
  SetWindowPos(hwnd, nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace common::ui
