// The control centre inside the loaded guard: the tray's left click, the untrusted processes of the
// process window, and a deleted start-up entry leaving the registry allow list.
#include "guard/startup/win/face_links.h"

#include <gtest/gtest.h>

#include <optional>

#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "guard/monitors/program_table.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/formfire.h"
#include "guard/process/process_actions.h"
#include "guard/process/process_rules.h"
#include "guard/guard_state.h"
#include "guard/startup/tray_text.h"
#include "guard/startup/win/frm_main.h"

using namespace zorvix;

namespace {

std::optional<std::wstring> SignedNothing(const std::wstring&) { return std::nullopt; }

// The guard's registry decision file, put back as it was after the test.
class SavedRegAskFile {
 public:
  SavedRegAskFile() : path_(RegAskFilePath()), before_(suite::ReadBytes(path_)) {}
  ~SavedRegAskFile() {
    if (before_)
      suite::WriteBytes(path_, *before_);
    else
      DeleteFileW(path_.c_str());
    LoadRegAskLists();
  }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
  std::optional<std::string> before_;
};

template <class List>
int RowOfPid(List& lvw, DWORD pid) {
  for (int i = 0; i < lvw.Count(); ++i)
    if (PidOf(lvw.Text(i, 1)) == pid) return i;
  return -1;
}

}  // namespace

TEST(FaceInGuard, TheTraysLeftClickOpensTheFirstPage) {
  FrmMain frm(SignedNothing);
  ASSERT_TRUE(frm.Load(L"1"));
  Formface& face = frm.formface();
  EXPECT_FALSE(face.loaded());
  SendMessageW(frm.tuopan().hwnd(), 0x205, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(face.loaded());
  EXPECT_TRUE(IsWindowVisible(face.hwnd()));
  EXPECT_EQ(face.pageType(), PageType::Home);
  EXPECT_EQ(TabCtrl_GetItemCount(face.tap()), kPageCount);

  face.SelectTab(int(PageType::Setup));
  frm.tuopan().Command(kTrayMain);  // "【Zorvix安全卫士】"
  EXPECT_EQ(face.pageType(), PageType::Home) << "opened again on its first tab";
  DestroyWindow(frm.hwnd());
  EXPECT_FALSE(face.loaded()) << "the guard's end closes it";
}

TEST(FaceInGuard, SystemPageListsTheUntrustedProcessesAndEndsOne) {
  suite::ChildProcess child;
  ASSERT_TRUE(child.started());
  FrmMain frm(SignedNothing);
  ASSERT_TRUE(frm.Load(L"2"));
  frm.table().ListProcess();
  Formface& face = frm.formface();
  face.Open(int(PageType::System));
  int untrusted = 0;
  for (int i = 0; i < frm.lvw().Count(); ++i) untrusted += frm.lvw().Text(i, kColTrust) == kUntrustedMark;
  EXPECT_EQ(face.lvw().Count(), untrusted);
  int row = RowOfPid(face.lvw(), child.pid());
  ASSERT_GE(row, 0);
  int source = RowOfPid(frm.lvw(), child.pid());
  for (int c = kColName; c <= kColRemark; ++c) EXPECT_EQ(face.lvw().Text(row, c), frm.lvw().Text(source, c)) << c;
  LVITEMW it{LVIF_IMAGE};
  it.iItem = row;
  ListView_GetItem(face.lvw().hwnd(), &it);
  EXPECT_GE(it.iImage, 0) << "the row keeps its icon";

  suite::MsgBoxAnswers answers;
  face.lvw().Select(row);
  face.Command4Click();
  ASSERT_FALSE(answers.shown().empty());
  EXPECT_EQ(answers.shown()[0].text, KillProcessConfirmText(face.lvw().Text(row, 0)));
  EXPECT_TRUE(child.WaitExit(5000));
  // The process window notices the end, and the page follows it.
  EXPECT_TRUE(suite::PumpUntil([&] { return RowOfPid(face.lvw(), child.pid()) < 0; }, 5000));
  DestroyWindow(frm.hwnd());
}

TEST(FaceInGuard, DeletingAnAllowedStartEntryTakesItOffTheAllowList) {
  const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::wstring name = L"zorvix-face-test";
  const std::wstring entry = L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\" + name;
  SavedRegAskFile saved;
  ASSERT_TRUE(suite::WriteText(saved.path(), L";" + entry + L";c:\\kept\\other\r\n;denied\r\n"));
  ASSERT_TRUE(common::WriteRegString(HKEY_CURRENT_USER, run, name, L"C:\\apps\\face-test.exe"));
  FrmMain frm(SignedNothing);
  ASSERT_TRUE(frm.Load(L"2"));
  Formface& face = frm.formface();
  face.Open(int(PageType::Start));
  int row = -1;
  for (int i = 0; i < face.lvw().Count(); ++i)
    if (face.lvw().Text(i, 0) == name) row = i;
  ASSERT_GE(row, 0);
  EXPECT_EQ(face.lvw().Text(row, 3), L"HKEY_CURRENT_USER\\" + run + L"\\" + name);
  suite::MsgBoxAnswers answers;
  face.lvw().Select(row);
  face.Command4Click();
  EXPECT_FALSE(common::QueryRegString(HKEY_CURRENT_USER, run, name));
  EXPECT_EQ(suite::ReadText(saved.path()), std::optional<std::wstring>(L";c:\\kept\\other\r\n;denied\r\n"));
  EXPECT_EQ(answers.shown().size(), 1u) << "only the question";
  DestroyWindow(frm.hwnd());
}

TEST(FaceInGuard, FirewallPageShowsTheProgramTableAndDeletesAnEntry) {
  common::DeleteSettingSection(kGuardApp, kFireWallSection);
  auto entry = [](int n, const wchar_t* name, const wchar_t* path, const wchar_t* status) {
    std::wstring k = std::to_wstring(n);
    common::SaveSetting(kGuardApp, kFireWallSection, k + L"Name", name);
    common::SaveSetting(kGuardApp, kFireWallSection, k + L"Path", path);
    common::SaveSetting(kGuardApp, kFireWallSection, k + L"Status", status);
  };
  entry(1, L"qq.exe", L"c:\\apps\\qq.exe", L"1");
  entry(2, L"bad.exe", L"C:\\Apps\\Bad.exe", L"0");
  entry(3, L"web.exe", L"c:\\apps\\web.exe", L"abc");
  common::SaveSetting(kGuardApp, kFireWallSection, L"3Attempts", L"7");
  common::SaveSetting(kGuardApp, kFireWallSection, L"ProgramCount", L"3");
  FrmMain frm(SignedNothing);
  ASSERT_TRUE(frm.Load(L"2"));
  Formface& face = frm.formface();
  face.Open(int(PageType::Net));
  ASSERT_EQ(face.lvw().Count(), 3);
  auto row = [&](int i) {
    return std::vector<std::wstring>{face.lvw().Text(i, 0), face.lvw().Text(i, 1), face.lvw().Text(i, 2)};
  };
  using V = std::vector<std::wstring>;
  EXPECT_EQ(row(0), (V{L"qq.exe", L"允许", L"c:\\apps\\qq.exe"}));
  EXPECT_EQ(row(1), (V{L"bad.exe", L"禁止", L"c:\\apps\\bad.exe"}));
  EXPECT_EQ(row(2), (V{L"web.exe", L"禁止", L"c:\\apps\\web.exe"}));

  suite::MsgBoxAnswers answers;
  face.lvw().Select(1);
  face.Command4Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"您确实要删除列表【 bad.exe 】吗？  ");
  EXPECT_EQ(common::GetSetting(kGuardApp, kFireWallSection, L"ProgramCount"), L"2");
  EXPECT_EQ(common::GetSetting(kGuardApp, kFireWallSection, L"2Name"), L"web.exe");
  EXPECT_EQ(common::GetSetting(kGuardApp, kFireWallSection, L"2Attempts"), L"7");
  EXPECT_FALSE(common::QuerySetting(kGuardApp, kFireWallSection, L"3Name"));
  ASSERT_EQ(face.lvw().Count(), 2) << "the page is read again";
  EXPECT_EQ(row(1), (V{L"web.exe", L"禁止", L"c:\\apps\\web.exe"}));

  face.lvw().Select(0);
  face.Command5Click();  // Explorer shows the program's folder; no message on this page
  EXPECT_EQ(answers.shown().size(), 1u);
  DestroyWindow(frm.hwnd());
  common::DeleteSettingSection(kGuardApp, kFireWallSection);
}

