#include "search/engine/target_name.h"

#include <gtest/gtest.h>

#include <set>

namespace sercavo {
namespace {

auto In(std::set<std::wstring> names) {
  return [names](const std::wstring& n) { return names.count(n) > 0; };
}

TEST(FreeName, NumbersTheStemUntilFree) {
  EXPECT_EQ(FreeName(L"readme.txt", false, In({})), L"readme.txt");
  EXPECT_EQ(FreeName(L"readme.txt", false, In({L"readme.txt"})), L"readme (2).txt");
  EXPECT_EQ(FreeName(L"readme.txt", false, In({L"readme.txt", L"readme (2).txt"})), L"readme (3).txt");
  EXPECT_EQ(FreeName(L"a.b.tmp", false, In({L"a.b.tmp"})), L"a.b (2).tmp");
  EXPECT_EQ(FreeName(L"Makefile", false, In({L"Makefile"})), L"Makefile (2)");
  EXPECT_EQ(FreeName(L".profile", false, In({L".profile"})), L".profile (2)");
  EXPECT_EQ(FreeName(L"my.photos", true, In({L"my.photos"})), L"my.photos (2)");
  EXPECT_EQ(FreeName(L"x", false, [](const std::wstring&) { return true; }), L"");
}

TEST(IsInside, WholeSegmentsOnly) {
  EXPECT_TRUE(IsInside(L"C:\\a\\b", L"C:\\a"));
  EXPECT_TRUE(IsInside(L"c:\\A\\", L"C:\\a\\"));
  EXPECT_TRUE(IsInside(L"C:\\a\\b\\c", L"C:\\A\\"));
  EXPECT_FALSE(IsInside(L"C:\\ab", L"C:\\a"));
  EXPECT_FALSE(IsInside(L"C:\\", L"C:\\a"));
}

}  // namespace
}  // namespace sercavo
