// The autorun guard under Wine: an "autorun.inf" on a scratch drive raises the alert with its rows, the
// cleaner deletes what lies on that drive and nothing else, and the scans hold while the alert is open.
#include "guard/monitors/win/autorun_guard.h"

#include <gtest/gtest.h>

#include <dbt.h>

#include <atomic>
#include <set>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/monitors/win/autorun_policy.h"
#include "guard/monitors/win/testing/host_link.h"
#include "guard/monitors/win/testing/scratch_drive.h"
#include "guard/guard_state.h"

using namespace zorvix;
using zorvix::test_support::HostLink;
using zorvix::test_support::ScratchDrive;

namespace {

class AutorunFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Guard() = GuardState{};
    Guard().windowsFolder = common::GetWindowsFolder();
    common::DeleteRegValue(HKEY_LOCAL_MACHINE, kExplorerPolicyKey, L"NoDriveTypeAutoRun");
    common::DeleteRegValue(HKEY_LOCAL_MACHINE, kShowAllKey, L"CheckedValue");
  }
  void TearDown() override {
    guard.form().Unload();
    common::DeleteRegValue(HKEY_LOCAL_MACHINE, kExplorerPolicyKey, L"NoDriveTypeAutoRun");
  }
  // Runs scans' results in as the main timer would, until the alert is up.
  bool AlertShown(DWORD ms = 5000) {
    return suite::PumpUntil(
        [&] {
          guard.Poll();
          return guard.form().loaded() && IsWindowVisible(guard.form().hwnd());
        },
        ms);
  }
  std::vector<std::wstring> Column(int col) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < guard.form().lvw().Count(); ++i) texts.push_back(guard.form().lvw().Text(i, col));
    return texts;
  }
  suite::TempDir media;
  AutorunGuard guard;
};

}  // namespace

TEST_F(AutorunFixture, TenBytesAreIgnoredElevenRaiseTheAlert) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  media.Write(L"autorun.inf", "[autorun]\n");  // 10 bytes
  EXPECT_FALSE(ExamineDrive(drive.root()));
  media.Write(L"autorun.inf", "[autorun]\r\n");  // 11 bytes
  auto found = ExamineDrive(drive.root());
  ASSERT_TRUE(found);
  EXPECT_EQ(found->inf, drive.root() + L"autorun.inf");
  EXPECT_FALSE(found->target);
  // A folder of that name (which some put there to keep autorun files off) is no autorun file.
  DeleteFileW((media.wpath() + L"\\autorun.inf").c_str());
  media.Write(L"autorun.inf\\padding-to-eleven-bytes", "");
  EXPECT_FALSE(ExamineDrive(drive.root()));
}

TEST_F(AutorunFixture, RemovableDriveAlertListsTheFileAndItsProgramAndTheCleanerDeletesThem) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[AutoRun]\r\n   Open=Virus.exe -s\r\nshell=other.exe\r\n");
  std::wstring virus = media.Write(L"Virus.exe", std::string(12345, 'v'));
  SetFileAttributesW(inf.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  FormAutoRun& form = guard.form();
  EXPECT_EQ(common::ui::WindowText(form.hwnd()), L"捕获病毒警告");
  EXPECT_EQ(form.heading(), L"《Zorvix安全卫士》在您的可移动 U 盘里发现了 AutoRun 病毒，详细信息如下：");
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"autorun.inf", L"Virus.exe"}));
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"隐藏", L"隐藏"}));
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{drive.root() + L"autorun.inf", drive.root() + L"Virus.exe"}));
  EXPECT_EQ(Column(3)[1], L"12,345");
  EXPECT_FALSE(Column(4)[1].empty()) << "creation time";
  EXPECT_TRUE(Guard().askWindowOpen);
  EXPECT_TRUE(GetWindowLongW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(common::ReadRegDword(HKEY_LOCAL_MACHINE, kShowAllKey, L"CheckedValue").value_or(0), 1u);

  form.Timer1Tick();  // the caption blinks
  EXPECT_EQ(common::ui::WindowText(form.hwnd()), L"");
  form.Timer1Tick();
  EXPECT_EQ(common::ui::WindowText(form.hwnd()), L"捕获病毒警告");

  SendMessageW(form.command(1), BM_CLICK, 0, 0);  // "立即清除(&Y)"
  EXPECT_FALSE(common::FileExists(inf));
  EXPECT_FALSE(common::FileExists(virus));
  EXPECT_EQ(common::ReadRegDword(HKEY_LOCAL_MACHINE, kExplorerPolicyKey, L"NoDriveTypeAutoRun").value_or(0), 0xDFu);
  EXPECT_FALSE(form.loaded()) << "all deleted: the window closes";
  EXPECT_FALSE(Guard().askWindowOpen);
}

