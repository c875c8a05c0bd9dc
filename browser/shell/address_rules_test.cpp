#include "browser/shell/address_rules.h"

#include <gtest/gtest.h>

#include "browser/shell/sites.h"

namespace corvane {
namespace {

constexpr wchar_t kBaidu[] = L"https://www.baidu.com";

TEST(GoAddress, DotSchemeLocalhostAndPortOpenOthersSearch) {
  EXPECT_EQ(GoAddress(L"www.sina.com.cn", kBaidu), L"www.sina.com.cn");  // any dot: unchanged
  EXPECT_EQ(GoAddress(L"新闻 今天.", kBaidu), L"新闻 今天.");
  for (const wchar_t* address :
       {L"http://intranet", L"about:blank", L"localhost", L"localhost:8080", L"LOCALHOST/admin", L"intranet:8080",
        L"printer:631/jobs", L"c:\\pages\\a", L"mailto:someone", L"javascript:void(0)"})
    EXPECT_EQ(GoAddress(address, kBaidu), address) << address;
  EXPECT_EQ(GoAddress(L"天气", kBaidu), L"https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94");
  EXPECT_EQ(GoAddress(L"  hello  ", kBaidu), L"https://www.baidu.com/s?wd=hello");
  // Not a scheme, not a port: words.
  EXPECT_EQ(GoAddress(L"c++ tips", kBaidu), L"https://www.baidu.com/s?wd=c%2B%2B%20tips");
  EXPECT_EQ(GoAddress(L"时间:今天", kBaidu), L"https://www.baidu.com/s?wd=%E6%97%B6%E9%97%B4%3A%E4%BB%8A%E5%A4%A9");
  EXPECT_EQ(GoAddress(L"host:port", kBaidu), L"host:port");  // scheme form
  EXPECT_EQ(GoAddress(L"note: buy", kBaidu), L"https://www.baidu.com/s?wd=note%3A%20buy");
  EXPECT_EQ(GoAddress(L"   ", kBaidu), L"");
  EXPECT_EQ(GoAddress(L"word", L""), L"word");  // no search site given: as typed (the frame refuses first)
}

TEST(GoAddress, LocalPathsAndSchemeAddressesMayHoldBlanks) {
  for (const wchar_t* address : {L"C:\\Program Files\\x", L"\\\\server\\share", L"\\\\server\\my share\\a b",
                                 L"file:///C:/My Documents/readme", L"d:/my pages/a", L"http://host/a b"})
    EXPECT_EQ(GoAddress(address, kBaidu), address) << address;
  // A scheme followed by a blank is a word; so is a letter and colon that is no drive path.
  EXPECT_EQ(GoAddress(L"a: b", kBaidu), L"https://www.baidu.com/s?wd=a%3A%20b");
  EXPECT_EQ(GoAddress(L"天气 预报", kBaidu), L"https://www.baidu.com/s?wd=%E5%A4%A9%E6%B0%94%20%E9%A2%84%E6%8A%A5");
}

TEST(EncodeWord, Utf8BytesPercentEncoded) {
  EXPECT_EQ(EncodeWord(L"中文"), L"%E4%B8%AD%E6%96%87");
  EXPECT_EQ(EncodeWord(L"a&b=c#d%e+f g"), L"a%26b%3Dc%23d%25e%2Bf%20g");
  EXPECT_EQ(EncodeWord(L"Az09-_.~"), L"Az09-_.~");
  EXPECT_EQ(EncodeWord(L"\U0001F600"), L"%F0%9F%98%80");  // a pair of surrogates is one character
  EXPECT_EQ(EncodeWord(std::wstring(1, wchar_t(0xD800))), L"%EF%BF%BD");
}

using Items = std::array<std::wstring, kUpItems>;

Items Expect(std::initializer_list<std::pair<int, const wchar_t*>> shown) {
  Items items;
  for (auto [n, text] : shown) items[n - 1] = text;
  return items;
}

TEST(ParentItems, FileTwoFoldersBelowTheHost) {
  // The folder of the file, its parent, the host's root; then the same site under "www" two places on.
  EXPECT_EQ(ParentItems(L"http://news.sina.com.cn/a/b/c.html"), Expect({{1, L"http://news.sina.com.cn/a/b/"},
                                                                        {2, L"http://news.sina.com.cn/a/"},
                                                                        {3, L"http://news.sina.com.cn/"},
                                                                        {5, L"http://www.sina.com.cn/"}}));
  EXPECT_EQ(ParentItems(L"http://www.sina.com.cn/news/a.html"),
            Expect({{1, L"http://www.sina.com.cn/news/"}, {2, L"http://www.sina.com.cn/"}}));
}

TEST(ParentItems, QueryPortTrailingSlashAndNone) {
  // A query's own slashes are no folders.
  EXPECT_EQ(ParentItems(L"http://www.a.com/x/y.asp?u=http://b.cn/c/d#top/e"),
            Expect({{1, L"http://www.a.com/x/"}, {2, L"http://www.a.com/"}}));
  EXPECT_EQ(ParentItems(L"http://bbs.a.com:8080/x/"),
            Expect({{1, L"http://bbs.a.com:8080/"}, {3, L"http://www.a.com:8080/"}}));
  EXPECT_EQ(ParentItems(L"http://bbs.a.com/x/"), Expect({{1, L"http://bbs.a.com/"}, {3, L"http://www.a.com/"}}));
  // No folder at all: item 1 stays hidden, the "www" item comes second.
  EXPECT_EQ(ParentItems(L"http://news.sina.com"), Expect({{2, L"http://www.sina.com"}}));
  EXPECT_EQ(ParentItems(L"http://localhost:8080/app/"), Expect({{1, L"http://localhost:8080/"}}));
  EXPECT_EQ(ParentItems(L"about:blank"), Items{});
  EXPECT_EQ(ParentItems(L""), Items{});
}

TEST(ParentItems, WwwItemNeedsSeventeenCharacters) {
  EXPECT_EQ(ParentItems(L"http://a.bc.cn"), Items{});                                 // "http://www.bc.cn": 16
  EXPECT_EQ(ParentItems(L"http://a.bcd.cn"), Expect({{2, L"http://www.bcd.cn"}}));    // 17
  EXPECT_EQ(ParentItems(L"http://intranet/a/"), Expect({{1, L"http://intranet/"}}));  // no dot, no item
  // Nine levels fill every item; the "www" item has no place left.
  std::wstring deep = L"http://x.y.cn";
  for (int i = 0; i < 10; ++i) deep += L"/d" + std::to_wstring(i);
  Items items = ParentItems(deep + L"/f.htm");
  for (const auto& item : items) EXPECT_FALSE(item.empty());
  EXPECT_EQ(items[0], deep + L"/");
}

TEST(EngineItems, TwentyItemsTheirAddressesAndTheDefault) {
  ASSERT_EQ(EngineItems().size(), 20u);
  EXPECT_STREQ(EngineItems()[DefaultEngineItem()].caption, L"【搜索】百度");
  SiteHosts hosts;
  hosts.Load(L"webSearch1, https://www.baidu.com/\nwebSearch2, www.google.com\nshopping1,https://www.taobao.com");
  const EngineItem& both = EngineItems()[0];
  EXPECT_STREQ(both.caption, L"【搜索】谷歌+百度");
  EXPECT_EQ(*hosts.Address(both.links[0], L"C:\\b\\") + EncodeWord(L"a&b c"), L"https://www.baidu.com/s?wd=a%26b%20c");
  EXPECT_EQ(*hosts.Address(both.links[1], L"C:\\b\\") + EncodeWord(L"中"),
            L"http://www.google.com/search?hl=zh-CN&source=hp&q=%E4%B8%AD");
  const EngineItem& taobao = EngineItems()[16];
  EXPECT_FALSE(taobao.withWord);
  EXPECT_EQ(*hosts.Address(taobao.links[0], L""), L"https://www.taobao.com/browse/cat-0.htm");
  for (const EngineItem& item : EngineItems()) EXPECT_TRUE(item.links[0].site) << item.caption;
}

}  // namespace
}  // namespace corvane
