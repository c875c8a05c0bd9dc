// The ask dialog with real programs frozen and resumed, the real registry and the real list files.
#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/text.h"
#include "common/testing/win/text_files.h"
#include "common/win/code_page.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/testing/window_child.h"

using namespace zorvix;

namespace {

constexpr wchar_t kTestRun[] = L"Software\\ZorvixTest\\Run";

using Program = zorvix::test_support::WindowChild;

TcpRow ConnectionOf(const Program& p) {
  TcpRow r;
  r.state = 5;
  r.remoteAddr = {10, 0, 0, 1};
  r.remotePort = 0x5000;
  r.localPort = 0x3930;
  r.pid = p.child.pid();
  return r;
}

class FormaskTest : public testing::Test {
 protected:
  void SetUp() override {
    Guard() = GuardState{};
    AskLists() = {};
    SetCursorPos(0, 0);  // away from the dialogs, so that their countdowns run
  }
  void TearDown() override {
    Formask::UnloadAll();
    common::DeleteRegKey(HKEY_CURRENT_USER, kTestRun);
  }

  AskHooks Hooks() {
    AskHooks h;
    h.fileInfo = [](std::wstring& path) { return L"文件路径： " + path; };
    h.addProgram = [this](const std::wstring& path, int block) { added.push_back({path, block}); };
    h.dropConnection = [this](const TcpRow& row) { dropped.push_back(row); };
    h.closed = [this](const AskSubject& s, AskAnswer a) { answers.push_back({s.FilePath, a}); };
    h.openFolder = [this](const std::wstring& path) { opened.push_back(path); };
    h.openFile = [this](const std::wstring& path) { opened.push_back(path); };
    h.folder = folder.wpath();
    return h;
  }

  Formask* OpenNetwork(const Program& p, bool freeze = true) {
    AskSubject s;
    s.FilePath = suite::BinFolder() + L"suite_child.exe";
    s.connection = ConnectionOf(p);
    s.process = p.Id();
    return Formask::Open(s, Hooks(), freeze ? FrozenProcess::Freeze(s.process) : nullptr);
  }

  Formask* OpenRegistry(const std::wstring& regpath, const std::wstring& program = L"c:\\nowhere\\tool.exe",
                        ProcessIdentity running = {}) {
    AskSubject s;
    s.mode = AskMode::Registry;
    s.FilePath = program;
    s.regpath = regpath;
    AskHooks h = Hooks();
    h.findProcess = [running](const std::wstring&) { return running; };
    return Formask::Open(s, h);
  }

  // Runs the countdown out with a clock of its own, 1.2 s a tick.
  static void RunOut(Formask* d) {
    uint64_t t = GetTickCount64();
    for (int i = 1; i <= 21 && !Formask::OpenDialogs().empty(); ++i) d->Timer1Tick(t + i * 1200);
  }

  suite::TempDir folder;
  std::vector<std::pair<std::wstring, int>> added;
  std::vector<TcpRow> dropped;
  std::vector<std::pair<std::wstring, AskAnswer>> answers;
  std::vector<std::wstring> opened;
};

}  // namespace

