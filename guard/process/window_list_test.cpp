#include "guard/process/window_list.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(WindowList, ListsEveryNonEmptyTitle) {
  EXPECT_FALSE(ListedTitle(L""));
  EXPECT_TRUE(ListedTitle(L"a"));
  EXPECT_TRUE(ListedTitle(L" "));
  EXPECT_TRUE(ListedTitle(L"记事本"));
}

TEST(WindowList, CloseReachesTitlesContainingTheTextInAnyCase) {
  EXPECT_TRUE(TitleMatches(L"Untitled - Notepad", L"notepad"));
  EXPECT_TRUE(TitleMatches(L"NOTEPAD", L"NotePad"));
  EXPECT_TRUE(TitleMatches(L"新建文本 - 记事本", L"记事本"));
  EXPECT_FALSE(TitleMatches(L"Note", L"Notepad"));
  EXPECT_FALSE(TitleMatches(L"Calculator", L"notepad"));
  // An empty text would reach every window on the desktop.
  EXPECT_FALSE(TitleMatches(L"Calculator", L""));
  EXPECT_FALSE(TitleMatches(L"", L""));
}

TEST(WindowList, ConfirmationNamesTheTitleWithItsTrailingBlanks) {
  EXPECT_EQ(CloseWindowConfirmText(L"记事本"), L"您确实要关闭窗口进程【 记事本 】吗？  ");
}
