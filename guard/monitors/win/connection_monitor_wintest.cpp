// The connection monitor with real programs (frozen, resumed, ended), the real settings store and the
// real ask dialogs; only the TCP table is given, since Wine names no owning process.
#include <gtest/gtest.h>

#include <set>

#include "common/testing/temp_dir.h"
#include "common/text.h"
#include "common/testing/win/text_files.h"
#include "common/win/settings_store.h"
#include "guard/monitors/win/connection_monitor.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/monitors/win/testing/tcp_table_double.h"
#include "guard/monitors/win/testing/window_child.h"
#include "guard/guard_state.h"

using namespace zorvix;
using test_support::TcpTableDouble;
using test_support::WindowChild;

namespace {

constexpr wchar_t kSection[] = L"FireWallTest";

class MonitorTest : public testing::Test {
 protected:
  void SetUp() override {
    Guard() = GuardState{};
    store.Clear();
    SetCursorPos(0, 0);
    ConnectionMonitor::Hooks h;
    h.isTrusted = [this](const std::wstring& path) { return trusted.count(common::ToLower(path)) > 0; };
    h.askHooks = [] {
      AskHooks a;
      a.fileInfo = [](std::wstring& path) { return path; };
      return a;
    };
    h.cannotDrop = [this](const std::wstring& text) { notices.push_back(text); };
    monitor.SetHooks(h);
  }
  void TearDown() override {
    Formask::UnloadAll();
    store.Clear();
  }
  // A program of its own, in the test's folder.
  std::wstring Exe(const std::wstring& name) { return test_support::CopyOfChild(dir.wpath() + L"\\" + name); }
  std::wstring Value(const std::wstring& key) { return store.Get(key).value_or(L"(absent)"); }
  Formask* DialogOf(const std::wstring& path) {
    for (Formask* d : Formask::OpenDialogs())
      if (common::EqualsNoCase(d->subject().FilePath, path)) return d;
    return nullptr;
  }

  suite::TempDir dir;
  TcpTableDouble table;
  SettingsSection store{kGuardApp, kSection};
  ConnectionMonitor monitor{table, store};
  std::set<std::wstring> trusted;
  std::vector<std::wstring> notices;
};

}  // namespace

TEST_F(MonitorTest, ABlockedProgramLosesItsConnectionAndBothCountersGrow) {
  std::wstring exe = Exe(L"blocked.exe");
  WindowChild p(L"mon-blocked", exe);
  monitor.AddProgram(exe, 0);
  monitor.UpdatePrograms();
  TcpRow row = TcpTableDouble::Connection(p.pid(), 50001);
  table.rows = {row};
  table.answer = DropResult::NeedsAdmin;  // the guard runs without administrator rights
  monitor.Poll();
  ASSERT_EQ(table.dropped.size(), 1u);
  EXPECT_EQ(table.dropped[0], row);
  EXPECT_EQ(Value(L"1Attempts"), L"1");
  EXPECT_EQ(Value(L"1Blocks"), L"1");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], CannotDropText(exe, DropResult::NeedsAdmin, false));
  EXPECT_TRUE(Formask::OpenDialogs().empty());

  table.rows.push_back(TcpTableDouble::Connection(0, 50002));  // the rows changed; its connection is still there
  monitor.Poll();
  EXPECT_EQ(table.dropped.size(), 2u);
  EXPECT_EQ(Value(L"1Attempts"), L"2");
  EXPECT_EQ(Value(L"1Blocks"), L"2");
  EXPECT_EQ(notices.size(), 1u) << "said once";
  EXPECT_TRUE(p.Responds()) << "a blocked program is not frozen";
}

