#include "guard/startup/start_rules.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(CommandLine, OneEmptyOrNonNumberStartsHiddenAndLocked) {
  EXPECT_TRUE(StartsHiddenAndLocked(L""));
  EXPECT_TRUE(StartsHiddenAndLocked(L"1"));
  EXPECT_TRUE(StartsHiddenAndLocked(L" 1 "));
  EXPECT_TRUE(StartsHiddenAndLocked(L"abc"));
  EXPECT_TRUE(StartsHiddenAndLocked(L"2x"));
  // Only decimal notation is a number: "0x2" is no number at all, so it starts hidden too.
  EXPECT_TRUE(StartsHiddenAndLocked(L"0x2"));
  EXPECT_TRUE(StartsHiddenAndLocked(L"2e0"));
  EXPECT_FALSE(StartsHiddenAndLocked(L"2"));
  EXPECT_FALSE(StartsHiddenAndLocked(L"0"));
  EXPECT_FALSE(StartsHiddenAndLocked(L"-1"));
}

TEST(FirstRun, RegistryEntriesQuoteTheSearchCommand) {
  auto e = FirstRunEntries(L"C:\\Tools\\Zorvix");
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].root, common::RegRoot::CurrentUser);
  EXPECT_EQ(e[0].key, L"software\\microsoft\\windows\\currentversion\\run");
  EXPECT_EQ(e[0].name, L"safe");
  EXPECT_EQ(e[0].data, L"C:\\Tools\\Zorvix\\zorvix.exe");
  EXPECT_EQ(e[1].key, L"Directory\\shell\\Sercavo");
  EXPECT_EQ(e[1].name, L"");
  EXPECT_EQ(e[1].data, L"【Sercavo】");
  EXPECT_EQ(e[2].key, L"Directory\\shell\\Sercavo\\command");
  EXPECT_EQ(e[2].data, L"\"C:\\Tools\\Zorvix\\sercavo.exe\" \"%1\"");
  EXPECT_EQ(e[3].root, common::RegRoot::LocalMachine);
  EXPECT_EQ(e[3].key, L"Software\\CLASSES\\Drive\\shell\\Sercavo");
  EXPECT_EQ(e[4].key, L"Software\\CLASSES\\Drive\\shell\\Sercavo\\command");
  EXPECT_EQ(e[4].data, e[2].data);
}

TEST(FirstRun, DriveRootsAndBlanksInTheFolder) {
  auto root = FirstRunEntries(L"D:\\");
  EXPECT_EQ(root[0].data, L"D:\\zorvix.exe");
  EXPECT_EQ(root[2].data, L"\"D:\\sercavo.exe\" \"%1\"");
  // A blank in the folder would let Windows start "C:\Program.exe" at logon.
  auto spaced = FirstRunEntries(L"C:\\Program Files\\Z");
  EXPECT_EQ(spaced[0].data, L"\"C:\\Program Files\\Z\\zorvix.exe\"");
  // The registrar is started by its full path: a "regsvr32.exe" beside the guard or in the current
  // folder must not run instead.
  auto lines = RegistrarCommands(L"C:\\W\\system32", L"C:\\Z");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], L"C:\\W\\system32\\regsvr32.exe  /s C:\\Z\\COMDLG32.OCX");
  EXPECT_EQ(lines[3], L"C:\\W\\system32\\regsvr32.exe  /s C:\\Z\\MSINET.OCX");
  EXPECT_EQ(RegistrarCommands(L"C:\\W\\system32", L"C:\\A B")[1],
            L"C:\\W\\system32\\regsvr32.exe  /s \"C:\\A B\\MSCOMCTL.OCX\"");
  EXPECT_EQ(RegistrarCommands(L"C:\\Win Dir\\sys", L"C:\\Z")[0],
            L"\"C:\\Win Dir\\sys\\regsvr32.exe\"  /s C:\\Z\\COMDLG32.OCX");
}