TEST_F(FormaskTest, NetworkModeShowsTheRedQuestionAndFreezesUntilClosed) {
  Program p(L"ask-net-1");
  ASSERT_TRUE(p.Responds());
  common::ui::Window user;  // the window the user works in keeps the focus
  user.Create(L"AskTestUser", L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 200, 100);
  SetForegroundWindow(user.hwnd());
  Formask* d = OpenNetwork(p);
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->frozen());
  EXPECT_TRUE(p.Frozen()) << "its threads are suspended while the user decides";
  EXPECT_EQ(common::ui::WindowText(d->hwnd()), L"网络防火墙  -  可疑程序监控");
  EXPECT_EQ(common::ui::WindowText(d->control(Formask::kTextask)), L"以下程序正在试图连接网络，您是否允许?");
  EXPECT_EQ(common::ui::WindowText(d->label4()), L"还有( 20 )秒钟自动拒绝程序。");
  EXPECT_TRUE(GetWindowLongW(d->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(d->hwnd()));
  EXPECT_EQ(GetForegroundWindow(), user.hwnd()) << "shown without taking the focus";
  EXPECT_FALSE(IsWindowVisible(d->control(Formask::kRunsOn)));
  EXPECT_EQ(d->report(), L"文件路径： " + suite::BinFolder() + L"suite_child.exe");
  EXPECT_TRUE(Guard().askWindowOpen);

  d->Command3Click();
  EXPECT_TRUE(p.Responds());
  EXPECT_FALSE(Guard().askWindowOpen);
  EXPECT_TRUE(added.empty());
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].second, AskAnswer::Allowed);
}

TEST_F(FormaskTest, EveryWayOfClosingWithoutEndingResumesTheProgram) {
  struct Way {
    const char* name;
    std::function<void(Formask*)> close;
    AskAnswer answer;
  };
  std::vector<Way> ways = {
      {"allow", [](Formask* d) { d->Command1Click(); }, AskAnswer::Allowed},
      {"close box", [](Formask* d) { SendMessageW(d->hwnd(), WM_CLOSE, 0, 0); }, AskAnswer::Closed},
      {"escape", [](Formask* d) { SendMessageW(d->hwnd(), WM_COMMAND, IDCANCEL, 0); }, AskAnswer::Closed},
      {"delete cancelled",
       [](Formask* d) {
         suite::MsgBoxAnswers no(IDCANCEL);
         d->CmdClick(2);
       },
       AskAnswer::Closed},
      {"unload", [](Formask*) { Formask::UnloadAll(); }, AskAnswer::Closed},
      {"destroyed", [](Formask* d) { DestroyWindow(d->hwnd()); }, AskAnswer::Closed},
  };
  for (auto& way : ways) {
    Program p(L"ask-way");
    Formask* d = OpenNetwork(p);
    ASSERT_NE(d, nullptr) << way.name;
    ASSERT_TRUE(p.Frozen()) << way.name;
    size_t before = answers.size();
    way.close(d);
    EXPECT_TRUE(Formask::OpenDialogs().empty()) << way.name;
    EXPECT_TRUE(p.Responds()) << way.name;
    EXPECT_TRUE(p.child.Running()) << way.name;
    EXPECT_EQ(FrozenProcess::Count(), 0) << way.name;
    EXPECT_FALSE(Guard().askWindowOpen) << way.name;
    ASSERT_EQ(answers.size(), before + 1) << way.name << ": the opener hears of each close once";
    EXPECT_EQ(answers.back().second, way.answer) << way.name;
  }
  EXPECT_TRUE(added.empty());
  EXPECT_TRUE(dropped.empty());
}

TEST_F(FormaskTest, TwoDialogsEachResumeTheirOwnProgram) {
  Program a(L"ask-two-a"), b(L"ask-two-b");
  Formask* da = OpenNetwork(a);
  Formask* db = OpenNetwork(b);
  ASSERT_TRUE(da && db);
  EXPECT_EQ(Guard().askWindowOpen.count(), 2);
  da->Command3Click();
  EXPECT_TRUE(a.Responds());
  EXPECT_TRUE(b.Frozen()) << "the other program stays frozen until its own dialog closes";
  EXPECT_TRUE(Guard().askWindowOpen) << "polls must still wait for the open dialog";
  db->Command2Click();
  EXPECT_TRUE(b.child.WaitExit(5000));
  EXPECT_TRUE(a.child.Running());
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0], ConnectionOf(b)) << "the dialog drops its own connection";
  EXPECT_FALSE(Guard().askWindowOpen);
}

