// The start-up monitor's rules: locations, value texts, the queue, whole-entry matching and the skip rules;
// and the program path of start-up command lines.
#include "guard/monitors/startup_monitor.h"

#include <gtest/gtest.h>

#include "guard/process/process_rules.h"

using namespace zorvix;

TEST(StartupMonitor, ElevenLocationsMachineFirstThenUserThenTheShellPolicy) {
  const auto& w = WatchedLocations();
  ASSERT_EQ(w.size(), 11u);
  EXPECT_EQ(w[0].root, RegRoot::LocalMachine);
  EXPECT_EQ(w[0].key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  EXPECT_EQ(w[2].key, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx");
  EXPECT_EQ(w[4].key, L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices");
  EXPECT_EQ(w[5].root, RegRoot::CurrentUser);
  EXPECT_EQ(w[5].key, w[0].key);
  EXPECT_EQ(w[9].key, w[4].key);
  EXPECT_EQ(w[10].root, RegRoot::CurrentUser);
  EXPECT_EQ(w[10].key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\shell");
}

TEST(StartupMonitor, LocationsAreLowerCaseAndNameTheViewTheyCameFrom) {
  const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  EXPECT_EQ(RunLocation(RegRoot::CurrentUser, run, RegView::Native, L"QQ-Update"),
            L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\qq-update");
  EXPECT_EQ(RunLocation(RegRoot::LocalMachine, run, RegView::Native, L""),
            L"hkey_local_machine\\software\\microsoft\\windows\\currentversion\\run\\(预设值)");
  EXPECT_EQ(RunLocation(RegRoot::LocalMachine, run, RegView::Wow32, L"x"),
            L"hkey_local_machine\\software\\wow6432node\\microsoft\\windows\\currentversion\\run\\x");
  EXPECT_EQ(KeyPathInView(L"System\\x", RegView::Wow32), L"System\\x");
  EXPECT_EQ(RootName(RegRoot::ClassesRoot), L"HKEY_CLASSES_ROOT\\");
  EXPECT_EQ(RootName(RegRoot::Users), L"HKEY_USERS\\");
}

TEST(StartupMonitor, ValuesOfOtherTypesHaveTextForms) {
  EXPECT_EQ(RegDataText(3, {0x00, 0xAB, 0x7f}), L"00 AB 7F ");
  EXPECT_EQ(RegDataText(3, {}), L"");
  EXPECT_EQ(RegDataText(4, {0x10, 0x27, 0, 0}), L"10000");
  EXPECT_EQ(RegDataText(5, {0, 0, 0x27, 0x10}), L"10000");
  EXPECT_EQ(RegDataText(11, {0, 0, 0, 0, 1, 0, 0, 0}), L"4294967296");
  EXPECT_EQ(RegDataText(4, {1}), L"1") << "short data";
  EXPECT_EQ(RegDataText(7, {'a', 0, 0, 0, 'b', 0, 'c', 0, 0, 0, 0, 0}), L"a\r\nbc");
  EXPECT_EQ(RegDataText(7, {'a', 0, 0, 0, 0, 0, 'b', 0, 0, 0}), L"a") << "an empty string ends the list";
  EXPECT_EQ(RegDataText(7, {'a', 0, 'b', 0, 0, 0, 'c', 0, 0, 0}), L"ab\r\nc");
  EXPECT_EQ(RegDataText(1, {'x', 0, 0, 0, 'y', 0}), L"x");
  EXPECT_EQ(RegDataText(1, {'x', 0, 'y'}), L"x") << "an odd byte is dropped";
}

TEST(StartupMonitor, QueueGivesEveryValueFromTheLastBackwards) {
  StartupQueue q;
  for (int i = 0; i < 60; ++i) q.Add({L"p" + std::to_wstring(i), L"l", RegRoot::CurrentUser, RegView::Native, L"", L""});
  EXPECT_EQ(q.size(), 60u);
  EXPECT_EQ(q.TakeLast()->program, L"p59");
  EXPECT_EQ(q.TakeLast()->program, L"p58");
  q.Reset();
  EXPECT_FALSE(q.TakeLast());
}

TEST(StartupMonitor, SkipRules) {
  int trustAsked = 0;
  auto trusted = [&] { return ++trustAsked, true; };
  auto untrusted = [&] { return ++trustAsked, false; };
  const std::wstring loc = L"hkey_current_user\\run\\x";
  EXPECT_EQ(SkipReasonFor(L"a.exe", loc, L"", untrusted), SkipReason::TooShort);
  EXPECT_EQ(SkipReasonFor(L"ab.exe", loc, L"", untrusted), SkipReason::TooShort) << "six characters";
  EXPECT_EQ(trustAsked, 0) << "a short text is not looked up";
  EXPECT_EQ(SkipReasonFor(L"abc.exe", loc, L";" + loc, untrusted), SkipReason::Allowed);
  EXPECT_EQ(SkipReasonFor(L"abc.exe", loc, L";" + loc + L"x", untrusted), SkipReason::None) << "whole entries";
  EXPECT_EQ(SkipReasonFor(L"abc.exe", loc + L"x", L";" + loc, untrusted), SkipReason::None);
  EXPECT_EQ(SkipReasonFor(L"C:\\x\\abc.exe", loc, L"", trusted), SkipReason::Trusted);
  EXPECT_EQ(SkipReasonFor(L"C:\\x\\abc.exe", loc, L"", nullptr), SkipReason::None);
}

TEST(StartupMonitor, RunPathOfStartupCommandLines) {
  EXPECT_EQ(ExtractRunPath(L"\"C:\\Program Files\\QQ\\qq.exe\" -autorun"), L"C:\\Program Files\\QQ\\qq.exe");
  EXPECT_EQ(ExtractRunPath(L"C:\\tools\\up-date.exe /silent -x"), L"C:\\tools\\up-date.exe");
  EXPECT_EQ(ExtractRunPath(L"c:\\hkey\\x-hkey_run.exe -hkey_local_machine"), L"c:\\hkey\\x-hkey_run.exe");
  EXPECT_EQ(ExtractRunPath(L"rundll32.exe C:\\x\\evil.dll,Start"), L"C:\\x\\evil.dll");
  EXPECT_EQ(ExtractRunPath(L"C:\\x\\script.vbs -y"), L"C:\\x\\script.vbs -y");
}
