// The first-run setup against the test prefix's registry, with its writes observed.
#include "guard/startup/win/environment.h"

#include <gtest/gtest.h>

#include "common/win/settings_store.h"
#include "guard/guard_state.h"

using namespace zorvix;

TEST(FirstStart, IsRecordedOnlyOnceEveryValueWasWritten) {
  common::DeleteSettingSection(kGuardApp, L"Setup");
  int writes = 0;
  // A standard user: the machine's keys refuse the write.
  RegWriter standardUser = [&](HKEY root, const std::wstring&, const std::wstring&, const std::wstring&) {
    ++writes;
    return root != HKEY_LOCAL_MACHINE;
  };
  FirstStartIfNeeded(standardUser);
  EXPECT_EQ(writes, 5);
  EXPECT_FALSE(common::QuerySetting(kGuardApp, L"Setup", L"FirstStart")) << "recorded although writes failed";

  writes = 0;
  RegWriter admin = [&](HKEY, const std::wstring&, const std::wstring&, const std::wstring&) {
    ++writes;
    return true;
  };
  FirstStartIfNeeded(admin);
  EXPECT_EQ(writes, 5) << "the next start tries again";
  EXPECT_TRUE(common::QuerySetting(kGuardApp, L"Setup", L"FirstStart"));
  writes = 0;
  FirstStartIfNeeded(admin);
  EXPECT_EQ(writes, 0) << "a first run that succeeded is not repeated";
  common::DeleteSettingSection(kGuardApp, L"Setup");
}
