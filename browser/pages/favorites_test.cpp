#include "browser/pages/favorites.h"

#include <gtest/gtest.h>

#include "browser/pages/file_names.h"

namespace corvane {
namespace {

TEST(FavoriteTitles, ReplacementsInOrder) {
  EXPECT_EQ(FavoriteFileTitle(L"a/b:c?d\\e"), L"a b：c？de");
  EXPECT_EQ(FavoriteFileTitle(L"*<x>|"), L"，[x]I");
  // "\" goes before "/" turns into a blank, so "\/" leaves one blank.
  EXPECT_EQ(FavoriteFileTitle(L"\\/"), L"");
  EXPECT_EQ(FavoriteFileTitle(L"x\\/y"), L"x y");
  EXPECT_EQ(FavoriteFileTitle(L"新浪首页"), L"新浪首页");
}

TEST(FavoriteTitles, QuoteControlCharactersDevicesAndDots) {
  EXPECT_EQ(FavoriteFileTitle(L"他说\"好\""), L"他说＂好＂");
  EXPECT_EQ(FavoriteFileTitle(L"a\tb\r\nc\x7f\x01"), L"abc");
  EXPECT_EQ(FavoriteFileTitle(L"CON"), L"CON_");
  EXPECT_EQ(FavoriteFileTitle(L"nul.x"), L"nul_.x");
  EXPECT_EQ(FavoriteFileTitle(L"com1 "), L"com1_ ");
  EXPECT_EQ(FavoriteFileTitle(L"Lpt\u00B9"), L"Lpt\u00B9_");
  EXPECT_EQ(FavoriteFileTitle(L"CONSOLE"), L"CONSOLE");  // only the whole name is a device
  EXPECT_EQ(FavoriteFileTitle(L"COM10"), L"COM10");
  EXPECT_EQ(FavoriteFileTitle(L".."), L"．．");
  EXPECT_EQ(FavoriteFileTitle(L". ."), L"． ．");
  EXPECT_EQ(FavoriteFileTitle(L"v1.2"), L"v1.2");
  // Nothing left, or only blanks: no name.
  EXPECT_EQ(FavoriteFileTitle(L"\x01\\"), L"");
  EXPECT_EQ(FavoriteFileTitle(L"  "), L"");
}

TEST(FavoriteTitles, LongTitlesAreCutWithoutSplittingACharacter) {
  std::wstring longTitle(300, L'长');
  EXPECT_EQ(FavoriteFileTitle(longTitle).size(), 200u);
  std::wstring pairs;
  for (int i = 0; i < 150; ++i) pairs += L"\xD83D\xDE00";
  std::wstring cut = FavoriteFileTitle(pairs);
  EXPECT_EQ(cut.size(), 200u);
  EXPECT_TRUE(cut.back() >= 0xDC00 && cut.back() <= 0xDFFF);
  std::wstring odd = L"x" + pairs;  // unit 200 would be the first half of a pair
  EXPECT_EQ(FavoriteFileTitle(odd).size(), 199u);
}

TEST(FavoriteTitles, ChecksApplyToTheTitleAsCut) {
  // What is left after the cut is only dots, or a device name with blanks after it.
  std::wstring dots = FavoriteFileTitle(std::wstring(250, L'.') + L"a");
  EXPECT_EQ(dots, std::wstring(200, L'．'));
  std::wstring device = FavoriteFileTitle(L"CON" + std::wstring(300, L' ') + L"x");
  EXPECT_EQ(device.size(), 200u);
  EXPECT_EQ(device.substr(0, 4), L"CON_");
  EXPECT_FALSE(IsDeviceName(device));
  EXPECT_FALSE(IsOnlyDots(dots));
}

TEST(UrlFiles, WrittenAsTwoLinesAndReadBack) {
  std::wstring text = FormatUrlFile(L"http://www.sina.com.cn/");
  EXPECT_EQ(text, L"[InternetShortcut]\r\nURL=http://www.sina.com.cn/\r\n");
  EXPECT_EQ(UrlAddresses(text), std::vector<std::wstring>{L"http://www.sina.com.cn/"});
  // A line break in the address cannot add a line.
  EXPECT_EQ(FormatUrlFile(L"http://a.cn/\r\nURL=http://evil/"),
            L"[InternetShortcut]\r\nURL=http://a.cn/URL=http://evil/\r\n");
}

TEST(UrlFiles, FilesOfOtherPrograms) {
  std::wstring other =
      L"[DEFAULT]\r\nBASEURL=http://base/\r\n[InternetShortcut]\r\nurl=http://one.cn/a?b=1\r\nIDList=\r\n"
      L"IconIndex=1\r\nHotKey=0\r\nURL=  http://two.cn/  \r\nURL=\r\n Url=http://indented/\rUrL=http://cr-only/";
  EXPECT_EQ(UrlAddresses(other),
            (std::vector<std::wstring>{L"http://one.cn/a?b=1", L"http://two.cn/", L"http://cr-only/"}));
  EXPECT_TRUE(UrlAddresses(L"").empty());
  EXPECT_TRUE(UrlAddresses(L"URL").empty());
  EXPECT_TRUE(UrlAddresses(L"\n\r\n\r").empty());
}

TEST(UrlFiles, AnotherProgramsFilePointedElsewhereKeepsItsOtherLines) {
  std::wstring file = L"[DEFAULT]\nBASEURL=http://base/\n[InternetShortcut]\nurl=http://old/\nIconIndex=1\nURL=http://second/";
  EXPECT_EQ(WithUrl(file, L"http://新/\r\n"),
            L"[DEFAULT]\nBASEURL=http://base/\n[InternetShortcut]\nURL=http://新/\nIconIndex=1\n");
  EXPECT_EQ(UrlAddresses(*WithUrl(file, L"http://新/")), std::vector<std::wstring>{L"http://新/"});
  EXPECT_EQ(WithUrl(L"[InternetShortcut]\r\nURL=x", L"y"), L"[InternetShortcut]\r\nURL=y");
  EXPECT_FALSE(WithUrl(L"[InternetShortcut]\r\nIconIndex=1\r\n", L"y"));
}

TEST(UrlFiles, TitlesOfListedNamesAndTheMenuLimit) {
  EXPECT_EQ(FavoriteTitle(L"新浪.url"), L"新浪");
  EXPECT_EQ(FavoriteTitle(L"Mixed.URL"), L"Mixed");
  EXPECT_EQ(FavoriteTitle(L"a.b.url"), L"a.b");
  EXPECT_FALSE(FavoriteTitle(L"a.urlx"));  // listed through its short name only
  EXPECT_FALSE(FavoriteTitle(L".url"));
  std::vector<FavoriteFile> files;
  for (int i = 0; i < 102; ++i) files.push_back({std::to_wstring(i), L"URL=http://x/"});
  // Files that open nothing are left out of the menu and do not count against its limit.
  files.insert(files.begin() + 5, {L"no address", L"[InternetShortcut]\r\nIconIndex=1"});
  files.insert(files.begin() + 6, {L"unreadable", std::nullopt});
  files.insert(files.begin() + 7, {L"empty address", L"URL=  "});
  auto titles = MenuTitles(files);
  ASSERT_EQ(titles.size(), 101u);
  EXPECT_EQ(titles[5], L"5");
  EXPECT_EQ(titles[100], L"100");
}

TEST(FavoritesTree, FoldersFirstThenTopLevelWithRunningKeys) {
  std::vector<FavoriteFolder> folders{
      {L"新闻", {{L"新浪", L"URL=http://sina/"}, {L"坏文件", std::nullopt}}},
      {L"空目录", {}},
      {L"a]b", {{L"两个", L"[InternetShortcut]\r\nURL=http://x/\r\nurl=http://y/\r\n"}}}};
  std::vector<FavoriteFile> top{{L"百度", L"URL=http://baidu/"}, {L"无地址", L"[InternetShortcut]"}};
  auto nodes = BuildFavoritesTree(folders, top);
  ASSERT_EQ(nodes.size(), 8u);
  EXPECT_EQ(nodes[0].key, L"group");
  EXPECT_EQ(nodes[0].text, L"我的收藏");
  EXPECT_EQ(nodes[0].parent, -1);
  EXPECT_EQ(nodes[1].key, L"新闻");
  EXPECT_EQ(nodes[3].text, L"a]b");
  EXPECT_FALSE(nodes[3].favorite);  // a folder whose name holds "]" opens nothing
  EXPECT_EQ(nodes[4].parent, 1);
  EXPECT_EQ(nodes[4].key, L"1]http://sina/");
  EXPECT_EQ(nodes[5].parent, 3);
  EXPECT_EQ(nodes[5].key, L"2]http://x/");
  EXPECT_EQ(nodes[6].key, L"3]http://y/");
  EXPECT_EQ(nodes[6].text, L"两个");
  EXPECT_EQ(nodes[7].parent, 0);
  EXPECT_EQ(nodes[7].key, L"4]http://baidu/");
  EXPECT_TRUE(nodes[7].favorite);
  EXPECT_EQ(KeyAddress(nodes[7].key), L"http://baidu/");
  EXPECT_EQ(KeyAddress(L"12]http://a/]b"), L"http://a/]b");
  EXPECT_EQ(KeyAddress(L"group"), L"");
}

TEST(SidePanel, SplitterMovesByTheOffsetWithinBounds) {
  EXPECT_EQ(DraggedPanelWidth(2600, 50, 15000), 2600);
  EXPECT_EQ(DraggedPanelWidth(2600, 450, 15000), 3000);
  EXPECT_EQ(DraggedPanelWidth(2600, -1000, 15000), 1550);
  EXPECT_EQ(DraggedPanelWidth(2600, -5000, 15000), 1440);
  EXPECT_EQ(DraggedPanelWidth(2600, 20000, 15000), 13560);
  EXPECT_EQ(DraggedPanelWidth(2600, 0, 2000), 1440);  // a narrow frame keeps the panel's least width
}

}  // namespace
}  // namespace corvane
