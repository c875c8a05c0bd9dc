// The start-up monitor against the real registry: scratch keys under HKEY_CURRENT_USER (and one under
// HKEY_LOCAL_MACHINE for its two views) stand in for the start-up locations.
#include "guard/monitors/win/startup_monitor.h"

#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/startup_backup.h"
#include "guard/monitors/win/testing/scratch_keys.h"
#include "guard/guard_state.h"

using namespace zorvix;
using zorvix::test_support::ScratchKeys;

namespace {

std::vector<RunValue> ListAll(RegRoot root, const std::wstring& key, RegView view) {
  std::vector<RunValue> v;
  ListRunValues(root, key, view, [&](const RunValue& r) { v.push_back(r); });
  return v;
}

const RunValue* Named(const std::vector<RunValue>& v, const std::wstring& name) {
  for (const RunValue& r : v)
    if (r.name == name) return &r;
  return nullptr;
}

struct Asked {
  std::wstring program, location;
};

class MonitorFixture : public testing::Test {
 protected:
  void SetUp() override { Guard() = GuardState{}; }
  StartupMonitor& Monitor(std::vector<WatchedLocation> locations) {
    monitor = std::make_unique<StartupMonitor>(std::move(locations));
    monitor->SetHooks({[this](const std::wstring& p) { return common::EqualsNoCase(p, trustedProgram); },
                       [this] { return allowList; },
                       [this](const StartupItem& item, const std::wstring& program) {
                         asked.push_back({program, item.location});
                         Guard().askWindowOpen.Raise();  // as the dialog does
                       }});
    return *monitor;
  }
  ScratchKeys keys;
  std::unique_ptr<StartupMonitor> monitor;
  std::vector<Asked> asked;
  std::wstring allowList, trustedProgram = L"C:\\trusted\\signed.exe";
};

}  // namespace

TEST(RunValues, EveryTypeAndNameIsListed) {
  ScratchKeys keys;
  keys.SetText(L"Run", L"plain", L"C:\\Apps\\Tool.exe -s\0ignored");
  keys.SetText(L"Run", L"expand", L"%WINDIR%\\evil.exe", REG_EXPAND_SZ);
  keys.SetText(L"Run", L"bare", L"notepad.exe");
  keys.SetText(L"Run", L"", L"C:\\default.exe");
  DWORD five = 5;
  keys.Set(L"Run", L"number", REG_DWORD, &five, 4);
  const BYTE bytes[] = {0xDE, 0xAD};
  keys.Set(L"Run", L"bytes", REG_BINARY, bytes, 2);
  const std::wstring longName(300, L'n');
  keys.SetText(L"Run", longName, L"C:\\long\\name.exe");

  auto v = ListAll(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native);
  ASSERT_EQ(v.size(), 7u);
  ASSERT_TRUE(Named(v, L"plain"));
  EXPECT_EQ(Named(v, L"plain")->data, L"C:\\Apps\\Tool.exe -s");
  EXPECT_EQ(Named(v, L"plain")->location, common::ToLower(L"HKEY_CURRENT_USER\\" + keys.Key(L"Run") + L"\\plain"));
  EXPECT_EQ(Named(v, L"expand")->program, common::GetWindowsFolder() + L"\\evil.exe");
  EXPECT_EQ(Named(v, L"bare")->program, common::GetWindowsFolder() + L"\\notepad.exe");
  ASSERT_TRUE(Named(v, L""));
  EXPECT_TRUE(Named(v, L"")->location.ends_with(L"\\run\\(预设值)"));
  EXPECT_EQ(Named(v, L"number")->data, L"5");
  EXPECT_EQ(Named(v, L"bytes")->data, L"DE AD ");
  ASSERT_TRUE(Named(v, longName)) << "a name longer than 255 characters";
  EXPECT_EQ(Named(v, longName)->program, L"C:\\long\\name.exe");
  EXPECT_TRUE(ListAll(RegRoot::CurrentUser, keys.Key(L"Missing"), RegView::Native).empty());
}

TEST(RunValues, MachineValuesAreReadAndDeletedInTheViewTheyCameFrom) {
  ScratchKeys keys(HKEY_LOCAL_MACHINE);
  keys.SetText(L"Run", L"same", L"C:\\x64\\native.exe");
  keys.SetText(L"Run", L"same", L"C:\\x86\\thirtytwo.exe", REG_SZ, KEY_WOW64_32KEY);
  std::vector<RunValue> all;
  ListStartupValues({{RegRoot::LocalMachine, keys.Key(L"Run")}}, [&](const RunValue& r) { all.push_back(r); });
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].view, RegView::Native);
  EXPECT_EQ(all[0].program, L"C:\\x64\\native.exe");
  EXPECT_EQ(all[1].view, RegView::Wow32);
  EXPECT_EQ(all[1].program, L"C:\\x86\\thirtytwo.exe");
  EXPECT_NE(all[1].location.find(L"hkey_local_machine\\software\\wow6432node\\zorvixtest\\"), std::wstring::npos);

  suite::TempDir folder;
  EXPECT_EQ(DeleteStartValue(RegRoot::LocalMachine, keys.Key(L"Run"), RegView::Wow32, L"same",
                             StartupBackupPath(folder.wpath())),
            StartDelete::Deleted);
  auto native = ListAll(RegRoot::LocalMachine, keys.Key(L"Run"), RegView::Native);
  ASSERT_EQ(native.size(), 1u) << "the other view keeps its value";
  EXPECT_EQ(native[0].program, L"C:\\x64\\native.exe");
  EXPECT_TRUE(ListAll(RegRoot::LocalMachine, keys.Key(L"Run"), RegView::Wow32).empty());
}

