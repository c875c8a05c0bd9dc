#include "browser/files/text_lines.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(TextLines, EachLineKeepsItsOwnEnd) {
  std::wstring text = L"a\r\nb\nc\rd";
  auto lines = SplitKeepingEnds(text);
  EXPECT_EQ(lines, (std::vector<TextLine>{{L"a", L"\r\n"}, {L"b", L"\n"}, {L"c", L"\r"}, {L"d", L""}}));
  EXPECT_EQ(JoinLines(lines), text);
  // Empty lines are lines; a text ending in a line end has nothing after it.
  EXPECT_EQ(SplitKeepingEnds(L"\r\n\n"), (std::vector<TextLine>{{L"", L"\r\n"}, {L"", L"\n"}}));
  EXPECT_TRUE(SplitKeepingEnds(L"").empty());
  EXPECT_EQ(SplitKeepingEnds(std::wstring(L"x\0y\r\n", 5)), (std::vector<TextLine>{{std::wstring(L"x\0y", 3), L"\r\n"}}));
}

TEST(TextLines, NewLineTakesTheTextsOwnEnd) {
  auto lines = SplitKeepingEnds(L"a\nb");
  AppendLine(lines, L"c");
  EXPECT_EQ(JoinLines(lines), L"a\nb\nc\n");  // the last line got its end first
  std::vector<TextLine> none;
  AppendLine(none, L"x");
  EXPECT_EQ(JoinLines(none), L"x\r\n");
  auto bare = SplitKeepingEnds(L"only");
  AppendLine(bare, L"");
  EXPECT_EQ(JoinLines(bare), L"only\r\n\r\n");
}

}  // namespace
}  // namespace corvane
