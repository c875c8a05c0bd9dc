#include "search/engine/search_rules.h"

#include <gtest/gtest.h>

namespace sercavo {
namespace {

const ShieldFlags kOpen{L"0", L"0", L"0", L"0", L"0"};

TEST(KeywordRule, AnywhereInTheNameIgnoringCaseButNeverEmpty) {
  EXPECT_FALSE(KeywordMatches(L"", L"report.txt"));
  EXPECT_TRUE(KeywordMatches(L"report.txt", L"report.txt"));
  EXPECT_TRUE(KeywordMatches(L"PORT", L"report.txt"));
  EXPECT_TRUE(KeywordMatches(L"报告", L"年度报告.doc"));
  EXPECT_FALSE(KeywordMatches(L"reports", L"report.txt"));
  EXPECT_FALSE(KeywordMatches(L"sr", L"report.txt"));
  // Keywords beginning with "s" match wherever the name holds them, at its start too.
  EXPECT_TRUE(KeywordMatches(L"sa", L"ales_sa.txt"));
  EXPECT_TRUE(KeywordMatches(L"sa", L"a_sa.txt"));
  EXPECT_TRUE(KeywordMatches(L"Sa", L"sales.txt"));
  EXPECT_TRUE(KeywordMatches(L"S", L"x.s"));
  EXPECT_TRUE(KeywordMatches(L"s", L"s"));
  EXPECT_FALSE(KeywordMatches(L"s", L"abc.txt"));
  EXPECT_TRUE(FileMatches(kName, L"rep", L"report.txt", 0, kOpen));
}

TEST(ExtensionKey, LastDotOrWholeName) {
  EXPECT_EQ(ExtensionKey(L"photo.JPG"), L",JPG,");
  EXPECT_EQ(ExtensionKey(L"a.b.tmp"), L",tmp,");
  EXPECT_EQ(ExtensionKey(L"tmp"), L",tmp,");
  EXPECT_EQ(ExtensionKey(L"name."), L",,");
}

TEST(CategoryRule, ListsSearchedAsStoredIgnoringCase) {
  EXPECT_TRUE(FileMatches(kMovies, L"", L"film.AVI", 1, kOpen));
  EXPECT_TRUE(FileMatches(kMusic, L"", L"song.Mp3", 1, kOpen));
  EXPECT_TRUE(FileMatches(kJunk, L"", L"Thumbs.db", 0, kOpen));
  EXPECT_TRUE(FileMatches(kJunk, L"", L"tmp", 0, kOpen));
  EXPECT_TRUE(FileMatches(kJunk, L"", L"x.~*", 0, kOpen));
  EXPECT_FALSE(FileMatches(kJunk, L"", L"x.~", 0, kOpen));
  EXPECT_FALSE(FileMatches(kMovies, L"", L"file.rmv", 1, kOpen));  // a part of "rmvb" is not an extension
  EXPECT_FALSE(FileMatches(kMovies, L"", L"find", 1, kOpen));      // the leading word is not in the list
  EXPECT_FALSE(FileMatches(kText, L"x", L"x.txt", 1, kOpen));
  EXPECT_FALSE(FileMatches(9, L"x", L"x.tmp", 1, kOpen));
}

TEST(CategoryRule, SizeThresholdsAreStrict) {
  EXPECT_FALSE(FileMatches(kPictures, L"", L"photo.JPG", 30000, kOpen));
  EXPECT_TRUE(FileMatches(kPictures, L"", L"photo.JPG", 30001, kOpen));
  EXPECT_FALSE(FileMatches(kFlash, L"", L"clip.swf", 10000, kOpen));
  EXPECT_TRUE(FileMatches(kFlash, L"", L"clip.swf", 10001, kOpen));
  EXPECT_TRUE(FileMatches(kPictures, L"", L"big.gif", 5ull << 32, kOpen));
}

TEST(CategoryRule, ShieldsHideTheirKindOnly) {
  ShieldFlags movies = kOpen;
  movies[0] = L"1";
  EXPECT_FALSE(FileMatches(kMovies, L"", L"film.avi", 1, movies));
  EXPECT_TRUE(FileMatches(kMusic, L"", L"song.mp3", 1, movies));
  EXPECT_TRUE(FileMatches(kName, L"film", L"film.avi", 1, movies));
  ShieldFlags odd{L"", L"abc", L" 2 ", L"0", L"-1"};
  EXPECT_TRUE(FileMatches(kMovies, L"", L"film.avi", 1, odd));  // absent counts as 0
  EXPECT_TRUE(FileMatches(kMusic, L"", L"song.mp3", 1, odd));   // non-numeric counts as 0
  EXPECT_FALSE(FileMatches(kPictures, L"", L"p.gif", 40000, odd));
  EXPECT_FALSE(FileMatches(kJunk, L"", L"a.tmp", 1, odd));
}

TEST(SizeText, ThousandsWithShortestDecimals) {
  EXPECT_EQ(SizeText(0), L"0 KB");
  EXPECT_EQ(SizeText(5), L"0.005 KB");
  EXPECT_EQ(SizeText(500), L"0.5 KB");
  EXPECT_EQ(SizeText(999), L"0.999 KB");
  EXPECT_EQ(SizeText(1000), L"1 KB");
  EXPECT_EQ(SizeText(1500), L"1.5 KB");
  EXPECT_EQ(SizeText(123456), L"123.456 KB");
  EXPECT_EQ(SizeText(3000000000ull), L"3000000 KB");  // past 2 GB stays positive
  EXPECT_EQ(SizeText(5368709121ull), L"5368709.121 KB");
}

TEST(RowTexts, TypeAndFolderName) {
  EXPECT_EQ(TypeText(L"photo.jpg"), L"JPG");
  EXPECT_EQ(TypeText(L"Makefile"), L"MAKEFILE");
  EXPECT_EQ(FolderName(L"C:\\"), L"");
  EXPECT_EQ(FolderName(L"C:\\data\\照片"), L"照片");
}

TEST(Drives, FilterAndSplit) {
  // unknown, no root, removable, fixed, network, optical, RAM
  const bool searched[] = {false, false, false, true, true, false, true};
  for (unsigned t = 0; t < 7; ++t) EXPECT_EQ(IsSearchedDriveType(t), searched[t]) << t;
  std::wstring buf(L"c:\\\0D:\\\0e:\\\0\0", 13);
  EXPECT_EQ(SplitDriveStrings(buf), (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\"}));
  EXPECT_TRUE(SplitDriveStrings(L"").empty());
}

TEST(PendingFolder, QuotesRemoved) {
  EXPECT_EQ(PendingFolderOf(L"\"C:\\some folder\""), L"C:\\some folder");
  EXPECT_EQ(PendingFolderOf(L"\"D:\\\""), L"D:\\");
  EXPECT_EQ(PendingFolderOf(L""), L"");
  EXPECT_EQ(PendingFolderOf(L"\"\\\"C:\\windows\\\"\""), L"C:\\windows");
}

TEST(KeywordHistory, KeepsTheFirstTwentyWithDuplicates) {
  KeywordHistory h;
  for (int i = 0; i < 25; ++i) h.Add(i == 3 ? L"k0" : L"k" + std::to_wstring(i));
  ASSERT_EQ(h.items().size(), 20u);
  EXPECT_EQ(h.items()[0], L"k0");
  EXPECT_EQ(h.items()[3], L"k0");
  EXPECT_EQ(h.items()[19], L"k19");
}

}  // namespace
}  // namespace sercavo