TEST_F(FormaskTest, AllowAndDenyWithTheTickStoreTheDecision) {
  Program a(L"ask-tick-a"), b(L"ask-tick-b");
  Formask* da = OpenNetwork(a);
  da->SetChk(true);
  da->Command1Click();
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].second, 1);
  EXPECT_TRUE(a.Responds());
  EXPECT_EQ(answers.back().second, AskAnswer::AllowedAlways);

  Formask* db = OpenNetwork(b);
  db->SetChk(true);
  db->Command2Click();
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[1].second, 0);
  EXPECT_EQ(dropped.size(), 1u);
  EXPECT_TRUE(b.child.WaitExit(5000));
  EXPECT_EQ(answers.back().second, AskAnswer::DeniedAlways);
}

TEST_F(FormaskTest, ThisTimeOnlyIgnoresTheTick) {
  Program p(L"ask-once");
  Formask* d = OpenNetwork(p);
  d->SetChk(true);
  d->Command3Click();
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(answers.back().second, AskAnswer::Allowed);
}

TEST_F(FormaskTest, CountdownRunningOutDropsEndsAndRecordsNothing) {
  Program p(L"ask-timeout");
  Formask* d = OpenNetwork(p);
  d->SetChk(true);  // a lasting decision comes only from a click
  RunOut(d);
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(p.child.WaitExit(5000));
  EXPECT_EQ(dropped.size(), 1u);
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(answers.back().second, AskAnswer::TimedOut);
}

TEST_F(FormaskTest, CountdownStepsAndPauses) {
  Program p(L"ask-steps");
  Formask* d = OpenNetwork(p);
  int bar0 = [&] {
    RECT r;
    GetWindowRect(d->label6(), &r);
    return int(r.right - r.left);
  }();
  uint64_t t = GetTickCount64();
  d->Timer1Tick(t + 1200);
  EXPECT_EQ(common::ui::WindowText(d->label4()), L"还有( 19 )秒钟自动拒绝程序。");
  RECT r;
  GetWindowRect(d->label6(), &r);
  EXPECT_EQ(r.right - r.left, common::ui::Twips(d->hwnd(), 19 * 110));
  EXPECT_LT(r.right - r.left, bar0);
  d->Image1Click();
  for (int i = 2; i < 40; ++i) d->Timer1Tick(t + i * 1200);
  EXPECT_EQ(Formask::OpenDialogs().size(), 1u) << "after the pause the dialog waits for the user";
  EXPECT_EQ(d->countdown().secondsLeft(), 19);
}

TEST_F(FormaskTest, PointerOverTheDialogHoldsTheCount) {
  Program p(L"ask-hold");
  Formask* d = OpenNetwork(p);
  RECT r;
  GetWindowRect(d->hwnd(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  POINT at;
  GetCursorPos(&at);
  if (at.x != (r.left + r.right) / 2) GTEST_SKIP() << "the display does not move the pointer";
  uint64_t t = GetTickCount64();
  for (int i = 1; i < 30; ++i) d->Timer1Tick(t + i * 1200);
  EXPECT_EQ(d->countdown().secondsLeft(), 20);
  EXPECT_FALSE(IsWindowVisible(d->label4()));
  SetCursorPos(0, 0);
  d->Timer1Tick(t + 40 * 1200);
  EXPECT_EQ(d->countdown().secondsLeft(), 19);
  EXPECT_TRUE(IsWindowVisible(d->label4()));
}

TEST_F(FormaskTest, ATrustedOrCriticalProgramRunsOnAndTheDialogSaysSo) {
  Program p(L"ask-unfrozen");
  Formask* d = OpenNetwork(p, false);
  EXPECT_TRUE(p.Responds());
  EXPECT_TRUE(IsWindowVisible(d->control(Formask::kRunsOn)));
  EXPECT_FALSE(FrozenProcess::Freeze({GetCurrentProcessId(), 0})) << "the guard never freezes itself";
  EXPECT_FALSE(FrozenProcess::Freeze({4, 0}));
  EXPECT_FALSE(FrozenProcess::Freeze({0, 0}));
  EXPECT_FALSE(FrozenProcess::Freeze({p.child.pid(), 12345})) << "another process that had this id";
}

TEST_F(FormaskTest, EndProgramAndModuleListNeedARunningProgram) {
  suite::MsgBoxAnswers box;
  Formask* d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\tool");
  d->CmdendClick();
  d->CmdClick(1);
  ASSERT_EQ(box.shown().size(), 2u);
  EXPECT_EQ(box.shown()[0].text, L"目前该程序还没有启动……    ");
  EXPECT_EQ(box.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONINFORMATION));
  EXPECT_EQ(box.shown()[1].text, L"对不起，目前该程序还没有启动……    ");
  EXPECT_EQ(Formask::OpenDialogs().size(), 1u) << "the dialog stays open";

  Program p(L"ask-modules");
  Formask* running = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\x", L"c:\\x.exe", p.Id());
  running->CmdClick(1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], folder.wpath() + L"\\info.txt");
  auto info = suite::ReadText(opened[0]);
  ASSERT_TRUE(info);
  auto lines = common::SplitLines(*info);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"该文件模块信息如下：");
  EXPECT_TRUE(common::EndsWithNoCase(lines[1], L"suite_child.exe"));
  running->CmdendClick();
  EXPECT_TRUE(p.child.WaitExit(5000));
  EXPECT_EQ(answers.back().second, AskAnswer::Ended);
}