TEST_F(MonitorTest, AnAllowedProgramIsCountedOnceUntilTheTableChanges) {
  std::wstring exe = Exe(L"allowed.exe");
  WindowChild p(L"mon-allowed", exe);
  monitor.AddProgram(exe, 1);
  monitor.UpdatePrograms();
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  monitor.Poll();
  EXPECT_EQ(Value(L"1Attempts"), L"1");
  EXPECT_TRUE(monitor.RunAllowList().Contains(exe));
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 50002));
  monitor.Poll();
  EXPECT_EQ(Value(L"1Attempts"), L"1") << "skipped for the rest of the run";
  EXPECT_EQ(monitor.scans(), 2u);

  monitor.AddProgram(Exe(L"other.exe"), 1);
  EXPECT_FALSE(monitor.RunAllowList().Contains(exe));
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 50003));
  monitor.Poll();
  EXPECT_EQ(Value(L"1Attempts"), L"2") << "counted again, once, after the run list was emptied";
  EXPECT_EQ(Value(L"1Blocks"), L"(absent)");
  EXPECT_TRUE(table.dropped.empty());
}

TEST_F(MonitorTest, AnUnchangedTableIsNotScannedAgain) {
  std::wstring exe = Exe(L"unchanged.exe");
  WindowChild p(L"mon-unchanged", exe);
  trusted.insert(common::ToLower(exe));
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  for (int i = 0; i < 5; ++i) monitor.Poll();
  EXPECT_EQ(table.fetches, 5);
  EXPECT_EQ(monitor.scans(), 1u);
}

TEST_F(MonitorTest, ListeningRowsAreNeverExaminedNorListed) {
  WindowChild p(L"mon-listen", Exe(L"listener.exe"));
  table.rows = {TcpTableDouble::Connection(p.pid(), 8080, 0, 0, kTcpListen)};
  table.rows[0].remoteAddr = {};
  monitor.Poll();
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(p.Responds());
  EXPECT_TRUE(monitor.ListConnections().empty());
}

TEST_F(MonitorTest, AnUnknownProgramIsFrozenAskedOnceAndResumedWhenAnswered) {
  std::wstring exe = Exe(L"unknown.exe");
  WindowChild p(L"mon-unknown", exe);
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001), TcpTableDouble::Connection(p.pid(), 50002)};
  monitor.Poll();
  ASSERT_EQ(Formask::OpenDialogs().size(), 1u) << "one dialog for the program, not one per connection";
  EXPECT_TRUE(p.Frozen());
  EXPECT_TRUE(monitor.CurrentProcessing().Contains(exe));
  EXPECT_EQ(Value(L"ProgramCount"), L"(absent)");

  monitor.Poll();  // an open dialog holds the polls
  EXPECT_EQ(monitor.scans(), 1u);

  Formask* d = DialogOf(exe);
  ASSERT_NE(d, nullptr);
  d->SetChk(true);
  d->Command1Click();
  EXPECT_TRUE(p.Responds());
  EXPECT_FALSE(monitor.CurrentProcessing().Contains(exe));
  ASSERT_NE(monitor.programs().Find(exe), nullptr) << "the table is read again when the dialog closes";
  EXPECT_EQ(monitor.programs().Find(exe)->Status, kAllowed);
  EXPECT_EQ(Value(L"1Status"), L"1");
}

TEST_F(MonitorTest, TwoDialogsEachResumeAndDropTheirOwn) {
  std::wstring exeA = Exe(L"first.exe"), exeB = Exe(L"second.exe");
  WindowChild a(L"mon-two-a", exeA), b(L"mon-two-b", exeB);
  TcpRow rowA = TcpTableDouble::Connection(a.pid(), 50001, 1), rowB = TcpTableDouble::Connection(b.pid(), 50002, 2);
  table.rows = {rowA, rowB};
  monitor.Poll();
  ASSERT_EQ(Formask::OpenDialogs().size(), 2u);
  DialogOf(exeA)->Command3Click();
  EXPECT_TRUE(a.Responds());
  EXPECT_TRUE(b.Frozen());

  // Polls run again while B's dialog is open only once it closes; meanwhile the table changes.
  table.rows = {TcpTableDouble::Connection(a.pid(), 50003, 3)};
  monitor.Poll();
  EXPECT_EQ(monitor.scans(), 1u);
  DialogOf(exeB)->Command2Click();
  ASSERT_EQ(table.dropped.size(), 1u);
  EXPECT_EQ(table.dropped[0], rowB) << "B's dialog drops B's own connection";
  EXPECT_TRUE(b.child.WaitExit(5000));
  EXPECT_TRUE(a.child.Running());
  EXPECT_TRUE(a.Responds());
}

