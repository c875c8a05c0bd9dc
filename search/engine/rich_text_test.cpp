#include "search/engine/rich_text.h"

#include <gtest/gtest.h>

#include "common/testing/gbk_double.h"

namespace sercavo {
namespace {

const suite::GbkDouble gbk;
const CodePageFor pages = [](int number) -> const common::CodePage* { return number == 936 ? &gbk : nullptr; };

constexpr char kHeader[] =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}";

std::wstring Shown(const std::string& rtf) { return ReadRichText(rtf, pages).text; }

RichReplaced Replace(const std::string& rtf, std::wstring_view find, std::wstring_view with) {
  return ReplaceInRichText(rtf, ReadRichText(rtf, pages), find, with, pages);
}

TEST(RichTextShown, TextNotMarkup) {
  std::string doc = std::string(kHeader) + "\\pard red \\b bold\\b0\\par\r\n\\'d6\\'d0\\'ce\\'c4 \\{x\\}\\tab y}";
  EXPECT_EQ(Shown(doc), L"red bold\r中文 {x}\ty");
  // Tables, pictures, ignorable destinations and raw binary data show nothing.
  EXPECT_EQ(Shown("{\\rtf1{\\*\\generator Writer;}{\\info{\\title secret}}{\\pict\\bin3 {}}}a}"), L"a");
  EXPECT_EQ(Shown("{\\rtf1{\\*\\unknown hidden}{\\unknownword shown}}"), L"shown");
  // Characters by number, with the stand-ins after them passed over.
  EXPECT_EQ(Shown("{\\rtf1\\uc1\\u20013?\\u25991\\'3f x\\uc0\\u-10 y}"),
            std::wstring(L"中文 x") + wchar_t(65526) + L"y");
  EXPECT_EQ(Shown("{\\rtf1\\uc2\\u20013\\'d6\\'d0z}"), L"中z");
  // A document without a code page of its own: bytes are Latin-1.
  EXPECT_EQ(Shown("{\\rtf1\\ansi caf\\'e9}"), L"caf\u00e9");
}

TEST(RichTextShown, FontsBringTheirCodePage) {
  // No \ansicpg: the font's character set tells the code page of its bytes.
  std::string doc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}\\f1\\'d6\\'d0\\f0\\'d6}";
  EXPECT_EQ(Shown(doc), L"中\u00d6");
  // A font switched inside a group is back to the outer one after it.
  EXPECT_EQ(Shown("{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset134 S;}}{\\f1\\'d6\\'d0}\\'d6}"), L"中\u00d6");
}

TEST(RichTextReplace, TextChangesMarkupStays) {
  std::string doc = std::string(kHeader) + "red text red}";
  RichReplaced r = Replace(doc, L"red", L"blue");
  EXPECT_FALSE(r.acrossMarkup);
  EXPECT_EQ(r.count, 2u);
  EXPECT_EQ(r.bytes, std::string(kHeader) + "blue text blue}");
  // Control words are no hits: "ansi" and "fonttbl" are markup.
  EXPECT_EQ(Replace(doc, L"ansi", L"x").count, 0u);
  EXPECT_EQ(Replace(doc, L"fonttbl", L"x").bytes, doc);
}

TEST(RichTextReplace, NonAsciiIsWrittenAsTheDocumentWritesIt) {
  std::string doc = std::string(kHeader) + "abc \\'d6\\'d0\\'ce\\'c4}";
  // In the document's code page as escaped bytes, never as raw UTF-8.
  EXPECT_EQ(Replace(doc, L"abc", L"中文").bytes, std::string(kHeader) + "\\'d6\\'d0\\'ce\\'c4 \\'d6\\'d0\\'ce\\'c4}");
  EXPECT_EQ(Replace(doc, L"中文", L"x{y}").bytes, std::string(kHeader) + "abc x\\{y\\}}");
  // A character the code page has not: by number, with the stand-in the document expects.
  EXPECT_EQ(Replace(doc, L"abc", L"\u66ff").bytes, std::string(kHeader) + "\\u26367? \\'d6\\'d0\\'ce\\'c4}");
  std::string uc0 = "{\\rtf1\\uc0 abc}";
  EXPECT_EQ(Replace(uc0, L"abc", L"\u66ff").bytes, "{\\rtf1\\uc0 \\u26367 }");
}

TEST(RichTextReplace, TextRightAfterAControlWordKeepsTheWordWhole) {
  // "\b" ends at the escape: a letter put there would make "\bx".
  std::string doc = "{\\rtf1\\ansi\\ansicpg936\\b\\'d6\\'d0}";
  RichReplaced r = Replace(doc, L"中", L"xy");
  EXPECT_EQ(r.bytes, "{\\rtf1\\ansi\\ansicpg936\\b xy}");
  EXPECT_EQ(Shown(r.bytes), L"xy");
}

TEST(RichTextReplace, AnOccurrenceAcrossMarkupLeavesTheFileAlone) {
  std::string doc = std::string(kHeader) + "red re{\\b d}}";
  RichReplaced r = Replace(doc, L"red", L"blue");
  EXPECT_TRUE(r.acrossMarkup);
  EXPECT_EQ(r.bytes, doc);
  EXPECT_EQ(r.count, 0u);
  // Nor across a paragraph mark or a line end inside the file.
  EXPECT_TRUE(Replace("{\\rtf1 a\\par b}", L"a\rb", L"x").acrossMarkup);
  EXPECT_TRUE(Replace("{\\rtf1 a\r\nb}", L"ab", L"x").acrossMarkup);
}

TEST(RichTextShown, DamagedFilesGiveWhatTheyCan) {
  for (const char* bad : {"{\\rtf1", "{\\rtf1\\", "{\\rtf1\\'", "{\\rtf1\\'4", "}}}{\\rtf1 a", "{\\rtf1\\u",
                          "{\\rtf1\\bin99", "{\\rtf1\\'d6", "{\\rtf1\\uc5\\u65 x}", "{\\rtf1\\f99999999999999 x}"}) {
    RichText t = ReadRichText(bad, pages);
    ASSERT_EQ(t.text.size(), t.source.size()) << bad;
    for (const auto& s : t.source) EXPECT_LE(s.end, std::string_view(bad).size()) << bad;
  }
  EXPECT_EQ(Shown("}}}{\\rtf1 a"), L"a");
}

}  // namespace
}  // namespace sercavo
