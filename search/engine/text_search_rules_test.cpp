#include "search/engine/text_search_rules.h"

#include <gtest/gtest.h>

#include <set>

#include "common/testing/gbk_double.h"
#include "search/engine/case_fold.h"
#include "search/engine/text_needle.h"

namespace sercavo {
namespace {

const suite::GbkDouble gbk;

bool Holds(std::string_view bytes, std::wstring_view needle) { return TextNeedle(needle, gbk).HeldBy(bytes); }

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
  EXPECT_TRUE(Holds("Stra\303\237e \303\204rger", L"\x00E4rger"));                    // Ärger
  EXPECT_TRUE(Holds("\xCE\xB1\xCE\xB2\xCE\xB3", L"\x0391\x0392\x0393"));              // αβγ
  EXPECT_FALSE(Holds("\xD0\x9F\xD1\x80\xD0\xB8", L"pri"));
}

TEST(TextHolds, EachEncodingIsDecodedFirst) {
  EXPECT_TRUE(Holds(std::string_view("\377\376a\0B\0c\0", 8), L"abc"));
  EXPECT_TRUE(Holds("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87", L"中文"));
  EXPECT_TRUE(Holds("x \xD6\xD0\xCE\xC4 y", L"中文"));
}

TEST(TextHolds, FilesWithoutTheCaselessCharacterAreRuledOutAndTheRestDecoded) {
  // 中 has no other letter case: its UTF-8 and code-page bytes must be in a file that holds the text.
  EXPECT_TRUE(Holds("x \xD6\xD0\xCE\xC4 y", L"中文"));
  EXPECT_TRUE(Holds("x \xE4\xB8\xAD\xE6\x96\x87 y", L"文"));
  EXPECT_FALSE(Holds("x \xE4\xB8\xAD y", L"中文"));  // the anchor alone is no hit
  // The anchor's bytes across two characters: decoded, no hit.
  EXPECT_FALSE(Holds("\x81\xD6\xD0", L"中"));
  std::wstring wide = L"x检索 Zorvix检索";
  std::string utf16 =
      "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  if (sizeof(wchar_t) == 2) {
    EXPECT_TRUE(Holds(utf16, L"zORVIX检索"));
    EXPECT_FALSE(Holds(utf16, L"zORVIX检索x"));
    EXPECT_FALSE(Holds(utf16, L"y检索"));
  }
  EXPECT_TRUE(Holds("\xFE\xFF\x4E\x2D", L"中"));  // marked UTF-16, big-endian
  TextNeedle needle(L"Abc中", gbk);
  EXPECT_TRUE(needle.HeldBy("xx aBC\xD6\xD0"));
  EXPECT_EQ(needle.text(), L"xx aBC中");
}

TEST(TextHolds, LatinTextsAreFoundInEitherCaseWhateverSurroundsThem) {
  EXPECT_TRUE(Holds("xx ZoRvIx yy", L"zorvix"));
  EXPECT_TRUE(Holds("\xD6\xD0zorvix\xCE\xC4", L"ZORVIX"));
  EXPECT_FALSE(Holds("zorvic zorvi x", L"ZORVIX"));
  EXPECT_TRUE(Holds("a-b_c[d]", L"A-B_C[D]"));
  EXPECT_FALSE(Holds("A-B_C{D}", L"a-b_c[d]"));  // "[" and "{" differ only by the case bit, yet are no letters
  EXPECT_TRUE(Holds("\xFF\xFE" + std::string("Z\0O\0R\0", 6), L"zor"));
  EXPECT_EQ(FindLatin("xxxxxxxxxxZORVIX", "zorvix"), 10u);
  EXPECT_EQ(FindLatin("zorvi", "zorvix"), std::string_view::npos);
  EXPECT_EQ(FindLatin("@", "`"), std::string_view::npos);
}

TEST(TextHolds, LatinTextsInUtf16AreFoundOnCharacterBoundariesOnly) {
  auto utf16 = [](std::wstring_view t) {
    std::string r = "\xFF\xFE";
    for (wchar_t c : t) r.append(1, char(c & 0xFF)).append(1, char((c >> 8) & 0xFF));
    return r;
  };
  EXPECT_TRUE(Holds(utf16(L"\u4e2d\u6587 ZoRvIx \u4e2d"), L"zorvix"));
  EXPECT_TRUE(Holds(utf16(L"zorvix"), L"ZORVIX"));
  EXPECT_FALSE(Holds(utf16(L"zorvi x"), L"ZORVIX"));
  // "z\0o\0r\0" stands at an odd place: the characters there are others.
  EXPECT_FALSE(Holds(utf16(L"\u7a00\u6f00\u7200"), L"zor"));
  EXPECT_TRUE(Holds(utf16(L"\u7a00\u6f00\u7200zor"), L"zor"));
}