TEST_F(MonitorTest, ARowReplacedAtTheSameCountIsExamined) {
  std::wstring known = Exe(L"known.exe"), newcomer = Exe(L"newcomer.exe");
  WindowChild k(L"mon-known", known), n(L"mon-newcomer", newcomer);
  trusted.insert(common::ToLower(known));
  table.rows = {TcpTableDouble::Connection(k.pid(), 50001)};
  monitor.Poll();
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  table.rows = {TcpTableDouble::Connection(n.pid(), 50001)};
  monitor.Poll();
  EXPECT_NE(DialogOf(newcomer), nullptr);
}

TEST_F(MonitorTest, TheCountdownDropsEndsAndRecordsNothing) {
  std::wstring exe = Exe(L"late.exe");
  WindowChild p(L"mon-late", exe);
  TcpRow row = TcpTableDouble::Connection(p.pid(), 50001);
  table.rows = {row};
  monitor.Poll();
  Formask* d = DialogOf(exe);
  ASSERT_NE(d, nullptr);
  uint64_t t = GetTickCount64();
  for (int i = 1; i <= 21 && !Formask::OpenDialogs().empty(); ++i) d->Timer1Tick(t + i * 1200);
  EXPECT_TRUE(p.child.WaitExit(5000));
  EXPECT_EQ(table.dropped, std::vector<TcpRow>{row});
  EXPECT_EQ(Value(L"ProgramCount"), L"(absent)");
  EXPECT_FALSE(monitor.CurrentProcessing().Contains(exe));
}

TEST_F(MonitorTest, WithTheFirewallOffNothingIsPolledCountedOrDropped) {
  std::wstring exe = Exe(L"blocked-off.exe");
  WindowChild p(L"mon-off", exe);
  monitor.AddProgram(exe, 0);
  monitor.UpdatePrograms();
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  Guard().firewallEnabled = false;
  monitor.Poll();
  EXPECT_EQ(table.fetches, 0);
  EXPECT_EQ(Value(L"1Attempts"), L"(absent)");
  EXPECT_TRUE(table.dropped.empty());
}

TEST_F(MonitorTest, TrustedProgramsTheIdleProcessAndTheGuardItselfAreNeverAsked) {
  std::wstring exe = Exe(L"signed.exe");
  WindowChild p(L"mon-trusted", exe);
  trusted.insert(common::ToLower(exe));
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001), TcpTableDouble::Connection(0, 50002),
                TcpTableDouble::Connection(GetCurrentProcessId(), 50003)};
  monitor.Poll();
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(monitor.RunAllowList().Contains(exe));
  EXPECT_EQ(Value(L"ProgramCount"), L"(absent)");
}

TEST_F(MonitorTest, IPv6ConnectionsGoThroughTheSameTable) {
  std::wstring exe = Exe(L"six.exe");
  WindowChild p(L"mon-six", exe);
  TcpRow row = TcpTableDouble::Connection6(p.pid(), 50001);
  table.rows = {row};
  monitor.Poll();
  Formask* d = DialogOf(exe);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->subject().connection, row);
  EXPECT_TRUE(p.Frozen());
  auto listed = monitor.ListConnections();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_TRUE(common::EqualsNoCase(listed[0].owner.path, exe));
  d->SetChk(true);
  d->Command2Click();
  EXPECT_EQ(table.dropped.size(), 1u);
  EXPECT_EQ(Value(L"1Status"), L"0");
}

