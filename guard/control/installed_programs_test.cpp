#include "guard/control/installed_programs.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(InstalledPrograms, WindowsXpEntriesAndEmptyNamesAreNotListed) {
  EXPECT_FALSE(ListedProgram(L""));
  EXPECT_FALSE(ListedProgram(L"Windows XP Service Pack 3"));
  EXPECT_FALSE(ListedProgram(L"WINDOWS XP hotfix"));
  EXPECT_FALSE(ListedProgram(L"windows xp"));
  EXPECT_FALSE(ListedProgram(L"wINDOWS xP"));
  EXPECT_TRUE(ListedProgram(L"Windows X"));
  EXPECT_TRUE(ListedProgram(L"Windows 10 SDK"));
  EXPECT_TRUE(ListedProgram(L" Windows XP")) << "only the first ten characters count";
  EXPECT_TRUE(ListedProgram(L"极速输入法"));
}

TEST(InstalledPrograms, OneRowPerProgramAcrossThePlacesItIsRegistered) {
  InstalledList list;
  InstalledProgram editor{L"Editor 2.0", L"C:\\Program Files\\Editor\\uninst.exe", L"http://editor.example/"};
  EXPECT_TRUE(list.Add(editor));
  // The same program seen in the other machine view and in the user's key.
  EXPECT_FALSE(list.Add(editor));
  EXPECT_FALSE(list.Add({L"EDITOR 2.0", L"c:\\program files\\editor\\UNINST.EXE", L""})) << "letter case aside";
  // The same name with another command is another installation.
  EXPECT_TRUE(list.Add({L"Editor 2.0", L"C:\\Users\\u\\AppData\\Editor\\uninst.exe", L""}));
  EXPECT_FALSE(list.Add({L"", L"C:\\x\\uninst.exe", L""}));
  EXPECT_FALSE(list.Add({L"Windows XP Hotfix", L"C:\\x\\uninst.exe", L""}));
  ASSERT_EQ(list.programs().size(), 2u);
  EXPECT_EQ(list.programs()[0].helpLink, L"http://editor.example/") << "kept where it was met first";
}
