#include "search/engine/text_search_rules.h"

#include <gtest/gtest.h>

#include "search/engine/case_fold.h"
#include "search/engine/testing/gbk_double.h"

namespace sercavo {
namespace {

const test_support::GbkDouble gbk;

bool Holds(std::string_view bytes, std::wstring_view needle) {
  std::wstring scratch;
  return TextHolds(bytes, CaseFold::Get().Folded(needle), gbk, scratch);
}

TEST(TypePattern, EachEntryIsAPatternIgnoringCase) {
  EXPECT_TRUE(TypeMatches(L"*.*", L"Makefile"));
  EXPECT_TRUE(TypeMatches(L"*.*", L"a.b.c"));
  EXPECT_TRUE(TypeMatches(L"*.txt", L"README.TXT"));
  EXPECT_FALSE(TypeMatches(L"*.txt", L"a.t"));
  EXPECT_FALSE(TypeMatches(L"*.txt", L"a.txt.bak"));
  EXPECT_FALSE(TypeMatches(L"*.htm", L"page.html"));
  const wchar_t mixed[] = L"*.txt;*.htm;*.html;*.asp";
  EXPECT_TRUE(TypeMatches(mixed, L"Index.HTML"));
  EXPECT_TRUE(TypeMatches(mixed, L"x.asp"));
  EXPECT_FALSE(TypeMatches(mixed, L"x.as"));
  EXPECT_FALSE(TypeMatches(mixed, L"x.xml"));
  EXPECT_TRUE(TypeMatches(L" *.xml ; *.rtf", L"notes.RTF"));
  EXPECT_TRUE(TypeMatches(L"report?.*", L"report1.doc"));
  EXPECT_FALSE(TypeMatches(L"report?.*", L"report12.doc"));
  EXPECT_FALSE(TypeMatches(L"", L"a.txt"));
  EXPECT_FALSE(TypeMatches(L";;", L"a.txt"));
}

TEST(SizeLimit, ThousandsOfTheBoxAndStrictlySmaller) {
  int32_t limit = SizeLimitBytes(L"200");
  EXPECT_EQ(limit, 200000);
  EXPECT_TRUE(SizeAllowed(199999, limit));
  EXPECT_FALSE(SizeAllowed(200000, limit));
  EXPECT_EQ(SizeLimitBytes(L" 1.5"), 1500);
  EXPECT_EQ(SizeLimitBytes(L"200KB"), 200000);
  EXPECT_EQ(SizeLimitBytes(L"abc"), 0);
  EXPECT_FALSE(SizeAllowed(0, SizeLimitBytes(L"")));
  EXPECT_EQ(SizeLimitBytes(L"99999999999"), INT32_MAX);
  EXPECT_FALSE(SizeAllowed(1, SizeLimitBytes(L"-5")));
  EXPECT_TRUE(SizeAllowed(uint64_t(INT32_MAX) - 1, SizeLimitBytes(L"99999999999")));
}

TEST(TextHolds, HitsAtEveryPositionLetterCaseIgnored) {
  EXPECT_TRUE(Holds("needle at the start", L"needle"));
  EXPECT_TRUE(Holds("xNEEDLE", L"needle"));
  EXPECT_TRUE(Holds("some text, then Needle", L"needle"));
  EXPECT_TRUE(Holds("ab", L"AB"));
  EXPECT_FALSE(Holds("a", L"ab"));
  EXPECT_FALSE(Holds("needle", L""));
  EXPECT_FALSE(Holds("", L"x"));
}

TEST(TextHolds, LetterCaseOfEveryScriptThatHasIt) {
  EXPECT_TRUE(Holds("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", L"ПРИВЕТ"));  // Привет in UTF-8
  EXPECT_TRUE(Holds("Stra\xC3\x9F" "e \xC3\x84rger", L"\x00E4rger"));                 // Ärger
  EXPECT_TRUE(Holds("\xCE\xB1\xCE\xB2\xCE\xB3", L"\x0391\x0392\x0393"));                // αβγ
  EXPECT_FALSE(Holds("\xD0\x9F\xD1\x80\xD0\xB8", L"pri"));
}

TEST(TextHolds, EachEncodingIsDecodedFirst) {
  EXPECT_TRUE(Holds(std::string_view("\xFF\xFE" "a\0B\0c\0", 8), L"abc"));
  EXPECT_TRUE(Holds("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87", L"中文"));
  EXPECT_TRUE(Holds("x \xD6\xD0\xCE\xC4 y", L"中文"));
}

TEST(TextHolds, NoFalseHitInsideDoubleByteCharacters) {
  // 門時長點 in the code page: E9 54, 95 72, E9 4C, FC 63; their second bytes read T, r, L and c.
  const char text[] = "\xE9\x54\x95\x72\xE9\x4C\xFC\x63";
  EXPECT_FALSE(Holds(text, L"t"));
  EXPECT_FALSE(Holds(text, L"R"));
  EXPECT_FALSE(Holds(text, L"l"));
  EXPECT_FALSE(Holds(text, L"C"));
  EXPECT_TRUE(Holds(text, L"時長"));
  // A character whose second byte differs only by letter case is another character.
  EXPECT_FALSE(Holds("\xE9\x74", L"門"));
}

TEST(FindNext, WrapsOnceThroughTheTop) {
  std::wstring text = L"Abc abc ABC";
  std::wstring needle = CaseFold::Get().Folded(L"abc");
  size_t next = 0;
  EXPECT_EQ(FindNextHit(text, needle, next), 0u);
  EXPECT_EQ(next, 3u);
  EXPECT_EQ(FindNextHit(text, needle, next), 4u);
  EXPECT_EQ(FindNextHit(text, needle, next), 8u);
  EXPECT_EQ(FindNextHit(text, needle, next), std::nullopt);
  EXPECT_EQ(next, 0u);
  EXPECT_EQ(FindNextHit(text, needle, next), 0u);
  next = 99;
  EXPECT_EQ(FindNextHit(text, needle, next), std::nullopt);
}

TEST(StatusTexts, AsTheWindowShowsThem) {
  EXPECT_EQ(ScanSizeText(1500), L"文件大小：1.5KB");
  EXPECT_EQ(ScanSizeText(500), L"文件大小：0.5KB");
  EXPECT_EQ(ShownSizeText(123456), L"大小：123.456 KB");
  EXPECT_EQ(ScannedText(7), L"搜索文件：7 个");
  EXPECT_EQ(FoundText(2), L"发现目标：2 个");
  EXPECT_EQ(ResultsTip(3), L"搜索结果：3 个文件");
  EXPECT_EQ(NotWrittenText(L"C:\\a.txt", 1), L"文件无法写入：C:\\a.txt");
  EXPECT_EQ(NotWrittenText(L"C:\\a.txt", 3), L"文件无法写入：C:\\a.txt 等 3 个文件");
}

}  // namespace
}  // namespace sercavo
