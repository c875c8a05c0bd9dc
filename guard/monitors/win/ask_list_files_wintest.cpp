// The two list files on disk, in the system's ANSI code page.
#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/text_files.h"
#include "common/win/system.h"
#include "guard/monitors/win/ask_list_files.h"

using namespace zorvix;

TEST(AskListFiles, RoundTripChinesePathsInTheAnsiCodePage) {
  suite::TempDir dir;
  AskLists().process = {DecisionList(L";C:\\程序\\允许.exe"), DecisionList(L";d:\\下载\\拒绝.EXE")};
  AskLists().registry.allow.Add(L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\工具");
  ASSERT_TRUE(SaveAskLists(dir.wpath()));
  ASSERT_TRUE(SaveRegAskLists(dir.wpath()));
  auto bytes = suite::ReadBytes(dir.wpath() + L"\\sys\\ask.dat");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, suite::Ansi(L";c:\\程序\\允许.exe\r\n;d:\\下载\\拒绝.exe\r\n"));
  if (GetACP() == 936) {
    EXPECT_EQ(bytes->substr(4, 4), std::string("\xb3\xcc\xd0\xf2")) << "程序 in code page 936";
  }
  AskLists() = {};
  ASSERT_TRUE(LoadAskLists(dir.wpath()));
  ASSERT_TRUE(LoadRegAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().process.allow.Contains(L"c:\\程序\\允许.exe"));
  EXPECT_TRUE(AskLists().process.deny.Contains(L"D:\\下载\\拒绝.exe"));
  EXPECT_TRUE(AskLists().registry.allow.Contains(
      L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\工具"));
  EXPECT_TRUE(AskLists().registry.deny.empty());
}

TEST(AskListFiles, AMissingFileGivesEmptyListsAndOneLineGivesTheAllowList) {
  suite::TempDir dir;
  AskLists().process.allow.Add(L"c:\\left-over.exe");
  EXPECT_TRUE(LoadAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().process.allow.empty());
  dir.Write(L"sys\\regask.dat", ";hkey_current_user\\run\\a");
  EXPECT_TRUE(LoadRegAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"hkey_current_user\\run\\a"));
  EXPECT_TRUE(AskLists().registry.deny.empty());
}
