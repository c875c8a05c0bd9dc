#include "browser/shell/sites.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace corvane {
namespace {

TEST(SiteHosts, LinesCommentsAndMalformedLines) {
  SiteHosts hosts;
  int bad = hosts.Load(
      L"; 注释\r\n"
      L"# also a comment\r\n"
      L"\r\n"
      L"  google ,  https://www.google.com/  \r\n"
      L"baidu,www.baidu.com\r\n"
      L"nocomma www.x.cn\r\n"
      L", www.nokey.cn\r\n"
      L"nohost,\r\n"
      L"two words, www.y.cn\r\n"
      L"blank, http://a b.cn\r\n"
      L"baidu, https://m.baidu.com\n"
      L"last,http://last.cn");
  EXPECT_EQ(bad, 5);
  EXPECT_EQ(hosts.size(), 3u);
  EXPECT_EQ(hosts.Base(L"google"), L"https://www.google.com");
  EXPECT_EQ(hosts.Base(L"baidu"), L"https://m.baidu.com");  // the later line wins
  EXPECT_EQ(hosts.Base(L"last"), L"http://last.cn");
  EXPECT_FALSE(hosts.Base(L"nocomma"));
  EXPECT_FALSE(hosts.Base(L"two words"));
}

TEST(SiteHosts, HostsThatNameNoHostAreMalformed) {
  SiteHosts hosts;
  EXPECT_EQ(hosts.Load(L"a, http://\nb, /\nc, https:///x\nd, ///\ne,  http://ok.cn//"), 4);
  EXPECT_EQ(hosts.size(), 1u);
  EXPECT_EQ(hosts.Base(L"e"), L"http://ok.cn");
  EXPECT_FALSE(hosts.Base(L"a"));
  EXPECT_FALSE(hosts.Base(L"b"));
}

TEST(SiteHosts, FullWidthCommaPartsKeyAndHost) {
  SiteHosts hosts;
  EXPECT_EQ(hosts.Load(L"webSearch1，https://www.baidu.com\r\ntianqi ， weather.cn"), 0);
  EXPECT_EQ(hosts.Base(L"webSearch1"), L"https://www.baidu.com");
  EXPECT_EQ(hosts.Base(L"tianqi"), L"http://weather.cn");
}

TEST(SiteHosts, MissingFileKnowsNoSite) {
  SiteHosts hosts;
  EXPECT_EQ(hosts.Load(L""), 0);
  EXPECT_FALSE(hosts.Address(MenuSites()[0].links[0], L"C:\\b\\"));
  // Local pages need no host.
  const SiteItem& pai = MenuSites()[19];
  EXPECT_STREQ(pai.key, L"paimingInfo");
  EXPECT_EQ(hosts.Address(pai.links[0], L"C:\\浏览器\\"), L"C:\\浏览器\\pai.html");
}

TEST(SiteTables, KeysUniqueAndTwoWindowItems) {
  std::set<std::wstring> keys;
  size_t items = 0;
  for (auto table : {MenuSites(), SearchDropSites(), FilmDropSites()})
    for (const SiteItem& s : table) {
      ++items;
      keys.insert(s.key);
      ASSERT_TRUE(s.links[0].path) << s.key;
    }
  EXPECT_EQ(keys.size(), items);
  EXPECT_EQ(MenuSites().size(), 23u);
  EXPECT_EQ(SearchDropSites().size(), 16u);
  EXPECT_EQ(FilmDropSites().size(), 10u);
  SiteHosts hosts;
  hosts.Load(L"TestSpeed,a.cn\nTestSpeed2,b.cn\ntw,c.cn");
  const SiteItem& speed = MenuSites()[10];
  EXPECT_STREQ(speed.caption, L"宽带速度测试");
  EXPECT_EQ(hosts.Address(speed.links[0], L""), L"http://a.cn/");
  EXPECT_EQ(hosts.Address(speed.links[1], L""), L"http://b.cn/gb/");
  EXPECT_EQ(hosts.Address(SearchDropSites()[15].links[0], L""), L"http://c.cn/tw/");
  EXPECT_STREQ(FilmDropSites()[3].caption, L"播放免费电影 ");
}

}  // namespace
}  // namespace corvane