TEST_F(MonitorTest, AProgramInAPathOutsideTheCodePageIsExamined) {
  std::wstring exe = Exe(L"프로그램 ✓\\ελληνικά.exe");
  WindowChild p(L"mon-wide", exe);
  ASSERT_TRUE(p.child.started());
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  monitor.Poll();
  ASSERT_EQ(Formask::OpenDialogs().size(), 1u);
  EXPECT_EQ(Formask::OpenDialogs()[0]->subject().FilePath, exe);
}

TEST_F(MonitorTest, ATableThatCannotBeReadIsSkipped) {
  table.failing = true;
  table.rows = {TcpTableDouble::Connection(1234, 50001)};
  monitor.Poll();
  EXPECT_EQ(monitor.scans(), 0u);
}

// Under 260 characters, but over 260 bytes in the ANSI code page: an ANSI module name would be cut.
TEST_F(MonitorTest, AProgramWhosePathIsLongInTheCodePageIsExamined) {
  std::wstring folder = dir.wpath();
  while (folder.size() < 200) {
    folder += L"\\长路径的文件夹名称长路径的文件夹名称";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  }
  std::wstring exe = Exe(folder.substr(dir.wpath().size() + 1) + L"\\深.exe");
  ASSERT_GT(suite::Ansi(exe).size(), 260u);
  WindowChild p(L"mon-deep", exe);
  ASSERT_TRUE(p.child.started());
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  monitor.Poll();
  ASSERT_EQ(Formask::OpenDialogs().size(), 1u);
  EXPECT_EQ(Formask::OpenDialogs()[0]->subject().FilePath, exe);
}

TEST_F(MonitorTest, AnEntryOfTheRunListDoesNotPassAProgramWhosePathStartsIt) {
  std::wstring listed = Exe(L"a.exe.old\\b.exe"), other = Exe(L"a.exe");
  WindowChild b(L"mon-prefix-b", listed), a(L"mon-prefix-a", other);
  trusted.insert(common::ToLower(listed));
  table.rows = {TcpTableDouble::Connection(b.pid(), 50001)};
  monitor.Poll();
  ASSERT_TRUE(monitor.RunAllowList().Contains(listed));
  EXPECT_FALSE(monitor.RunAllowList().Contains(other));
  table.rows.push_back(TcpTableDouble::Connection(a.pid(), 50002));
  monitor.Poll();
  EXPECT_NE(DialogOf(other), nullptr);
}

TEST_F(MonitorTest, ARowSkippedInAPollLeavesNothingOfTheLastPoll) {
  std::wstring exe = Exe(L"gone.exe");
  WindowChild p(L"mon-gone", exe);
  monitor.AddProgram(exe, 0);
  monitor.UpdatePrograms();
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001)};
  monitor.Poll();
  ASSERT_EQ(table.dropped.size(), 1u);
  TcpRow empty;  // where the dropped connection was, an empty row of this poll
  table.rows = {empty, TcpTableDouble::Connection(0, 50002)};
  monitor.Poll();
  EXPECT_EQ(table.dropped.size(), 1u) << "no connection of the last poll is acted on again";
  EXPECT_EQ(Value(L"1Attempts"), L"1");
}

TEST_F(MonitorTest, RowsBeyondTwoThousandAreExamined) {
  std::wstring exe = Exe(L"late-row.exe");
  WindowChild p(L"mon-many", exe);
  for (int i = 0; i < 2400; ++i) table.rows.push_back(TcpTableDouble::Connection(0, uint16_t(10000 + i)));
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 60000));
  monitor.Poll();
  EXPECT_NE(DialogOf(exe), nullptr);
}

TEST_F(MonitorTest, APortFieldOf80IsNoRuleOfItsOwn) {
  std::wstring exe = Exe(L"web.exe");
  WindowChild p(L"mon-port", exe);
  trusted.insert(common::ToLower(exe));
  TcpRow row = TcpTableDouble::Connection(p.pid(), 50001);
  row.remotePort = 80;  // port 20480 as the system stores it
  table.rows = {row};
  monitor.Poll();
  EXPECT_TRUE(table.dropped.empty());
}

