#include "guard/guard_state.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(AskWindowOpen, HoldsWhileAnyWindowIsOpen) {
  WindowCount open;
  EXPECT_FALSE(open);
  {
    OpenWindowMark first(open);
    OpenWindowMark second(open);
    EXPECT_EQ(open.count(), 2);
    first.Release();
    first.Release();  // a second release of the same window changes nothing
    EXPECT_TRUE(open) << "the first window closing must not clear it while another is open";
  }
  EXPECT_FALSE(open);
  open.Lower();
  EXPECT_EQ(open.count(), 0);
}
