// The tab strip's tabs keep their width in inches when the frame moves to a screen of another DPI.
#include "browser/shell/win/tab_strip.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
class Host : public common::ui::Window {};
}  // namespace

TEST(TabStrip, TabsFollowTheFramesDpi) {
  Host host;
  ASSERT_TRUE(host.Create(L"CorvaneStripHost", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 800, 200));
  TabStrip strip;
  ASSERT_TRUE(strip.Create(host.hwnd(), {}));
  MoveWindow(strip.hwnd(), 0, 0, 700, 22, FALSE);
  strip.labels()[0].width = 1440;  // one inch
  strip.labels()[1].left = 1440;
  strip.labels()[1].width = 1440;
  strip.Show({0, 1});
  int base = common::ui::DpiOf(host.hwnd());
  POINT past{base * 5 / 4, 5};  // a quarter inch into the second tab
  EXPECT_EQ(strip.HitTab(past), 1);

  int dpi = base * 2;
  RECT suggested{0, 0, 1600, 400};
  SendMessageW(host.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(strip.HitTab(past), 0) << "the first tab is now two of the old inches wide";
  EXPECT_EQ(strip.HitTab({dpi * 5 / 4, 5}), 1);
}