TEST_F(AutorunFixture, AFileOutsideTheDriveIsListedAsNotDeletedAndLeftAlone) {
  suite::TempDir elsewhere;
  std::wstring thesis = elsewhere.Write(L"thesis.docx", "my work");
  ScratchDrive drive(media.wpath(), DRIVE_FIXED);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[autorun]\r\nshellexecute=" + elsewhere.path().string() +
                                                     "\\thesis.docx\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  FormAutoRun& form = guard.form();
  EXPECT_EQ(form.heading(), L"《Zorvix安全卫士》在您的电脑里发现了 AutoRun 病毒，详细信息如下：") << "a fixed drive";
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{drive.root() + L"autorun.inf", thesis}));
  EXPECT_EQ(Column(1)[1], L"不予删除");
  form.Command1Click();
  EXPECT_FALSE(common::FileExists(inf));
  EXPECT_TRUE(common::FileExists(thesis));
  ASSERT_TRUE(form.loaded()) << "the kept row stays in view";
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{thesis}));
  EXPECT_NE(form.status().find(L"不予删除"), std::wstring::npos);
}

TEST_F(AutorunFixture, AFileThatCannotBeDeletedKeepsItsRowAndTheWindowSaysSo) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[autorun]\r\nopen=locked.exe\r\n");
  std::wstring locked = media.Write(L"locked.exe", "MZ.......");
  HANDLE hold = CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  guard.form().Command1Click();
  CloseHandle(hold);
  EXPECT_FALSE(common::FileExists(inf));
  ASSERT_TRUE(guard.form().loaded());
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"locked.exe"}));
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"删除失败"}));
  EXPECT_NE(guard.form().status().find(L"删除失败"), std::wstring::npos);
  EXPECT_TRUE(IsWindowEnabled(guard.form().command(1))) << "the user may try again";
  guard.form().Command1Click();
  EXPECT_FALSE(common::FileExists(locked));
  EXPECT_FALSE(guard.form().loaded());
}

TEST_F(AutorunFixture, LaterPausesTheScansAndAnOpenAlertHoldsThem) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  EXPECT_FALSE(AutorunGuard::ScanAllowed()) << "no scan while the alert is open";
  SendMessageW(guard.form().command(2), BM_CLICK, 0, 0);  // "以后再说(&C)"
  EXPECT_FALSE(guard.form().loaded());
  EXPECT_FALSE(Guard().askWindowOpen);
  EXPECT_TRUE(Guard().autorunScanPaused);
  EXPECT_FALSE(AutorunGuard::ScanAllowed());
}

namespace {
// Posts a key to the focused control and lets the program's key routing handle it.
void Key(UINT message, WPARAM key) {
  PostMessageW(GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0);
  common::PumpMessages();
}

// The window the user is typing in when the alert comes up.
struct UserWindow {
  UserWindow() {
    frame.Create(L"AutorunTestUser", L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 300, 200);
    edit = common::ui::CreateControl(frame.hwnd(), L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 1);
    SetForegroundWindow(frame.hwnd());
    SetFocus(edit);
  }
  common::ui::Window frame;
  HWND edit = nullptr;
};
}  // namespace

TEST_F(AutorunFixture, TheAlertComesUpWithoutTheKeysAndTheUsersTypingClearsNothing) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[autorun]\r\nopen=evil.exe\r\n");
  std::wstring evil = media.Write(L"evil.exe", "MZ");
  UserWindow user;
  ASSERT_EQ(GetFocus(), user.edit);
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  FormAutoRun& form = guard.form();
  EXPECT_TRUE(GetWindowLongW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) << "in front of the others";
  EXPECT_EQ(GetForegroundWindow(), user.frame.hwnd());
  EXPECT_EQ(GetFocus(), user.edit);
  EXPECT_NE(GetWindowLongW(form.command(1), GWL_STYLE) & BS_TYPEMASK, LONG(BS_DEFPUSHBUTTON));
  for (WPARAM key : {WPARAM('X'), WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) Key(WM_KEYDOWN, key);
  EXPECT_EQ(common::ui::WindowText(user.edit), L"x ") << "the typing went where the user typed";
  ASSERT_TRUE(form.loaded());
  EXPECT_TRUE(common::FileExists(inf));
  EXPECT_TRUE(common::FileExists(evil));

  // Brought up by the user, the alert starts in its list: Enter and Space still clear nothing.
  SetForegroundWindow(form.hwnd());
  EXPECT_EQ(GetFocus(), form.lvw().hwnd());
  Key(WM_KEYDOWN, VK_RETURN);
  Key(WM_KEYDOWN, VK_SPACE);
  ASSERT_TRUE(form.loaded());
  EXPECT_TRUE(common::FileExists(inf));
  Key(WM_SYSCHAR, L'y');  // Alt+Y, "立即清除(&Y)"
  EXPECT_FALSE(form.loaded());
  EXPECT_FALSE(common::FileExists(inf));
  EXPECT_FALSE(common::FileExists(evil));
}