TEST_F(FormaskTest, DeleteFileEndsTheProgramAndDeletesItsFile) {
  std::wstring exe = folder.wpath() + L"\\待删除 程序.exe";
  ASSERT_TRUE(CopyFileW((suite::BinFolder() + L"suite_child.exe").c_str(), exe.c_str(), FALSE));
  Program p(L"ask-delete", exe);
  ASSERT_TRUE(p.child.Running());
  Formask* d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\del", exe, p.Id());
  suite::MsgBoxAnswers ok(IDOK);
  d->CmdClick(2);
  ASSERT_EQ(ok.shown().size(), 1u);
  EXPECT_EQ(ok.shown()[0].text, L"您确定要删除文件【 " + exe + L" 】吗？    ");
  EXPECT_EQ(ok.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  EXPECT_TRUE(p.child.WaitExit(5000));
  EXPECT_FALSE(common::FileExists(exe));
  EXPECT_EQ(answers.back().second, AskAnswer::FileDeleted);
}

TEST_F(FormaskTest, RegistryModeAsksInBlueAndDenyAlwaysDeletesTheValue) {
  common::WriteRegString(HKEY_CURRENT_USER, kTestRun, L"Tool", L"c:\\tool.exe");
  common::WriteRegString(HKEY_CURRENT_USER, kTestRun, L"Other", L"c:\\other.exe");
  Formask* d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\tool");
  EXPECT_EQ(common::ui::WindowText(d->hwnd()), L"注册表监控  -  可疑程序监控");
  EXPECT_EQ(common::ui::WindowText(d->control(Formask::kTextask)), L"以下程序将在每次开机时都自动运行，您是否允许?");
  d->Command2Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, kTestRun, L"Tool")) << "deleted, ticked or not";
  EXPECT_TRUE(common::QueryRegString(HKEY_CURRENT_USER, kTestRun, L"Other"));
  EXPECT_FALSE(common::FileExists(RegAskFilePath(folder.wpath()))) << "nothing recorded without the tick";

  common::WriteRegString(HKEY_CURRENT_USER, kTestRun, L"Tool", L"c:\\tool.exe");
  d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\tool");
  d->SetChk(true);
  d->Command2Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, kTestRun, L"Tool"));
  EXPECT_EQ(suite::ReadText(RegAskFilePath(folder.wpath())),
            L"\r\n;hkey_current_user\\software\\zorvixtest\\run\\tool\r\n");
  EXPECT_EQ(answers.back().second, AskAnswer::DeniedAlways);
  EXPECT_TRUE(dropped.empty());
}

