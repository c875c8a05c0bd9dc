#include "search/engine/text_codec.h"

#include <gtest/gtest.h>

#include "common/testing/gbk_double.h"

namespace sercavo {
namespace {

const suite::GbkDouble gbk;

std::string Utf16Le(std::wstring_view t) { return *EncodeText(t, Encoding::Utf16Le, gbk); }

// Replacing only the exact-case "abc" leaves every other byte as it was, in every encoding.
TEST(ReplaceExact, KeepsEncodingMarkAndLineEndsByteForByte) {
  struct Case {
    std::string before, after;
    size_t count;
  };
  const Case cases[] = {
      {"ABC abc\nline two abc\n", "ABC xyz\nline two xyz\n", 2},                          // UTF-8, LF
      {"\357\273\277ABC abc\r\n\xE4\xB8\xAD", "\357\273\277ABC xyz\r\n\xE4\xB8\xAD", 1},  // UTF-8 mark
      {"\xFF\xFE" + Utf16Le(L"ABC abc\r\n\U0001F600"), "\xFF\xFE" + Utf16Le(L"ABC xyz\r\n\U0001F600"), 1},
      {"\xD6\xD0 ABC abc\r\xCE\xC4", "\xD6\xD0 ABC xyz\r\xCE\xC4", 1},  // the code page, CR line ends
  };
  for (const Case& c : cases) {
    auto r = ReplaceExact(c.before, L"abc", L"xyz", gbk);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->bytes, c.after);
    EXPECT_EQ(r->count, c.count);
  }
}

TEST(ReplaceExact, NeverSplitsADoubleByteCharacter) {
  // 門 is E9 54 and 時 is 95 72: their second bytes are "T" and "r".
  std::string text = "\xE9\x54\x95\x72 T r";
  auto r = ReplaceExact(text, L"T", L"t", gbk);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->bytes, "\xE9\x54\x95\x72 t r");
  EXPECT_EQ(r->count, 1u);
  auto whole = ReplaceExact(text, L"門時", L"中文", gbk);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->bytes, "\xD6\xD0\xCE\xC4 T r");
}

TEST(ReplaceExact, AReplacementTheFileCannotHoldLeavesItAlone) {
  EXPECT_EQ(ReplaceExact("\xD6\xD0 abc", L"abc", L"\U0001F600", gbk), std::nullopt);
  // Without an occurrence nothing needs writing, whatever the replacement.
  auto none = ReplaceExact("\xD6\xD0 ABC", L"abc", L"\U0001F600", gbk);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->count, 0u);
  EXPECT_EQ(none->bytes, "\xD6\xD0 ABC");
  auto empty = ReplaceExact("abc", L"", L"x", gbk);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->bytes, "abc");
}

TEST(TextFileBytes, TheShownFileFormatOrUtf8WhenItCannotHoldTheText) {
  TextFormat ansi{Encoding::Ansi, 0};
  EXPECT_EQ(TextFileBytes(L"中 x", ansi, gbk), "\xD6\xD0 x");
  EXPECT_EQ(ansi.encoding, Encoding::Ansi);
  EXPECT_EQ(TextFileBytes(L"\U0001F600", ansi, gbk), "\xEF\xBB\xBF\xF0\x9F\x98\x80");
  EXPECT_EQ(ansi.encoding, Encoding::Utf8);
  TextFormat utf16{Encoding::Utf16Le, 2};
  EXPECT_EQ(TextFileBytes(L"A", utf16, gbk), std::string("\377\376A\0", 4));
  TextFormat utf8{Encoding::Utf8, 0};
  std::wstring lone = L"a";
  lone += wchar_t(0xD800);
  lone += L'b';
  EXPECT_EQ(TextFileBytes(lone, utf8, gbk), "\357\273\277a\357\277\275b");
}

TEST(LineEndOf, TheMostUsedOne) {
  EXPECT_EQ(LineEndOf(L"a\nb\nc\r\n"), L"\n");
  EXPECT_EQ(LineEndOf(L"a\r\nb"), L"\r\n");
  EXPECT_EQ(LineEndOf(L"a\rb\rc"), L"\r");
  EXPECT_EQ(LineEndOf(L"none"), L"\r\n");
}

}  // namespace
}  // namespace sercavo