TEST_F(AutorunFixture, TheAlertAnswersTheKeyboard) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  SetForegroundWindow(guard.form().hwnd());
  ASSERT_EQ(GetFocus(), guard.form().lvw().hwnd());
  for (int i = 0; i < 3 && GetFocus() != guard.form().command(2); ++i) Key(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(GetFocus(), guard.form().command(2)) << "Tab reaches the buttons";
  Key(WM_KEYDOWN, VK_ESCAPE);  // "以后再说(&C)"
  EXPECT_FALSE(guard.form().loaded());
  EXPECT_TRUE(Guard().autorunScanPaused);

  Guard().autorunScanPaused = false;
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  SendMessageW(guard.form().command(1), BM_CLICK, 0, 0);  // a click
  EXPECT_FALSE(guard.form().loaded());
  EXPECT_FALSE(common::FileExists(inf));
}

TEST_F(AutorunFixture, ADriveIsScannedTheMomentItArrives) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
  DEV_BROADCAST_VOLUME vol{sizeof vol, DBT_DEVTYP_VOLUME, 0, drive.unitMask(), 0};
  guard.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&vol));
  EXPECT_FALSE(guard.scanning());
  guard.OnDeviceChange(DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&vol));
  ASSERT_TRUE(AlertShown());
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{drive.root() + L"autorun.inf", drive.root() + L"x.exe"}));
}

TEST_F(AutorunFixture, NetworkDrivesAreNotExamined) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOTE);
  ASSERT_TRUE(drive.ok());
  if (GetDriveTypeW(drive.root().c_str()) != DRIVE_REMOTE) GTEST_SKIP() << "no network drive type here";
  media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
  EXPECT_FALSE(ExamineDrive(drive.root()));
}

TEST_F(AutorunFixture, EachClearTellsItsOwnRefusedWriteAndNothingIsToldBeforeTheUserClears) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  // A standard user: the registry refuses the machine's values.
  std::set<std::wstring> refused{L"CheckedValue", L"NoDriveTypeAutoRun"};
  guard.form().writePolicy = [&](const std::wstring& key, const std::wstring& name, DWORD value) {
    return !refused.count(name) && WritePolicyDword(key, name, value);
  };
  suite::MsgBoxAnswers answers;
  const std::wstring told = PolicyRefusedText(kExplorerPolicyKey, L"NoDriveTypeAutoRun");
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
    guard.ScanAutorunDrives();
    ASSERT_TRUE(AlertShown());
    EXPECT_EQ(answers.shown().size(), size_t(round - 1)) << "no box before the user asked for anything";
    EXPECT_NE(guard.form().status().find(L"显示隐藏文件"), std::wstring::npos) << "the window says it";
    guard.form().Command1Click();
    ASSERT_EQ(answers.shown().size(), size_t(round));
    EXPECT_EQ(answers.shown().back().text, told);
    EXPECT_EQ(answers.shown().back().flags & MB_ICONMASK, UINT(MB_ICONWARNING));
    EXPECT_FALSE(guard.form().loaded());
  }
  refused = {L"CheckedValue"};
  media.Write(L"autorun.inf", "[autorun]\r\nopen=x.exe\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  guard.form().Command1Click();
  EXPECT_EQ(answers.shown().size(), 2u) << "a clear whose own write went through tells nothing";
  EXPECT_EQ(common::ReadRegDword(HKEY_LOCAL_MACHINE, kExplorerPolicyKey, L"NoDriveTypeAutoRun").value_or(0), 0xDFu);
  EXPECT_FALSE(common::ReadRegDword(HKEY_LOCAL_MACHINE, kShowAllKey, L"CheckedValue"));
}

