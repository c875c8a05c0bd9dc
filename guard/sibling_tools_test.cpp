// The tray's and the control centre's sibling tools: quoted program paths, arguments kept after them.
#include "guard/sibling_tools.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(SiblingTools, SiblingToolsAreStartedFromTheProgramFolderQuoted) {
  EXPECT_EQ(SiblingCommand(L"C:\\Program Files\\Zorvix\\", L"\\year.exe ip"),
            L"\"C:\\Program Files\\Zorvix\\year.exe\" ip");
  EXPECT_EQ(SiblingCommand(L"C:\\Zorvix", L"\\view.exe"), L"\"C:\\Zorvix\\view.exe\"");
  EXPECT_EQ(SiblingCommand(L"D:\\", L"\\view.exe"), L"\"D:\\view.exe\"") << "a drive root";
  // The file looked for before the start is the one the command line starts.
  EXPECT_EQ(SiblingProgram(L"C:\\Program Files\\Zorvix\\", L"\\year.exe ip"), L"C:\\Program Files\\Zorvix\\year.exe");
  EXPECT_EQ(SiblingProgram(L"D:\\", L"\\clear.exe"), L"D:\\clear.exe");
}
