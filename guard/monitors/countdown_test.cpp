#include "guard/monitors/countdown.h"

#include <gtest/gtest.h>

using namespace zorvix;

namespace {
// Ticks every 200 ms from t until the countdown expires; returns the time it expired at, or 0.
uint64_t RunOut(Countdown& c, uint64_t& t, bool inside = false, int maxTicks = 1000) {
  for (int i = 0; i < maxTicks; ++i) {
    t += 200;
    if (c.Tick(t, inside) == Countdown::Event::Expired) return t;
  }
  return 0;
}
}  // namespace

TEST(Countdown, DeniesAfterTwentyStepsOfOnePointTwoSeconds) {
  uint64_t t = 1000;
  Countdown c(t);
  EXPECT_EQ(c.Text(), L"还有( 20 )秒钟自动拒绝程序。");
  EXPECT_EQ(c.BarTwips(), 2200);
  t += 1200;
  EXPECT_EQ(c.Tick(t, false), Countdown::Event::Stepped);
  EXPECT_EQ(c.secondsLeft(), 19);
  EXPECT_EQ(c.Text(), L"还有( 19 )秒钟自动拒绝程序。");
  EXPECT_EQ(c.BarTwips(), 19 * 110);
  uint64_t expiredAt = RunOut(c, t);
  EXPECT_EQ(expiredAt, 1000u + 20 * 1200);
  EXPECT_TRUE(c.expired());
  EXPECT_EQ(c.Tick(t + 5000, false), Countdown::Event::None) << "denies once";
}

TEST(Countdown, PointerOverTheDialogHoldsTheCountAndHidesTheText) {
  uint64_t t = 0;
  Countdown c(t);
  for (int i = 0; i < 50; ++i) {
    t += 200;
    EXPECT_EQ(c.Tick(t, true), Countdown::Event::None);
  }
  EXPECT_EQ(c.secondsLeft(), 20);
  EXPECT_FALSE(c.textVisible());
  EXPECT_NE(RunOut(c, t), 0u);
  EXPECT_TRUE(c.textVisible());
}

TEST(Countdown, PauseStopsItForGood) {
  uint64_t t = 0;
  Countdown c(t);
  t += 1200;
  c.Tick(t, false);
  c.Pause();
  EXPECT_EQ(RunOut(c, t), 0u);
  EXPECT_EQ(c.secondsLeft(), 19);
}

TEST(Countdown, ALateTickTakesOneStepNotABurst) {
  uint64_t t = 0;
  Countdown c(t);
  t += 60000;  // the program stood still for a minute
  EXPECT_EQ(c.Tick(t, false), Countdown::Event::Stepped);
  EXPECT_EQ(c.secondsLeft(), 19);
  t += 200;
  EXPECT_EQ(c.Tick(t, false), Countdown::Event::None);
  t += 1000;
  EXPECT_EQ(c.Tick(t, false), Countdown::Event::Stepped);
}

TEST(Countdown, PointerInsideIsStrictlyWithinTheWindow) {
  EXPECT_TRUE(PointerInside(150, 150, 100, 100, 300, 200));
  EXPECT_FALSE(PointerInside(100, 150, 100, 100, 300, 200));
  EXPECT_FALSE(PointerInside(300, 150, 100, 100, 300, 200));
  EXPECT_FALSE(PointerInside(150, 200, 100, 100, 300, 200));
  EXPECT_FALSE(PointerInside(50, 50, 100, 100, 300, 200));
}