// "本次允许" holds while that process runs: neither the connection going on to "ESTABLISHED" nor a new
// connection of the same process freezes and asks it again.
TEST_F(MonitorTest, AProgramAllowedOnceStaysAllowedWhileTheSameProcessRuns) {
  std::wstring exe = Exe(L"once.exe");
  WindowChild p(L"mon-once", exe);
  TcpRow row = TcpTableDouble::Connection(p.pid(), 50001, 1, 80, 3);  // SYN_SENT
  table.rows = {row};
  monitor.Poll();
  ASSERT_NE(DialogOf(exe), nullptr);
  DialogOf(exe)->Command3Click();
  ASSERT_TRUE(p.Responds());
  table.rows[0].state = 5;  // ESTABLISHED
  monitor.Poll();
  EXPECT_EQ(monitor.scans(), 1u) << "a change of state alone is no new connection";
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 50002));
  monitor.Poll();
  EXPECT_EQ(monitor.scans(), 2u);
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(p.Responds());
  EXPECT_EQ(Value(L"ProgramCount"), L"(absent)") << "nothing stored";

  WindowChild again(L"mon-once-2", exe);  // the same program, another process: asked again
  table.rows.push_back(TcpTableDouble::Connection(again.pid(), 50003));
  monitor.Poll();
  EXPECT_NE(DialogOf(exe), nullptr);
}

// "断开网络": every connection of every program but the guard goes, counted, and a connection that stays
// is told.
TEST_F(MonitorTest, TheNetworkCutDropsEveryConnectionButTheGuardsOwn) {
  std::wstring exe = Exe(L"cut.exe");
  WindowChild p(L"mon-cut", exe);
  trusted.insert(common::ToLower(exe));
  TcpRow mine = TcpTableDouble::Connection(GetCurrentProcessId(), 50003);
  table.rows = {TcpTableDouble::Connection(p.pid(), 50001), TcpTableDouble::Connection(p.pid(), 50002), mine};
  monitor.Poll();
  ASSERT_TRUE(table.dropped.empty()) << "a trusted program passes";
  monitor.SetNetworkCut(true);
  monitor.Poll();
  EXPECT_EQ(table.dropped.size(), 2u) << "the connections there already go too";
  EXPECT_EQ(monitor.cutDrops(), 2);
  EXPECT_EQ(table.rows, std::vector<TcpRow>{mine});
  EXPECT_TRUE(Formask::OpenDialogs().empty());

  table.answer = DropResult::NeedsAdmin;
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 50004));
  monitor.Poll();
  EXPECT_EQ(monitor.cutDrops(), 2);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(L"cut.exe"), std::wstring::npos) << notices[0];

  monitor.SetNetworkCut(false);
  table.rows.push_back(TcpTableDouble::Connection(p.pid(), 50005));
  monitor.Poll();
  EXPECT_EQ(table.dropped.size(), 3u) << "nothing more goes once the cut is off";
}

// A change through any view reads the table again at once, so that the counters, stored by number, never
// go to another entry.
TEST_F(MonitorTest, EveryChangeOfTheTableReadsItAgainAndTellsTheViews) {
  int changes = 0;
  ConnectionMonitor::Hooks h;
  h.programsChanged = [&] { ++changes; };
  monitor.SetHooks(h);
  std::wstring a = Exe(L"a.exe"), b = Exe(L"b.exe");
  monitor.AddProgram(a, 0);
  monitor.AddProgram(b, 0);
  EXPECT_EQ(changes, 2);
  ASSERT_NE(monitor.programs().Find(b), nullptr);
  EXPECT_TRUE(monitor.DeleteProgram(1, a));
  EXPECT_EQ(changes, 3);
  ASSERT_NE(monitor.programs().Find(b), nullptr);
  EXPECT_EQ(monitor.programs().Find(b)->number, 1);
  EXPECT_FALSE(monitor.DeleteProgram(1, a)) << "gone: b, now number 1, stays";
  EXPECT_NE(monitor.programs().Find(b), nullptr);
}