TEST(FaceInGuard, TheButtonAndTheMenuOpenTheFirewallWindowEachTheirWay) {
  FrmMain frm(SignedNothing);
  ASSERT_TRUE(frm.Load(L"2"));
  Formface& face = frm.formface();
  face.Open(1);
  Guard().autorunScanPaused = true;
  SendMessageW(face.hwnd(), WM_COMMAND, MAKEWPARAM(Formface::kIdCmd0 + 2, BN_CLICKED), LPARAM(face.cmd(2)));
  Formfire& fire = frm.formfire();
  EXPECT_TRUE(IsWindowVisible(fire.hwnd()));
  EXPECT_EQ(fire.ViewKind, kViewConnections);
  EXPECT_TRUE(fire.exitme) << "closing it only hides it";
  EXPECT_FALSE(Guard().autorunScanPaused);
  fire.QueryUnload();
  ASSERT_TRUE(fire.loaded());

  SendMessageW(face.hwnd(), WM_COMMAND, Formface::kMnuFirewall, 0);
  EXPECT_TRUE(IsWindowVisible(fire.hwnd()));
  EXPECT_FALSE(fire.exitme) << "the menu shows it as it is";

  suite::MsgBoxAnswers answers(IDCANCEL);
  SendMessageW(face.hwnd(), WM_COMMAND, Formface::kMnuClearAll, 0);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text.rfind(L"您确实要清除所有的监控列表项目吗？", 0), 0u);
  EXPECT_FALSE(frm.unloadme) << "Cancel keeps the guard running";
  DestroyWindow(frm.hwnd());
}
