// The start-up monitor asking through the real ask dialog in registry mode, inside a loaded guard: the
// answers delete or keep the value and fill the decision list file.
#include "guard/monitors/win/startup_ask.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/testing/temp_dir.h"
#include "common/text.h"
#include "common/testing/win/text_files.h"
#include "common/win/registry.h"
#include "common/win/ui/window.h"
#include "guard/monitors/win/ask_list_files.h"
#include "common/testing/win/msgbox_answers.h"
#include "guard/monitors/start_delete.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/startup_backup.h"
#include "guard/monitors/win/testing/reg_values.h"
#include "guard/monitors/win/testing/scratch_keys.h"
#include "guard/startup/win/frm_main.h"

using namespace zorvix;
using namespace zorvix::test_support;

namespace {

std::optional<std::wstring> NothingSigned(const std::wstring&) { return std::nullopt; }

class StartupAskTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(frm.Load(L"2"));
    frm.startup().SetHooks({});  // the guard's own monitor stays out of the way
    folder.Write(L"sys\\keep", "");
    LoadRegAskLists(folder.wpath());
  }
  void TearDown() override {
    Formask::UnloadAll();
    DestroyWindow(frm.hwnd());
  }
  // A monitor over one scratch location, asking through the guard.
  StartupMonitor& Watch(RegRoot root, const std::wstring& key, RegValueDelete deleteValue = RegDeleteValueW) {
    monitor = std::make_unique<StartupMonitor>(std::vector<WatchedLocation>{{root, key}});
    monitor->SetHooks(StartupAskHooks(frm, folder.wpath(), deleteValue));
    return *monitor;
  }
  // Runs a dialog's countdown out with a clock of its own, 1.2 s a tick.
  static void RunOut(Formask* d) {
    uint64_t t = GetTickCount64();
    for (int i = 1; i <= 21 && !Formask::OpenDialogs().empty(); ++i) d->Timer1Tick(t + i * 1200);
  }
  // Reads the location again and returns the dialog that opens, if any.
  Formask* Ask(StartupMonitor& m) {
    m.readregstart();
    m.AskStep();
    auto open = Formask::OpenDialogs();
    return open.empty() ? nullptr : open.back();
  }
  std::vector<std::wstring> ListLines() {
    auto text = suite::ReadText(RegAskFilePath(folder.wpath()));
    return text ? common::SplitLines(*text) : std::vector<std::wstring>{};
  }
  std::wstring Location(const std::wstring& key, const std::wstring& name) {
    return common::ToLower(L"HKEY_CURRENT_USER\\" + key + L"\\" + name);
  }

  FrmMain frm{NothingSigned};
  suite::TempDir folder;
  ScratchKeys keys;
  std::unique_ptr<StartupMonitor> monitor;
};

}  // namespace

TEST_F(StartupAskTest, ANewValueIsAskedInRegistryModeAndDeniedWithoutTheTick) {
  keys.SetText(L"Run", L"Updater", L"\"C:\\apps\\up-date.exe\" -hkey");
  StartupMonitor& m = Watch(RegRoot::CurrentUser, keys.Key(L"Run"));
  Formask* ask = Ask(m);
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(ask->subject().mode, AskMode::Registry);
  EXPECT_EQ(ask->subject().FilePath, L"C:\\apps\\up-date.exe");
  EXPECT_EQ(ask->subject().regpath, Location(keys.Key(L"Run"), L"Updater"));
  EXPECT_EQ(common::ui::WindowText(ask->hwnd()), L"注册表监控  -  可疑程序监控");
  ask->Command2Click();  // "拒绝(&N)"
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Updater"));
  auto lines = ListLines();
  EXPECT_TRUE(lines.size() < 2 || lines[1].empty()) << "nothing recorded without the tick";
}

TEST_F(StartupAskTest, DeniedWithTheTickTheLocationGoesToLineTwo) {
  keys.SetText(L"Run", L"Evil", L"C:\\apps\\evil.exe");
  Formask* ask = Ask(Watch(RegRoot::CurrentUser, keys.Key(L"Run")));
  ASSERT_NE(ask, nullptr);
  ask->SetChk(true);
  ask->Command2Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Evil"));
  auto lines = ListLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], L";" + Location(keys.Key(L"Run"), L"evil"));
}

TEST_F(StartupAskTest, AllowedWithTheTickIsNeverAskedAgain) {
  keys.SetText(L"Run", L"Good", L"C:\\apps\\good.exe");
  StartupMonitor& m = Watch(RegRoot::CurrentUser, keys.Key(L"Run"));
  Formask* ask = Ask(m);
  ASSERT_NE(ask, nullptr);
  ask->SetChk(true);
  ask->Command1Click();  // "允许(&Y)"
  EXPECT_TRUE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Good"));
  ASSERT_FALSE(ListLines().empty());
  EXPECT_EQ(ListLines()[0], L";" + Location(keys.Key(L"Run"), L"good"));
  EXPECT_EQ(Ask(m), nullptr);
  // A value whose name merely begins like the allowed one is still asked about.
  keys.SetText(L"Run", L"Goo", L"C:\\apps\\goo.exe");
  Formask* other = Ask(m);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->subject().regpath, Location(keys.Key(L"Run"), L"goo"));
}