TEST_F(MonitorFixture, SixtyValuesAreAllQueuedAndAskedFromTheLast) {
  for (int i = 0; i < 60; ++i)
    keys.SetText(L"Run", L"v" + std::to_wstring(i), L"C:\\apps\\program" + std::to_wstring(i) + L".exe /x");
  StartupMonitor& m = Monitor({{RegRoot::CurrentUser, keys.Key(L"Run")}});
  m.readregstart();
  EXPECT_EQ(m.queue().size(), 60u);
  auto listed = ListAll(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native);
  ASSERT_EQ(listed.size(), 60u);
  m.AskStep();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].location, listed.back().location) << "the last value read is asked first";
  m.AskStep();
  EXPECT_EQ(asked.size(), 1u) << "nothing more while the dialog is open";
  int rounds = 0;
  while (!m.queue().empty() && rounds++ < 100) {
    Guard().askWindowOpen.Lower();
    m.AskStep();
  }
  ASSERT_EQ(asked.size(), 60u);
  for (size_t i = 0; i < 60; ++i) EXPECT_EQ(asked[i].location, listed[59 - i].location);
}

TEST_F(MonitorFixture, TrustedAllowedShortAndOwnValuesAreSkipped) {
  keys.SetText(L"Run", L"trusted", L"\"" + trustedProgram + L"\" -min");
  keys.SetText(L"Run", L"self", L"\"" + common::ToUpper(common::ExePath()) + L"\" 2");
  keys.SetText(L"Run", L"short", L"C:\\a.b");
  keys.SetText(L"Run", L"allowed", L"C:\\apps\\allowed.exe");
  keys.SetText(L"Run", L"allowe", L"C:\\apps\\prefix.exe");
  keys.SetText(L"Run", L"odd", L"C:\\hkey-dir\\run-hkey_local_machine.exe -hkey_current_user");
  StartupMonitor& m = Monitor({{RegRoot::CurrentUser, keys.Key(L"Run")}});
  const std::wstring base = common::ToLower(L"HKEY_CURRENT_USER\\" + keys.Key(L"Run") + L"\\");
  allowList = L";" + base + L"allowed";
  m.readregstart();
  while (!m.queue().empty()) {
    Guard().askWindowOpen.Lower();
    m.AskStep();
  }
  ASSERT_EQ(asked.size(), 2u);
  // "allowe" is a prefix of an allowed entry, which allows nothing.
  std::vector<std::wstring> locations{asked[0].location, asked[1].location};
  std::sort(locations.begin(), locations.end());
  EXPECT_EQ(locations, (std::vector<std::wstring>{base + L"allowe", base + L"odd"}));
  for (const Asked& a : asked)
    if (a.location == base + L"odd") {
      EXPECT_EQ(a.program, L"C:\\hkey-dir\\run-hkey_local_machine.exe") << "program and location stay apart";
    }
}

TEST_F(MonitorFixture, ANewReadingReplacesTheQueue) {
  keys.SetText(L"Run", L"a", L"C:\\apps\\first.exe");
  StartupMonitor& m = Monitor({{RegRoot::CurrentUser, keys.Key(L"Run")}});
  m.readregstart();
  m.readregstart();
  EXPECT_EQ(m.queue().size(), 1u);
}

TEST_F(MonitorFixture, AChangedKeyIsNoticedAndAKeyCreatedLaterIsWatched) {
  keys.SetText(L"Run", L"a", L"C:\\apps\\first.exe");
  StartupMonitor& m = Monitor({{RegRoot::CurrentUser, keys.Key(L"Run")}, {RegRoot::CurrentUser, keys.Key(L"Later")}});
  EXPECT_FALSE(m.KeysChanged());
  keys.SetText(L"Run", L"b", L"C:\\apps\\second.exe");
  bool seen = false;
  for (int i = 0; i < 50 && !seen; ++i, Sleep(20)) seen = m.KeysChanged();
  EXPECT_TRUE(seen);
  EXPECT_FALSE(m.KeysChanged()) << "told once";
  keys.SetText(L"Later", L"c", L"C:\\apps\\third.exe");
  EXPECT_TRUE(m.KeysChanged());
  keys.SetText(L"Later", L"d", L"C:\\apps\\fourth.exe");
  seen = false;
  for (int i = 0; i < 50 && !seen; ++i, Sleep(20)) seen = m.KeysChanged();
  EXPECT_TRUE(seen) << "the new key is watched from then on";
}
