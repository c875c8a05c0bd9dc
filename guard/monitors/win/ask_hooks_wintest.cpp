// Ask dialogs opened from the running guard: its process table names the program's process, and the
// guard's unload leaves no program frozen.
#include <gtest/gtest.h>

#include "common/testing/win/test_certificate.h"
#include "common/text.h"
#include "common/win/ui/window.h"
#include "guard/monitors/win/ask_hooks.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/testing/window_child.h"
#include "guard/process/win/process_window_fixture.h"

using namespace zorvix;

namespace {

class GuardAsk : public zorvix::testing::ProcessWindow {
 protected:
  void TearDown() override {
    Formask::UnloadAll();
    ProcessWindow::TearDown();
  }
};

}  // namespace

TEST_F(GuardAsk, TheRegistryDialogFindsTheProgramInTheProcessTable) {
  suite::ChildProcess child;
  Load();
  frm->table().ListProcess();
  AskSubject s;
  s.mode = AskMode::Registry;
  s.FilePath = common::ToUpper(suite::BinFolder() + L"suite_child.exe");
  s.regpath = L"hkey_current_user\\software\\zorvixtest\\run\\child";
  Formask* d = Formask::Open(s, GuardAskHooks(*frm));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->RunningProcess().pid, child.pid());
  EXPECT_TRUE(common::StartsWithNoCase(d->report(), L"文件路径： " + suite::BinFolder() + L"suite_child.exe"));
  EXPECT_EQ(d->report().find(L"内存占用： 未知"), std::wstring::npos) << "the table knows its memory";
}

TEST_F(GuardAsk, TheDialogNamesTheSignerOfAValidSignatureOnly) {
  ASSERT_TRUE(suite::TrustTestCertificate());
  Load();
  auto signerLine = [&](const wchar_t* exe) {
    AskSubject s;
    s.FilePath = suite::BinFolder() + exe;
    Formask* d = Formask::Open(s, GuardAskHooks(*frm));
    std::wstring line = d ? common::ui::WindowText(d->control(Formask::kSigner)) : L"no dialog";
    Formask::UnloadAll();
    return line;
  };
  EXPECT_EQ(signerLine(L"suite_child_signed.exe"), L"数字签名： 有效，签名者 Tolvark");
  EXPECT_EQ(signerLine(L"suite_child_untrusted.exe"), L"数字签名： 没有有效的数字签名") << "a root nobody trusts";
  EXPECT_EQ(signerLine(L"suite_child.exe"), L"数字签名： 没有有效的数字签名");
}

TEST_F(GuardAsk, UnloadingTheGuardResumesEveryFrozenProgram) {
  test_support::WindowChild child(L"guard-unload");
  Load();
  AskSubject s;
  s.FilePath = suite::BinFolder() + L"suite_child.exe";
  s.process = child.Id();
  ASSERT_NE(Formask::Open(s, GuardAskHooks(*frm), FrozenProcess::Freeze(s.process)), nullptr);
  ASSERT_TRUE(child.Frozen());
  DestroyWindow(frm->hwnd());
  EXPECT_TRUE(Formask::OpenDialogs().empty());
  EXPECT_TRUE(child.Responds());
  EXPECT_FALSE(Guard().askWindowOpen);
}

TEST_F(GuardAsk, LoadingTheGuardReadsBothListFiles) {
  AskLists().process.allow.Add(L"c:\\stale.exe");
  AskLists().registry.deny.Add(L"hkey_current_user\\stale");
  Load();
  EXPECT_FALSE(AskLists().process.allow.Contains(L"c:\\stale.exe"));
  EXPECT_FALSE(AskLists().registry.deny.Contains(L"hkey_current_user\\stale"));
}