TEST_F(FormaskTest, DenyDeletesAValueWhoseNameHoldsABackslash) {
  common::WriteRegString(HKEY_CURRENT_USER, kTestRun, L"C:\\Tools\\Agent.exe", L"c:\\tools\\agent.exe");
  common::WriteRegString(HKEY_CURRENT_USER, kTestRun, L"Agent.exe", L"c:\\kept.exe");
  Formask* d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\c:\\tools\\agent.exe");
  d->Command2Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, kTestRun, L"C:\\Tools\\Agent.exe"));
  EXPECT_TRUE(common::QueryRegString(HKEY_CURRENT_USER, kTestRun, L"Agent.exe")) << "only the value asked about";
}

TEST_F(FormaskTest, RegistryAllowWithTheTickAddsToLineOneOfTheFile) {
  folder.Write(L"sys\\regask.dat", suite::Ansi(L";hkey_current_user\\old\\程序\r\n;hkey_current_user\\bad\\x\r\n"));
  Formask* d = OpenRegistry(L"hkey_local_machine\\software\\zorvixtest\\run\\新工具");
  d->SetChk(true);
  d->Command1Click();
  EXPECT_EQ(suite::ReadText(RegAskFilePath(folder.wpath())),
            L";hkey_current_user\\old\\程序;hkey_local_machine\\software\\zorvixtest\\run\\新工具\r\n"
            L";hkey_current_user\\bad\\x\r\n");
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"HKEY_LOCAL_MACHINE\\software\\zorvixtest\\run\\新工具"));
  EXPECT_TRUE(added.empty()) << "the program table is the network mode's";
}

TEST_F(FormaskTest, AListFileThatCannotBeReadIsNotOverwrittenAndTheUserIsTold) {
  std::wstring path = folder.Write(L"sys\\regask.dat", ";hkey_current_user\\run\\kept\r\n\r\n");
  HANDLE locked = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  suite::MsgBoxAnswers ok(IDOK);
  Formask* d = OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\new");
  d->SetChk(true);
  d->Command1Click();
  CloseHandle(locked);
  EXPECT_EQ(suite::ReadText(path), L";hkey_current_user\\run\\kept\r\n\r\n");
  ASSERT_EQ(ok.shown().size(), 1u) << "an always that was not stored is not passed off as stored";
  EXPECT_NE(ok.shown()[0].text.find(L"【 hkey_current_user\\software\\zorvixtest\\run\\new 】"), std::wstring::npos);
  EXPECT_NE(ok.shown()[0].text.find(path), std::wstring::npos);
  EXPECT_EQ(answers.back().second, AskAnswer::AllowedAlways);
}

// The two start-up value names that broke the file, through the dialog: allowed and denied with the tick.
TEST_F(FormaskTest, HostileValueNamesAreKeptForThisRunWithoutTouchingTheFile) {
  const std::string old = ";hkey_current_user\\run\\kept\r\n;hkey_current_user\\run\\denied\r\n";
  std::wstring path = folder.Write(L"sys\\regask.dat", old);
  const std::wstring run = L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\";
  suite::MsgBoxAnswers ok(IDOK);
  Formask* d = OpenRegistry(L"semi;" + run + L"payload");
  d->SetChk(true);
  d->Command1Click();
  d = OpenRegistry(run + L"two\r\nlines");
  d->SetChk(true);
  d->Command2Click();
  EXPECT_EQ(suite::ReadBytes(path), old);
  ASSERT_EQ(ok.shown().size(), 2u);
  EXPECT_NE(ok.shown()[0].text.find(L"semi;" + run + L"payload"), std::wstring::npos);
  EXPECT_FALSE(AskLists().registry.allow.Contains(run + L"payload")) << "a forged allow";
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"semi;" + run + L"payload"));
  EXPECT_TRUE(AskLists().registry.deny.Contains(run + L"two\r\nlines"));
  EXPECT_TRUE(AskLists().registry.deny.Contains(L"hkey_current_user\\run\\denied"));
}

