#include "browser/pages/page_rules.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(BlockList, WholeLinesIgnoringCase) {
  BlockList b;
  b.Load(L"http://ads.example.com/pop.htm\r\n\r\nhttp://x.cn/a\nhttp://x.cn/b\n");
  EXPECT_EQ(b.size(), 3u);
  EXPECT_TRUE(b.Blocks(L"HTTP://Ads.Example.com/POP.htm"));
  EXPECT_FALSE(b.Blocks(L"http://ads.example.com/pop.htm?id=1"));
  EXPECT_FALSE(b.Blocks(L"ads.example.com/pop.htm"));
  EXPECT_FALSE(b.Blocks(L"http://x.cn/a#$http://x.cn/b"));  // never across two lines
  EXPECT_FALSE(b.Blocks(L""));                              // the empty lines add nothing
  EXPECT_FALSE(b.Blocks(L"guang"));
}

TEST(BlockList, LinesTrimmedAndABareCrEndsOne) {
  BlockList b;
  b.Load(L"  http://a.cn/pop.htm \rhttp://b.cn/x\t\r\n\r   \r");
  EXPECT_EQ(b.size(), 2u);
  EXPECT_TRUE(b.Blocks(L"http://a.cn/pop.htm"));
  EXPECT_TRUE(b.Blocks(L"http://b.cn/x"));
  EXPECT_FALSE(b.Blocks(L"http://a.cn/pop.htm \rhttp://b.cn/x"));
}

TEST(Progress, PercentAndPanelText) {
  EXPECT_EQ(ProgressOf(50, 200).percent, 25);
  EXPECT_EQ(*ProgressOf(50, 200).text, L"25%");
  EXPECT_EQ(*ProgressOf(3, 8).text, L"37.5%");
  EXPECT_EQ(ProgressOf(3, 8).percent, 38);
  Progress done = ProgressOf(-1, 100);
  EXPECT_EQ(done.percent, 0);
  EXPECT_EQ(*done.text, L"100%");
  EXPECT_EQ(ProgressOf(300, 200).percent, 0);  // above 100 counts as 0
  EXPECT_FALSE(ProgressOf(300, 200).text);
  EXPECT_FALSE(ProgressOf(5, 0).text);
}

TEST(PageTitle, CutAt100OrAddress) {
  std::wstring longTitle(150, L'标');
  EXPECT_EQ(PageTitle(longTitle, L"http://a/").size(), 100u);
  EXPECT_EQ(PageTitle(L"", L"http://a/"), L"http://a/");
  EXPECT_EQ(FrameCaption(L"首页"), L"首页 - Corvane安全浏览器");
}

TEST(HostOf, TextBetweenSlashesOrNothing) {
  EXPECT_EQ(HostOf(L"http://www.example.com/index.htm"), L"www.example.com");
  EXPECT_EQ(HostOf(L"http://user@www.example.com:8080/"), L"www.example.com");
  EXPECT_FALSE(HostOf(L"http://www.example.com"));  // no "/" after the host
  EXPECT_FALSE(HostOf(L"about:blank"));
  EXPECT_FALSE(HostOf(L"file:///c:/x.htm"));
  EXPECT_EQ(LocalAddressText(L"10.0.0.2"), L"本机IP地址： 10.0.0.2");
}

}  // namespace
}  // namespace corvane
