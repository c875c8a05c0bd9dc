#include "common/text_codec.h"

#include <gtest/gtest.h>

#include "common/testing/gbk_double.h"

namespace common {
namespace {

const suite::GbkDouble gbk;

std::string Utf16Le(std::wstring_view t) { return *EncodeText(t, Encoding::Utf16Le, gbk); }

std::wstring Decoded(std::string_view bytes) {
  std::wstring out = L"stale";
  DecodeText(bytes, DetectFormat(bytes), gbk, out);
  return out;
}

// Read exactly, then written back in the form it was read in.
std::optional<std::string> RoundTrip(std::string_view bytes) {
  TextFormat format = DetectFormat(bytes);
  return EncodeExactly(DecodeExactly(bytes, format, gbk), format, gbk);
}

TEST(DetectFormat, MarksFirstThenUtf8WithANonAsciiByteThenTheCodePage) {
  EXPECT_EQ(DetectFormat(std::string_view("\377\376a\0", 4)).encoding, Encoding::Utf16Le);
  EXPECT_EQ(DetectFormat("\xFF\xFE").markBytes, 2u);
  EXPECT_EQ(DetectFormat(std::string_view("\xFE\xFF\0a", 4)).encoding, Encoding::Utf16Be);
  TextFormat marked = DetectFormat("\xEF\xBB\xBFhello");
  EXPECT_EQ(marked.encoding, Encoding::Utf8);
  EXPECT_EQ(marked.markBytes, 3u);
  // ASCII alone is the code page's: a character added later goes in the form its readers expect.
  EXPECT_EQ(DetectFormat("plain ascii, long enough for the fast path").encoding, Encoding::Ansi);
  EXPECT_EQ(DetectFormat("").encoding, Encoding::Ansi);
  EXPECT_EQ(DetectFormat("\xE4\xB8\xAD\xE6\x96\x87").encoding, Encoding::Utf8);  // 中文 in UTF-8
  EXPECT_EQ(DetectFormat("\xD6\xD0\xCE\xC4").encoding, Encoding::Ansi);          // 中文 in the code page
  EXPECT_EQ(DetectFormat("\xE9\x54").encoding, Encoding::Ansi);
}

TEST(DetectFormat, Utf8ValidityIsStrict) {
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80 and more ascii text after it"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("abcdefgh\xE4\xB8"));  // cut short after a fast ASCII run
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(DecodeText, EachEncodingAfterItsMark) {
  EXPECT_EQ(Decoded("\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87"), L"中文");
  EXPECT_EQ(Decoded("\xFF\xFE" + Utf16Le(L"中文\U0001F600")), L"中文\U0001F600");
  EXPECT_EQ(Decoded(std::string("\xFE\xFF\x4E\x2D\x00\x41", 6)), L"中A");
  EXPECT_EQ(Decoded("\xD6\xD0\xCE\xC4 x"), L"中文 x");
  EXPECT_EQ(Decoded("ascii only, long enough for the fast path"), L"ascii only, long enough for the fast path");
  // A mark followed by bytes that are not UTF-8: each bad byte stands for itself.
  EXPECT_EQ(Decoded("\357\273\277a\377z"), L"a\xFFFDz");
  EXPECT_EQ(Decoded(std::string_view("\377\376a\0b", 5)), L"a\xFFFD");
}

TEST(EncodeText, NulloptWhenTheEncodingCannotHoldIt) {
  EXPECT_EQ(EncodeText(L"\U0001F600", Encoding::Utf8, gbk), "\xF0\x9F\x98\x80");
  EXPECT_EQ(EncodeText(L"\xD800", Encoding::Utf8, gbk), std::nullopt);
  EXPECT_EQ(EncodeText(L"中", Encoding::Ansi, gbk), "\xD6\xD0");
  EXPECT_EQ(EncodeText(L"\U0001F600", Encoding::Ansi, gbk), std::nullopt);
  EXPECT_EQ(EncodeText(L"A", Encoding::Utf16Be, gbk), std::string("\0A", 2));
}

// Files other programs wrote come back byte for byte, whatever their form and whatever bad bytes they hold.
TEST(ExactText, EveryFormRoundTripsByteForByte) {
  const std::string files[] = {
      "\xFF\xFE" + Utf16Le(L"http://a.cn/\r\n中文\r\n\U0001F600"),
      std::string("\xFE\xFF\x4E\x2D\x00\x0D\x00\x0A\x00\x41", 10),
      "\xEF\xBB\xBFhttp://\xE4\xB8\xAD.cn/\r\n",
      "http://\xE4\xB8\xAD.cn/\r\n",              // UTF-8 without a mark
      "\xD6\xD0\xCE\xC4\r\n;c:\\a.exe\r\n",         // the code page
      "ok\xD6\r\n\xD6\xD0 lone lead bytes \xFE",  // a lead byte before a line end, and at the end
      "\xD6\xD0 \xE4\xB8\xAD mixed \x80\x81\xFF",   // code page and UTF-8 bytes in one file
      "\xEF\xBB\xBF\xFF bad after a UTF-8 mark",
      std::string("nul\0inside\0", 12),
  };
  for (const std::string& f : files) EXPECT_EQ(RoundTrip(f), f) << f;
}

TEST(ExactText, BadBytesBecomeEscapesThatWriteBackAsThemselves) {
  std::wstring lone = DecodeExactly("a\xD6\r\n", {Encoding::Ansi, 0}, gbk);
  EXPECT_EQ(lone, std::wstring(L"a") + wchar_t(0xDCD6) + L"\r\n");  // the lead byte alone, the line end kept
  EXPECT_EQ(DecodeExactly("\xD6\xD0", {Encoding::Ansi, 0}, gbk), L"中");
  EXPECT_EQ(DecodeExactly("\xE9\x41", {Encoding::Ansi, 0}, gbk), std::wstring(1, wchar_t(0xDCE9)) + L"A");
  EXPECT_EQ(DecodeExactly("x\xFFy", {Encoding::Utf8, 0}, gbk), std::wstring(L"x") + wchar_t(0xDCFF) + L"y");
  // An edited text keeps the escapes of the lines not edited.
  EXPECT_EQ(EncodeExactly(lone + L"中", {Encoding::Ansi, 0}, gbk), "a\xD6\r\n\xD6\xD0");
}

TEST(ExactText, AFormThatCannotHoldACharacterWritesNothingAndNamesTheLine) {
  TextFormat ansi;
  EXPECT_EQ(EncodeExactly(L"中\r\nhttp://예시.kr/\r\n", ansi, gbk), std::nullopt);
  EXPECT_EQ(FirstLineNotHeld(L"中\r\nhttp://예시.kr/\r\nñ\r\n", ansi, gbk), L"http://예시.kr/");
  EXPECT_EQ(FirstLineNotHeld(L"中\r\n文", ansi, gbk), std::nullopt);
  // UTF-16 and UTF-8 hold everything; the marks are written back.
  EXPECT_EQ(EncodeExactly(L"예", {Encoding::Utf16Le, 2}, gbk), "\xFF\xFE" + Utf16Le(L"예"));
  EXPECT_EQ(EncodeExactly(L"ñ", {Encoding::Utf8, 3}, gbk), "\xEF\xBB\xBF\xC3\xB1");
  std::wstring unpaired(1, wchar_t(0xD800));
  EXPECT_EQ(EncodeExactly(unpaired, {Encoding::Utf8, 0}, gbk), std::nullopt);
  EXPECT_EQ(FirstLineNotHeld(L"a\n" + unpaired, {Encoding::Utf8, 0}, gbk), unpaired);
}

TEST(ExactText, AnOddUtf16FileIsReadButDoesNotWriteBackTheSame) {
  std::string odd = "\xFF\xFE" + Utf16Le(L"ab") + "c";
  EXPECT_NE(RoundTrip(odd), odd);
  EXPECT_EQ(DecodeExactly(odd, DetectFormat(odd), gbk), L"ab\xFFFD");
}

TEST(Utf8, ConvertsBothWays) {
  EXPECT_EQ(ToUtf8(L"中\U0001F600"), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(ToUtf8(std::wstring(1, wchar_t(0xDC00))), std::nullopt);
  EXPECT_EQ(FromUtf8("\xE4\xB8\xAD\xFF"), L"中\xFFFD");
}

TEST(HeadOfALargeFile, ItsFormAndNoCutCharacter) {
  // Cut inside 文 (E6 96 87) in UTF-8, inside 文 (CE C4) in the code page.
  EXPECT_EQ(TextOfHead("ab \xE4\xB8\xAD\xE6\x96", false, gbk), L"ab 中");
  EXPECT_EQ(TextOfHead("ab \xD6\xD0\xCE", false, gbk), L"ab 中");
  EXPECT_EQ(TextOfHead(std::string("\xFF\xFE"
                                   "a\0b",
                                   5),
                       false, gbk),
            L"a");
  EXPECT_EQ(TextOfHead("plain", true, gbk), L"plain");
  // A whole file keeps what it has, a bad last byte included.
  EXPECT_EQ(TextOfHead("ab \xD6", true, gbk), L"ab \xFFFD");
}

}  // namespace
}  // namespace common
