#include <gtest/gtest.h>

#include "common/win/ui/placement.h"

namespace {
HWND Popup(int x, int y, int w, int h) {
  return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
}

bool Inside(const RECT& r, const RECT& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}
}  // namespace

TEST(Placement, WithoutOwnerCentredOnThePrimaryWorkArea) {
  RECT work = common::ui::WorkAreaOf(nullptr);
  RECT r = common::ui::PlacedOver(nullptr, 300, 200);
  EXPECT_EQ(r.left, work.left + (work.right - work.left - 300) / 2);
  EXPECT_EQ(r.top, work.top + (work.bottom - work.top - 200) / 2);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
}

TEST(Placement, OverTheOwnerAndWholeOnItsMonitorsWorkArea) {
  RECT work = common::ui::WorkAreaOf(nullptr);
  // In the middle: centred on the owner.
  HWND owner = Popup(work.left + 100, work.top + 100, 600, 400);
  RECT r = common::ui::PlacedOver(owner, 300, 200);
  EXPECT_EQ(r.left, work.left + 250);
  EXPECT_EQ(r.top, work.top + 200);
  // Hanging over the bottom-right and the top-left edges: the dialog comes back on the work area.
  for (POINT at : {POINT{work.right - 150, work.bottom - 100}, POINT{work.left - 500, work.top - 350}}) {
    SetWindowPos(owner, nullptr, at.x, at.y, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    r = common::ui::PlacedOver(owner, 300, 200);
    EXPECT_TRUE(Inside(r, work)) << r.left << "," << r.top;
    EXPECT_EQ(r.right - r.left, 300);
  }
  // Moving a made window there, at its new size.
  HWND dialog = Popup(0, 0, 10, 10);
  common::ui::PlaceOver(dialog, owner, 320, 240);
  RECT placed;
  GetWindowRect(dialog, &placed);
  EXPECT_TRUE(Inside(placed, work));
  EXPECT_EQ(placed.right - placed.left, 320);
  DestroyWindow(dialog);
  DestroyWindow(owner);
}

TEST(Placement, ALargerWindowKeepsItsTopLeftOnTheArea) {
  RECT area{0, 0, 800, 600};
  RECT r = common::ui::KeptInside({-50, 700, 1150, 1700}, area);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 1200);
  r = common::ui::KeptInside({100, 100, 300, 200}, area);  // already inside: unmoved
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
}