TEST_F(StartupAskTest, ADeniedValueIsDeletedInItsOwnViewAndByItsOwnName) {
  ScratchKeys machine(HKEY_LOCAL_MACHINE);
  machine.SetText(L"Run", L"same", L"C:\\x64\\native.exe");
  machine.SetText(L"Run", L"same", L"C:\\x86\\thirty-two.exe", REG_SZ, KEY_WOW64_32KEY);
  StartupMonitor& m = Watch(RegRoot::LocalMachine, machine.Key(L"Run"));
  m.readregstart();
  // The 32-bit value is read last, so it is asked first.
  m.AskStep();
  ASSERT_EQ(Formask::OpenDialogs().size(), 1u);
  Formask* ask = Formask::OpenDialogs().back();
  EXPECT_NE(ask->subject().regpath.find(L"\\wow6432node\\"), std::wstring::npos);
  ask->Command2Click();
  HKEY h;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, machine.Key(L"Run").c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &h), 0);
  EXPECT_EQ(RegQueryValueExW(h, L"same", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS) << "the other view";
  RegCloseKey(h);
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, machine.Key(L"Run").c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &h), 0);
  EXPECT_EQ(RegQueryValueExW(h, L"same", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  RegCloseKey(h);

  keys.SetText(L"Run", L"a\\b", L"C:\\apps\\slash.exe");
  Formask* slash = Ask(Watch(RegRoot::CurrentUser, keys.Key(L"Run")));
  ASSERT_NE(slash, nullptr);
  slash->Command2Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"a\\b")) << "a name holding \\";
}

namespace {
// The registry's answer to a standard user deleting a machine-wide value.
LONG WINAPI RefuseDelete(HKEY, LPCWSTR) { return ERROR_ACCESS_DENIED; }
}  // namespace

TEST_F(StartupAskTest, AValueTheRegistryWillNotDeleteIsToldWhetherTheUserOrTheCountdownDenied) {
  suite::MsgBoxAnswers answers;
  keys.SetText(L"Run", L"Stays", L"C:\\apps\\stays.exe");
  StartupMonitor& m = Watch(RegRoot::CurrentUser, keys.Key(L"Run"), RefuseDelete);
  const std::wstring told = DeleteStartFailedText(L"Stays", L"HKEY_CURRENT_USER\\" + keys.Key(L"Run") + L"\\Stays");
  Formask* ask = Ask(m);
  ASSERT_NE(ask, nullptr);
  ask->Command2Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, told);
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONMASK, UINT(MB_ICONWARNING));
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Stays"));

  ask = Ask(m);
  ASSERT_NE(ask, nullptr);
  RunOut(ask);
  EXPECT_TRUE(Formask::OpenDialogs().empty()) << "the countdown denied";
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[1].text, told);
}

TEST_F(StartupAskTest, AValueThatCannotBeSavedFirstStaysAndTheUserIsToldWhy) {
  suite::MsgBoxAnswers answers;
  keys.SetText(L"Run", L"Unsaved", L"C:\\apps\\unsaved.exe");
  const std::wstring backup = StartupBackupPath(folder.wpath());
  CreateDirectoryW(backup.c_str(), nullptr);  // a folder where the file would go: nothing can be written
  Formask* ask = Ask(Watch(RegRoot::CurrentUser, keys.Key(L"Run")));
  ASSERT_NE(ask, nullptr);
  ask->Command2Click();
  EXPECT_TRUE(common::QueryRegString(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Unsaved"));
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_NE(answers.shown()[0].text.find(backup), std::wstring::npos) << "the message names the file";
  EXPECT_NE(answers.shown()[0].text.find(L"Unsaved"), std::wstring::npos);
  RemoveDirectoryW(backup.c_str());
}

TEST_F(StartupAskTest, ValuesDeniedByTheUserAndByTheCountdownComeBackFromTheBackupFile) {
  const RawValue denied = TextValue(L"%ProgramFiles%\\denied.exe /x", REG_EXPAND_SZ);
  const RawValue timedOut = TextValue(L"C:\\apps\\timed-out.exe");
  ASSERT_TRUE(WriteRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Denied", denied));
  ASSERT_TRUE(WriteRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"TimedOut", timedOut));
  StartupMonitor& m = Watch(RegRoot::CurrentUser, keys.Key(L"Run"));
  for (int i = 0; i < 2; ++i) {
    Formask* ask = Ask(m);
    ASSERT_NE(ask, nullptr);
    if (ask->subject().regpath.ends_with(L"\\denied"))
      ask->Command2Click();
    else
      RunOut(ask);
  }
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Denied"));
  EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"TimedOut"));
  ASSERT_TRUE(ImportWithRegedit(StartupBackupPath(folder.wpath())));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"Denied"), denied);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"TimedOut"), timedOut);
}