TEST_F(AutorunFixture, AFileReachedThroughALinkOnTheDriveIsListedAsNotDeletedAndLeftAlone) {
  suite::TempDir elsewhere;
  std::wstring precious = elsewhere.Write(L"precious.txt", "my work");
  HostLink docs(elsewhere.wpath(), media.wpath() + L"\\docs");
  ASSERT_TRUE(docs.ok());
  DWORD attributes = GetFileAttributesW((media.wpath() + L"\\docs").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << "the system sees the link";
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::wstring inf = media.Write(L"autorun.inf", "[autorun]\r\nopen=docs\\precious.txt\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  EXPECT_EQ(Column(2),
            (std::vector<std::wstring>{drive.root() + L"autorun.inf", drive.root() + L"docs\\precious.txt"}));
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"隐藏", L"不予删除"}));
  SendMessageW(guard.form().command(1), BM_CLICK, 0, 0);
  EXPECT_TRUE(common::FileExists(precious));
  EXPECT_FALSE(common::FileExists(inf));
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{drive.root() + L"docs\\precious.txt"}));
}

TEST_F(AutorunFixture, AFolderTurnedIntoALinkAfterTheListingIsNotDeletedThrough) {
  suite::TempDir elsewhere;
  std::wstring precious = elsewhere.Write(L"run.exe", "my program");
  media.Write(L"sub\\run.exe", "MZ");
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  media.Write(L"autorun.inf", "[autorun]\r\nopen=sub\\run.exe\r\n");
  guard.ScanAutorunDrives();
  ASSERT_TRUE(AlertShown());
  ASSERT_EQ(Column(1), (std::vector<std::wstring>{L"隐藏", L"隐藏"})) << "a plain folder when listed";
  ASSERT_TRUE(MoveFileW((media.wpath() + L"\\sub").c_str(), (media.wpath() + L"\\old").c_str()));
  HostLink sub(elsewhere.wpath(), media.wpath() + L"\\sub");
  ASSERT_TRUE(sub.ok());
  ASSERT_TRUE(common::FileExists(drive.root() + L"sub\\run.exe")) << "the link leads to the other file";
  guard.form().Command1Click();
  EXPECT_TRUE(common::FileExists(precious));
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"删除失败"}));
}

TEST_F(AutorunFixture, TheProgramLineIsReadInTheFilesOwnFormHoweverFarIntoTheFile) {
  ScratchDrive drive(media.wpath(), DRIVE_REMOVABLE);
  ASSERT_TRUE(drive.ok());
  std::string padding = "[autorun]\r\n";
  while (padding.size() < (3u << 20)) padding += "; a long file pushes the line that counts far in\r\n";
  media.Write(L"autorun.inf", padding + "open=late.exe\r\n");
  auto found = ExamineDrive(drive.root());
  ASSERT_TRUE(found);
  EXPECT_EQ(found->target.value_or(L"?"), drive.root() + L"late.exe");

  const std::wstring text = L"[autorun]\r\nopen=病毒程序.exe\r\n";
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : text) utf16 += {char(c & 0xFF), char(c >> 8)};
  std::string utf8 = "[autorun]\r\nopen=\xE7\x97\x85\xE6\xAF\x92\xE7\xA8\x8B\xE5\xBA\x8F.exe\r\n";
  for (const std::string& form : {utf16, utf8, "\xEF\xBB\xBF" + utf8, suite::Ansi(text)}) {
    media.Write(L"autorun.inf", form);
    found = ExamineDrive(drive.root());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->target.value_or(L"?"), drive.root() + L"病毒程序.exe");
  }
}

TEST(AutorunScan, ADriveThatDoesNotAnswerHoldsNeitherTheWindowThreadNorTheNextScan) {
  HANDLE answer = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> examined{false};
  AutorunScan scan([&](const std::wstring& root) -> std::optional<AutorunFinding> {
    WaitForSingleObject(answer, 10000);  // a drive that hangs until told
    examined = true;
    return AutorunFinding{root, DriveKind::Removable, root + L"autorun.inf"};
  });
  ASSERT_TRUE(scan.Start({L"Q:\\"}));
  EXPECT_FALSE(examined) << "the scan returned before the drive answered";
  EXPECT_TRUE(scan.Busy());
  EXPECT_FALSE(scan.Take());
  EXPECT_FALSE(scan.Start({L"Q:\\"})) << "no second scan piles up behind the hung one";
  SetEvent(answer);
  EXPECT_TRUE(suite::PumpUntil([&] { return !scan.Busy(); }, 5000));
  auto found = scan.Take();
  ASSERT_TRUE(found);
  ASSERT_EQ(found->size(), 1u);
  EXPECT_EQ((*found)[0].inf, L"Q:\\autorun.inf");
  EXPECT_FALSE(scan.Take()) << "taken once";
  CloseHandle(answer);
}
