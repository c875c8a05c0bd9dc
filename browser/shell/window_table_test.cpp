#include "browser/shell/window_table.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

WindowTable Opened(int n) {
  WindowTable t;
  for (int i = 0; i < n; ++i) t.AddLab();
  return t;
}

TEST(WindowTable, NewTabGoesRightOfActiveAndBecomesActive) {
  WindowTable t = Opened(3);  // numbers 0 1 2, active at 2
  t.SetActive(0);
  EXPECT_EQ(t.AddLab(), 3);
  EXPECT_EQ(t.Order(), (std::vector<int>{0, 3, 1, 2}));
  EXPECT_EQ(t.active(), 1);
}

TEST(WindowTable, ClosingOnlyWindowKeepsIt) {
  WindowTable t = Opened(1);
  CloseResult r = t.CloseActive();
  EXPECT_TRUE(r.keptLast);
  EXPECT_EQ(r.closed, -1);
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t.freeDepth(), 0);
}

TEST(WindowTable, ClosingFirstActivatesRightNeighbourOtherwiseLeft) {
  WindowTable t = Opened(4);
  t.SetActive(0);
  CloseResult r = t.CloseActive();
  EXPECT_EQ(r.closed, 0);
  EXPECT_EQ(r.neighbour, 1);
  EXPECT_EQ(t.ActiveNumber(), 1);
  t.SetActive(1);  // order 1 2 3, active on 2
  r = t.CloseActive();
  EXPECT_EQ(r.closed, 2);
  EXPECT_EQ(r.neighbour, 1);
  EXPECT_EQ(t.ActiveNumber(), 1);
  EXPECT_EQ(t.Order(), (std::vector<int>{1, 3}));
}

TEST(WindowTable, FreeNumbersReusedLastFreedFirst) {
  WindowTable t = Opened(5);
  t.CloseNumber(1);
  t.CloseNumber(3);
  EXPECT_EQ(t.AddLab(), 3);
  EXPECT_EQ(t.AddLab(), 1);
  EXPECT_EQ(t.AddLab(), 5);  // stack empty: the next new number
}

TEST(WindowTable, AfterCloseAllNoNewWindowTakesSurvivorsNumber) {
  WindowTable t = Opened(3);
  t.CloseNumber(0);  // order 1 2
  std::vector<int> closed = t.KeepOnly(0);
  EXPECT_EQ(closed, (std::vector<int>{2}));
  EXPECT_EQ(t.Order(), (std::vector<int>{1}));
  EXPECT_EQ(t.active(), 0);
  for (int i = 0; i < 49; ++i) {
    auto n = t.AddLab();
    ASSERT_TRUE(n);
    EXPECT_NE(*n, 1);
  }
  EXPECT_EQ(t.count(), 50);
}

TEST(WindowTable, FullTableRefusesAndNumbersStayInRange) {
  WindowTable t = Opened(kMaxWindows);
  EXPECT_TRUE(t.Full());
  EXPECT_FALSE(t.AddLab());
  std::vector<bool> seen(kMaxWindows);
  for (int n : t.Order()) {
    ASSERT_GE(n, 0);
    ASSERT_LT(n, kMaxWindows);
    EXPECT_FALSE(seen[n]);
    seen[n] = true;
  }
  t.CloseActive();
  EXPECT_EQ(t.AddLab(), 50);
}

TEST(WindowTable, CloseRightLeftAndByNumberKeepActiveWindow) {
  WindowTable t = Opened(5);
  t.SetActive(2);
  EXPECT_EQ(t.CloseRight(), (std::vector<int>{3, 4}));
  EXPECT_EQ(t.CloseLeft(), (std::vector<int>{0, 1}));
  EXPECT_EQ(t.Order(), (std::vector<int>{2}));
  EXPECT_EQ(t.ActiveNumber(), 2);
  t.AddLab();
  t.AddLab();  // 2 x y, active on the last
  t.SetActive(1);
  int right = t.NumberAt(2);
  auto r = t.CloseNumber(t.NumberAt(0));
  ASSERT_TRUE(r);
  EXPECT_EQ(t.active(), 0);
  EXPECT_EQ(t.NumberAt(1), right);
  EXPECT_FALSE(t.CloseNumber(40));
}

TEST(TabLayout, PitchRuleAndCap) {
  EXPECT_EQ(TabPitch(20000, 40), 466);  // (20000-1350)/40 = 466.25
  EXPECT_EQ(TabPitch(20000, 2), 1850);
  EXPECT_EQ(TabPitch(1350 + 45, 2), 22);  // 22.5 goes to the even neighbour
  WindowTable t = Opened(3);
  t.SetActive(1);
  auto boxes = LayoutTabs(t, 5000);
  ASSERT_EQ(boxes.size(), 3u);
  int p = TabPitch(5000, 3);
  EXPECT_EQ(p, 1217);
  EXPECT_EQ(boxes[2].left, 2 * p + 50);
  EXPECT_EQ(boxes[2].width, p - 50);
  EXPECT_TRUE(boxes[1].active);
  EXPECT_FALSE(boxes[0].active);
}

}  // namespace
}  // namespace corvane