TEST_F(FormaskTest, RegistryTimeoutDeletesTheValueAndRecordsNothing) {
  common::WriteRegString(HKEY_LOCAL_MACHINE, kTestRun, L"Tool", L"c:\\tool.exe");
  Formask* d = OpenRegistry(L"hkey_local_machine\\software\\zorvixtest\\run\\tool");
  d->SetChk(true);
  RunOut(d);
  EXPECT_FALSE(common::QueryRegString(HKEY_LOCAL_MACHINE, kTestRun, L"Tool"));
  EXPECT_FALSE(common::FileExists(RegAskFilePath(folder.wpath())));
  EXPECT_EQ(answers.back().second, AskAnswer::TimedOut);
  common::DeleteRegKey(HKEY_LOCAL_MACHINE, kTestRun);
}

TEST_F(FormaskTest, KeyboardReachesEveryButtonAndTheTick) {
  auto key = [](UINT message, WPARAM code) {
    LPARAM flags = message == WM_SYSCHAR ? 1 << 29 : message == WM_KEYUP ? LPARAM(0xC0000001) : 1;
    PostMessageW(GetFocus(), message, code, flags);
    common::PumpMessages();
  };
  auto focusOn = [](Formask* d) {
    SetForegroundWindow(d->hwnd());
    SetFocus(d->control(Formask::kChk));
  };
  Program a(L"ask-keys-a"), b(L"ask-keys-b"), c(L"ask-keys-c");
  Formask* d = OpenNetwork(a);
  focusOn(d);
  key(WM_KEYDOWN, VK_SPACE);
  key(WM_KEYUP, VK_SPACE);
  EXPECT_TRUE(d->Chk()) << "space ticks the focused box";
  key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), d->control(Formask::kCommand1));
  key(WM_SYSCHAR, L'y');
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0].second, AskAnswer::AllowedAlways) << "Alt+Y";

  d = OpenNetwork(b);
  focusOn(d);
  key(WM_KEYDOWN, VK_RETURN);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[1].second, AskAnswer::Allowed) << "Enter allows this once";

  d = OpenNetwork(c);
  focusOn(d);
  key(WM_KEYDOWN, VK_ESCAPE);
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[2].second, AskAnswer::Closed) << "Esc closes without a decision";
  EXPECT_TRUE(c.Responds());

  Program e(L"ask-keys-e");
  d = OpenNetwork(e);
  focusOn(d);
  key(WM_SYSCHAR, L'n');
  EXPECT_TRUE(e.child.WaitExit(5000)) << "Alt+N denies";
}

TEST_F(FormaskTest, TheStartupMonitorCanDeleteTheValueItself) {
  std::vector<std::wstring> deleted;
  AskSubject s;
  s.mode = AskMode::Registry;
  s.FilePath = L"c:\\nowhere\\tool.exe";
  s.regpath = L"hkey_local_machine\\software\\wow6432node\\run\\tool";
  AskHooks h = Hooks();
  h.deleteStartupValue = [&](const AskSubject& subject) -> std::optional<std::wstring> {
    deleted.push_back(subject.regpath);
    return std::nullopt;
  };
  Formask::Open(s, h)->Command2Click();
  EXPECT_EQ(deleted, std::vector<std::wstring>{s.regpath});
}

