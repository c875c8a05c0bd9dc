#include <gtest/gtest.h>

#include "browser/pages/closed_pages.h"
#include "browser/pages/open_pages.h"

namespace corvane {
namespace {

TEST(OpenPages, WrittenAndReadBack) {
  std::vector<OpenPage> pages{{L"新浪首页", L"http://www.sina.com.cn/"},
                              {L"", L"about:blank"},
                              {L"价格@#$%优惠", L"http://shop.cn/a?b=1"},
                              {L"空", L""}};
  std::wstring text = FormatOpenPages(pages);
  EXPECT_EQ(text, L"新浪首页@#$%http://www.sina.com.cn/\r\n\r\n价格＠＃＄％优惠@#$%http://shop.cn/a?b=1\r\n\r\n");
  auto back = ParseOpenPages(text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].caption, L"新浪首页");
  EXPECT_EQ(back[1].caption, L"价格＠＃＄％优惠");
  EXPECT_EQ(back[1].url, L"http://shop.cn/a?b=1");
}

TEST(OpenPages, SeparatorInsideAnAddressSurvives) {
  // A fragment may hold the separator; the record splits at its first one, which the writer put there.
  std::vector<OpenPage> pages{{L"片段@#$%", L"http://x.cn/a#$%41@#$%b"}, {L"@#$", L"%@#$%"}};
  auto back = ParseOpenPages(FormatOpenPages(pages));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].caption, L"片段＠＃＄％");
  EXPECT_EQ(back[0].url, L"http://x.cn/a#$%41@#$%b");
  EXPECT_EQ(back[1].caption, L"@#$");
  EXPECT_EQ(back[1].url, L"%@#$%");
  // A file written by hand is split at the first separator too.
  auto hand = ParseOpenPages(L"标题@#$%http://y.cn/#@#$%z\n");
  ASSERT_EQ(hand.size(), 1u);
  EXPECT_EQ(hand[0].url, L"http://y.cn/#@#$%z");
}

TEST(OpenPages, BadLinesAndLineBreaksInTitles) {
  EXPECT_TRUE(ParseOpenPages(L"no separator\n\n\n").empty());
  std::wstring text = FormatOpenPages({{L"a\r\nb", L"http://x/"}});
  auto back = ParseOpenPages(text);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].caption, L"a  b");
}

ClosedPages WithPages(int n) {
  ClosedPages c;
  for (int i = 1; i <= n; ++i) c.Remember(L"页" + std::to_wstring(i), L"http://p" + std::to_wstring(i) + L"/");
  return c;
}

TEST(OpenPages, RecordsWithoutAnAddressAreNoRecords) {
  EXPECT_TRUE(ParseOpenPages(L"标题@#$%\r\n\r\n标题@#$%   \r\n").empty());
  auto pages = ParseOpenPages(L"@#$%http://x/\r\n");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(RowText(pages[0]), L"http://x/");  // no caption: the address shows
  EXPECT_EQ(RowText({L"甲", L"http://x/"}), L"甲");
  EXPECT_EQ(FormatOpenPages({{L"甲", L"  "}}), L"");
}

TEST(OpenPages, EachBrowserItsOwnFileBesideItsLock) {
  EXPECT_EQ(RecordFileName(1), L"page.his");
  EXPECT_EQ(RecordFileName(2), L"page2.his");
  EXPECT_EQ(LockFileName(1), L"page.his.lock");
  EXPECT_EQ(RecordSlotOf(L"PAGE.HIS"), 1);
  EXPECT_EQ(RecordSlotOf(L"page12.his.lock"), 12);
  EXPECT_EQ(RecordSlotOf(L"page64.his"), 64);
  for (const wchar_t* other : {L"page65.his", L"page0.his", L"page1.his", L"yuan0", L"page.his.bak", L""})
    EXPECT_FALSE(RecordSlotOf(other)) << other;
}

TEST(ClosedPages, SixteenthPushesOldestOut) {
  ClosedPages c = WithPages(16);
  EXPECT_EQ(c.Count(), 15);
  EXPECT_EQ(c.Entry(1).caption, L"页16");
  EXPECT_EQ(c.Entry(15).caption, L"页2");
  EXPECT_FALSE(c.Remember(L"", L"about:blank"));
  EXPECT_EQ(c.Entry(1).caption, L"页16");
  c.Remember(std::wstring(60, L'长'), L"http://l/");
  EXPECT_EQ(c.Entry(1).caption.size(), 40u);
}

TEST(ClosedPages, CaptionCutNeverHalvesACharacter) {
  ClosedPages c;
  std::wstring caption = std::wstring(39, L'a') + L"\xD83D\xDE00" + L"b";
  ASSERT_TRUE(c.Remember(caption, L"http://x/"));
  EXPECT_EQ(c.Entry(1).caption, std::wstring(39, L'a'));
  ASSERT_TRUE(c.Remember(std::wstring(45, L'页'), L"http://y/"));
  EXPECT_EQ(c.Entry(1).caption, std::wstring(40, L'页'));
}

TEST(ClosedPages, ReopenThirdOfFive) {
  ClosedPages c = WithPages(5);  // entry 1 = 页5 ... entry 5 = 页1
  EXPECT_EQ(c.Reopen(3), L"http://p3/");
  EXPECT_EQ(c.Entry(3).caption, L"页2");
  EXPECT_EQ(c.Entry(4).caption, L"页1");
  EXPECT_TRUE(c.Entry(5).caption.empty());
  EXPECT_TRUE(c.Entry(15).url.empty());
  EXPECT_EQ(c.Count(), 5);  // reopening does not lower the count
  EXPECT_EQ(ClosedPages::KeyNumber(L"ur9"), 9);
  EXPECT_EQ(ClosedPages::KeyNumber(L"ur10"), 10);
  EXPECT_EQ(ClosedPages::KeyNumber(L"ur12"), 12);
  EXPECT_EQ(ClosedPages::KeyNumber(L"ur16"), 0);
  EXPECT_EQ(ClosedPages::KeyNumber(L"clear"), 0);
}

}  // namespace
}  // namespace corvane