// A file read a piece at a time holds the text exactly when the whole file does, wherever the cuts fall.
TEST(TextHolds, LargeFilesPieceByPieceWhereverTheCutsFall) {
  auto utf16 = [](std::wstring_view t) {
    std::string r = "\xFF\xFE";
    for (wchar_t c : t) r.append(1, char(c & 0xFF)).append(1, char((c >> 8) & 0xFF));
    return r;
  };
  const std::string files[] = {
      "some text " + gbk.Encode(L"\u4e2d\u6587").value() + " and ZORVIX" + gbk.Encode(L"\u4e2d\u6587").value(),
      "ascii first, then zorvix\xE4\xB8\xAD\xE6\x96\x87 in UTF-8",
      "\xEF\xBB\xBFmarked zorVIX\xE4\xB8\xAD\xE6\x96\x87",
      utf16(L"wide text Zorvix\u4e2d\u6587 end"),
      "no such text here at all, zorvi x",
      // 乤 is 81 61: its second byte and the two after it read "abc" only when cut wrongly.
      "\x81"
      "abc\x81"
      "abc\x81"
      "abc\x81"
      "abc",
  };
  for (const std::wstring& find : {std::wstring(L"zorvix\u4e2d\u6587"), std::wstring(L"ZORVIX"), std::wstring(L"abc")})
    for (const std::string& file : files)
      for (size_t piece = 4; piece <= 11; ++piece) {
        TextNeedle whole(find, gbk), pieces(find, gbk);
        int reads = 0;
        auto read = [&](uint64_t at, std::string& bytes) {
          ++reads;
          bytes = file.substr(size_t(at), piece);
          return true;
        };
        EXPECT_EQ(HeldInPieces(pieces, file.size(), read), whole.HeldBy(file)) << file << " / " << piece;
        EXPECT_LE(reads, int(file.size() / piece) + 1);
      }
  // A piece that cannot be read: no hit.
  TextNeedle needle(L"abc", gbk);
  EXPECT_FALSE(HeldInPieces(needle, 10, [](uint64_t, std::string&) { return false; }));
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

TEST(FindBytes, EveryPlaceAcrossTheSixteenByteSteps) {
  std::string text(50, '.');
  for (size_t at = 0; at + 3 <= text.size(); ++at) {
    std::string t = text;
    t.replace(at, 3, "\xE6\xA3\x80");
    EXPECT_EQ(FindBytes(t, "\xE6\xA3\x80"), at) << at;
    EXPECT_EQ(FindBytes(t, "\xE6\xA3\x81"), std::string_view::npos) << at;
    EXPECT_EQ(FindBytes(t, "\xE6\xA3\x80", {}, at + 1), std::string_view::npos) << at;
    EXPECT_EQ(FindBytes(t, "\xBC\xEC", "\xE6\xA3\x80"), at) << at;  // either of two
    t.replace(at, 3, "ZoR");
    EXPECT_EQ(FindLatin(t, "zor"), at) << at;
    EXPECT_EQ(FindLatin(t, "zos"), std::string_view::npos) << at;
  }
  // Lanes that hold the first byte just after a lane that holds 0x80 or 0x00 are not missed.
  EXPECT_EQ(FindBytes(std::string("\x80\x00\xE6\xA3\x80xxxxxxxx", 13), "\xE6\xA3"), 2u);
  EXPECT_EQ(FindBytes("ab", "abc"), std::string_view::npos);
  EXPECT_EQ(FindBytes("aab", "ab"), 1u);
  EXPECT_EQ(FindBytes("xyz", "z"), 2u);
  EXPECT_EQ(FindBytes("xyz", ""), std::string_view::npos);
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

TEST(Replace, OnlyTheExactCaseAndEveryOccurrence) {
  size_t count = 9;
  EXPECT_EQ(ReplaceExact(L"ABC abc\r\nabcabc", L"abc", L"中文", count), L"ABC 中文\r\n中文中文");
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(ReplaceExact(L"aaa", L"aa", L"b", count), L"ba");  // occurrences do not overlap
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(ReplaceExact(L"ABC", L"abc", L"x", count), L"ABC");
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(ReplaceExact(L"abc", L"", L"x", count), L"abc");
  EXPECT_EQ(count, 0u);
}

TEST(LineEndOf, TheMostUsedOne) {
  EXPECT_EQ(LineEndOf(L"a\nb\nc\r\n"), L"\n");
  EXPECT_EQ(LineEndOf(L"a\r\nb"), L"\r\n");
  EXPECT_EQ(LineEndOf(L"a\rb\rc"), L"\r");
  EXPECT_EQ(LineEndOf(L"none"), L"\r\n");
}

TEST(RichText, ByNameAndContent) {
  EXPECT_TRUE(IsRichText(L"C:\\a\\Doc.RTF", "{\\rtf1\\ansi x}"));
  EXPECT_FALSE(IsRichText(L"C:\\a\\doc.txt", "{\\rtf1\\ansi x}"));
  EXPECT_FALSE(IsRichText(L"C:\\a\\doc.rtf", "plain text"));
  EXPECT_FALSE(IsRichText(L"C:\\a.rtf\\doc", "{\\rtf1}"));
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
  // Each reason a replace leaves a file alone says itself; the one that could not write says so as before.
  EXPECT_EQ(NotReplacedText(NotReplaced::kNotWritten, L"C:\\a.txt", 2), NotWrittenText(L"C:\\a.txt", 2));
  EXPECT_EQ(NotReplacedText(NotReplaced::kNotHeld, L"C:\\a.txt", 1),
            L"文件的编码无法写入替换的文字，未替换：C:\\a.txt");
  std::set<std::wstring> texts;
  for (NotReplaced why : {NotReplaced::kNotWritten, NotReplaced::kNotHeld, NotReplaced::kAcrossMarkup,
                          NotReplaced::kLinkOutside, NotReplaced::kNotWhole})
    texts.insert(NotReplacedText(why, L"C:\\a.txt", 1));
  EXPECT_EQ(texts.size(), 5u);
}

}  // namespace
}  // namespace sercavo
