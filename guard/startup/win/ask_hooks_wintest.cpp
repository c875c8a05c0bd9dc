// Ask dialogs opened from the running guard: its process table names the program's process, and the
// guard's unload leaves no program frozen.
#include <gtest/gtest.h>

#include "common/path.h"
#include "common/testing/win/test_certificate.h"
#include "common/testing/win/text_files.h"
#include "common/text.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/monitors/win/ask_hooks.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/testing/window_child.h"
#include "guard/startup/win/process_window_fixture.h"

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

// The program folder's own list files, put back as they were after the test.
class OwnListFiles {
 public:
  OwnListFiles() {
    for (const std::wstring& f : {AskFilePath(), RegAskFilePath()}) kept_.push_back({f, suite::ReadBytes(f)});
  }
  ~OwnListFiles() {
    for (auto& [file, bytes] : kept_)
      if (bytes)
        suite::WriteBytes(file, *bytes);
      else
        DeleteFileW(file.c_str());
  }

 private:
  std::vector<std::pair<std::wstring, std::optional<std::string>>> kept_;
};

TEST_F(GuardAsk, LoadingTheGuardReadsBothListFiles) {
  OwnListFiles own;
  CreateDirectoryW(common::JoinPath(common::AppFolder(), L"sys").c_str(), nullptr);
  ASSERT_TRUE(suite::WriteBytes(AskFilePath(), suite::Ansi(L";c:\\程序\\允许.exe\r\n;c:\\坏.exe\r\n")));
  ASSERT_TRUE(suite::WriteBytes(RegAskFilePath(), "\xFF\xFE" + std::string("\r\0\n\0;\0h\0k\0\\\0x\0", 14)));
  AskLists().process.allow.Add(L"c:\\stale.exe");
  Load();
  EXPECT_FALSE(AskLists().process.allow.Contains(L"c:\\stale.exe"));
  EXPECT_TRUE(AskLists().process.allow.Contains(L"c:\\程序\\允许.exe"));
  EXPECT_TRUE(AskLists().process.deny.Contains(L"c:\\坏.exe"));
  EXPECT_TRUE(AskLists().registry.deny.Contains(L"hk\\x")) << "a UTF-16 file";
  EXPECT_EQ(frm->tuopan().lastBalloon(), L"") << "nothing to tell";
}

TEST_F(GuardAsk, AListFileOverTheCapIsNotReadAndTheTrayIconSaysSo) {
  OwnListFiles own;
  CreateDirectoryW(common::JoinPath(common::AppFolder(), L"sys").c_str(), nullptr);
  ASSERT_TRUE(suite::WriteBytes(AskFilePath(), std::string(size_t(kListFileCap) + 1, ';')));
  Load();
  EXPECT_EQ(AskLists().processFile.status, common::ReadStatus::kTooLarge);
  EXPECT_NE(frm->tuopan().lastBalloon().find(AskFilePath()), std::wstring::npos) << frm->tuopan().lastBalloon();
  EXPECT_FALSE(SaveAskLists()) << "never written over";
}