// An end that fails is said, and "终止进程" then keeps the dialog open; "拒绝" still closes it (its
// decision is made), but not as if the program had gone.
TEST_F(FormaskTest, AnEndThatFailsIsToldAndNotPassedOffAsDone) {
  Program p(L"ask-end-fails");
  AskSubject s;
  s.FilePath = suite::BinFolder() + L"suite_child.exe";
  s.connection = ConnectionOf(p);
  s.process = p.Id();
  AskHooks h = Hooks();
  h.endProcess = [](const ProcessIdentity&) { return EndResult::Failed; };
  suite::MsgBoxAnswers ok(IDOK);
  Formask* d = Formask::Open(s, h, FrozenProcess::Freeze(s.process));
  d->CmdendClick();
  ASSERT_EQ(ok.shown().size(), 1u);
  EXPECT_EQ(ok.shown()[0].text, EndFailedText(L"suite_child.exe"));
  EXPECT_EQ(Formask::OpenDialogs().size(), 1u) << "the dialog stays";
  EXPECT_TRUE(answers.empty());
  d->Command2Click();
  ASSERT_EQ(ok.shown().size(), 2u);
  EXPECT_EQ(ok.shown()[1].text, EndFailedText(L"suite_child.exe"));
  EXPECT_EQ(answers.back().second, AskAnswer::Denied);
  EXPECT_TRUE(p.Responds()) << "resumed, and running on as the message said";
}

// The allowed program runs on before the table is written: a large table kept it frozen meanwhile.
TEST_F(FormaskTest, AnAllowedProgramRunsOnBeforeTheDecisionIsStored) {
  Program p(L"ask-resume-first");
  AskSubject s;
  s.FilePath = suite::BinFolder() + L"suite_child.exe";
  s.process = p.Id();
  AskHooks h = Hooks();
  bool answeredWhileStoring = false, answeredWhenClosed = false;
  h.addProgram = [&](const std::wstring&, int) { answeredWhileStoring = p.Answers(2000); };
  h.closed = [&](const AskSubject&, AskAnswer) { answeredWhenClosed = p.Answers(2000); };
  Formask* d = Formask::Open(s, h, FrozenProcess::Freeze(s.process));
  ASSERT_TRUE(p.Frozen());
  d->SetChk(true);
  d->Command1Click();
  EXPECT_TRUE(answeredWhileStoring);
  EXPECT_TRUE(answeredWhenClosed);
}

// The freeze is the system's debug hold where Wine gives it, which the guard's end undoes by itself.
TEST_F(FormaskTest, AFrozenProgramIsHeldByTheDebugAttachment) {
  Program p(L"ask-debug-hold");
  auto frozen = FrozenProcess::Freeze(p.Id());
  ASSERT_NE(frozen, nullptr);
  EXPECT_TRUE(frozen->releasedWithTheGuard());
  EXPECT_TRUE(p.Frozen());
  frozen.reset();
  EXPECT_TRUE(p.Responds());
  frozen = FrozenProcess::Freeze(p.Id());
  ASSERT_NE(frozen, nullptr) << "a second hold after the first let go";
  EXPECT_TRUE(p.Frozen());
}

// A module whose path the code page cannot hold: "\info.txt" is not written with "?" in it, the user is
// told which file and which module, and the old list is not opened as if it were this program's.
TEST_F(FormaskTest, AModuleListTheCodePageCannotHoldIsToldAndTheOldFileStays) {
  std::wstring exe = test_support::CopyOfChild(folder.wpath() + L"\\프로그램\\모듈.exe");
  ASSERT_FALSE(common::ToAnsi(exe)) << "the test needs a path outside the code page";
  Program p(L"ask-wide-modules", exe);
  std::wstring info = folder.Write(L"info.txt", "old list\r\n");
  suite::MsgBoxAnswers ok(IDOK);
  OpenRegistry(L"hkey_current_user\\software\\zorvixtest\\run\\wide", exe, p.Id())->CmdClick(1);
  ASSERT_EQ(ok.shown().size(), 1u);
  EXPECT_NE(ok.shown()[0].text.find(info), std::wstring::npos) << ok.shown()[0].text;
  EXPECT_NE(ok.shown()[0].text.find(L"모듈.exe"), std::wstring::npos) << "the module is named";
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(suite::ReadBytes(info), std::string("old list\r\n"));
}
