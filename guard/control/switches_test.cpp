#include "guard/control/switches.h"

#include <gtest/gtest.h>

using namespace zorvix;

namespace {
using Ticks = std::array<bool, kSwitchRows>;
Ticks Only(int row) {
  Ticks t{};
  t[row - 1] = true;
  return t;
}
}  // namespace

TEST(Switches, RowsOneToSixWriteTheirValuesOnlyWhenTicked) {
  using R = common::RegRoot;
  std::vector<SwitchWrite> expected[6] = {
      {{1, R::CurrentUser, L"software\\microsoft\\windows\\currentversion\\policies\\system", L"DisableTaskMgr", true,
        0, L""},
       {1, R::CurrentUser, L"software\\microsoft\\windows\\currentversion\\policies\\explorer", L"NoChangeStartMenu",
        true, 0, L""}},
      {{2, R::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools",
        true, 0, L""}},
      {{3, R::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        L"ClearRecentDocsOnExit", true, 1, L""},
       {3, R::Users, L".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        L"NoRecentDocsHistory", true, 1, L""}},
      {{4, R::LocalMachine, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        L"NoDriveTypeAutoRun", true, 223, L""}},
      {{5, R::CurrentUser, L"Software\\Policies\\Microsoft\\internet explorer\\restrictions\\", L"NoBrowserOptions",
        true, 0, L""}},
      {{6, R::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL",
        L"CheckedValue", true, 1, L""}},
  };
  for (int row = 1; row <= 6; ++row) {
    SCOPED_TRACE(row);
    std::vector<SwitchWrite> writes = SwitchWrites(Only(row));
    ASSERT_EQ(writes.size(), expected[row - 1].size() + 2);
    for (size_t i = 0; i < expected[row - 1].size(); ++i) EXPECT_EQ(writes[i], expected[row - 1][i]);
  }
}

TEST(Switches, RowSevenWritesBothWays) {
  std::vector<SwitchWrite> off = SwitchWrites(Ticks{});
  ASSERT_EQ(off.size(), 2u) << "nothing ticked still clears the two entries";
  EXPECT_EQ(off[0], (SwitchWrite{7, common::RegRoot::LocalMachine, kCopyToKey, L"", false, 0, L""}));
  EXPECT_EQ(off[1], (SwitchWrite{7, common::RegRoot::LocalMachine, kMoveToKey, L"", false, 0, L""}));
  EXPECT_STREQ(kCopyToKey, L"SOFTWARE\\Classes\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Copy To");
  EXPECT_STREQ(kMoveToKey, L"SOFTWARE\\Classes\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Move To");

  std::vector<SwitchWrite> on = SwitchWrites(Only(7));
  ASSERT_EQ(on.size(), 2u);
  EXPECT_EQ(on[0].text, L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}");
  EXPECT_EQ(on[1].text, L"{C2FBB631-2971-11D1-A18C-00C04FD75D13}");
  EXPECT_TRUE(on[0].name.empty() && on[1].name.empty()) << "the keys' default values";

  Ticks all;
  all.fill(true);
  std::vector<SwitchWrite> every = SwitchWrites(all);
  ASSERT_EQ(every.size(), 10u);
  for (size_t i = 1; i < every.size(); ++i) EXPECT_LE(every[i - 1].row, every[i].row) << "written in row order";
}

TEST(Switches, RowSevenStartsTickedOnlyWhenBothEntriesAreThere) {
  EXPECT_TRUE(ContextEntriesPresent(kCopyToClsid, kMoveToClsid));
  EXPECT_TRUE(ContextEntriesPresent(L"{c2fbb630-2971-11d1-a18c-00c04fd75d13}", L"{c2fbb631-2971-11d1-a18c-00c04fd75d13}"));
  EXPECT_FALSE(ContextEntriesPresent(kCopyToClsid, L""));
  EXPECT_FALSE(ContextEntriesPresent(L"", kMoveToClsid));
  EXPECT_FALSE(ContextEntriesPresent(kMoveToClsid, kCopyToClsid)) << "each key its own handler";
}

TEST(Switches, TheMessageTellsWhichRowsFailed) {
  EXPECT_EQ(ApplyResultText({}), L"设置完成！其中部分功能只有重新启动电脑才会有效……    ");
  std::wstring text = ApplyResultText({4, 7});
  EXPECT_EQ(text.find(L"设置完成"), std::wstring::npos) << "no success claimed";
  EXPECT_NE(text.find(L"4  禁止 Autorun 病毒自动运行（除了光驱以外）"), std::wstring::npos);
  EXPECT_NE(text.find(L"7  给鼠标右键增加 【复制到…】 以及 【移动到…】 的浮动菜单"), std::wstring::npos);
  EXPECT_EQ(text.find(L"6  "), std::wstring::npos);
}
