#include "guard/process/bounded_cache.h"

#include <gtest/gtest.h>

#include <string>

using zorvix::BoundedCache;

TEST(BoundedCache, ForgetsTheLeastRecentlyUsedEntryBeyondItsCapacity) {
  BoundedCache<std::wstring, int> cache(2);
  cache.Put(L"a", 1);
  cache.Put(L"b", 2);
  ASSERT_NE(cache.Find(L"a"), nullptr);  // "a" is now the most recent
  cache.Put(L"c", 3);
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_EQ(cache.Find(L"b"), nullptr);
  EXPECT_EQ(*cache.Find(L"a"), 1);
  EXPECT_EQ(*cache.Find(L"c"), 3);
}

TEST(BoundedCache, ReplacingAnEntryKeepsOneAndNeverGrowsPastTheCapacity) {
  BoundedCache<int, int> cache(3);
  cache.Put(7, 1);
  cache.Put(7, 2);
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(*cache.Find(7), 2);
  for (int i = 0; i < 1000; ++i) cache.Put(i, i);
  EXPECT_EQ(cache.size(), 3u);
  EXPECT_EQ(*cache.Find(999), 999);
  EXPECT_EQ(cache.Find(996), nullptr);
}
