// The installed-programs page under Wine: three places read, each program once, names of any length, and
// uninstall commands started as Windows starts them.
#include "guard/control/win/uninstall_entries.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/text.h"
#include "guard/control/win/testing/face_fixture.h"

using namespace zorvix;
using test_support::FaceTest;
using test_support::kScratchUninstall;
using test_support::ScratchKeys;

namespace {

void Entry(HKEY root, REGSAM view, const std::wstring& subkey, const std::wstring& name, const std::wstring& command,
           const std::wstring& help = L"") {
  std::wstring key = kScratchUninstall + L"\\" + subkey;
  ASSERT_TRUE(ScratchKeys::Write(root, key, L"DisplayName", name, view));
  ASSERT_TRUE(ScratchKeys::Write(root, key, L"UninstallString", command, view));
  if (!help.empty()) {
    ASSERT_TRUE(ScratchKeys::Write(root, key, L"HelpLink", help, view));
  }
}

// A copy of the test program in a folder with blanks, under a name with a blank.
std::wstring ProgramWithBlanks(const suite::TempDir& dir) {
  std::filesystem::path folder = dir.path() / L"un inst";
  std::filesystem::create_directories(folder);
  std::filesystem::path exe = folder / L"un inst.exe";
  std::filesystem::copy_file(suite::BinFolder() + L"suite_child.exe", exe);
  return exe.wstring();
}

}  // namespace

TEST_F(FaceTest, SetupPageListsTheProgramsOfAllThreePlacesOnce) {
  const REGSAM v64 = KEY_WOW64_64KEY, v32 = KEY_WOW64_32KEY;
  for (auto [root, view] : {std::pair{HKEY_LOCAL_MACHINE, v64}, {HKEY_LOCAL_MACHINE, v32}, {HKEY_CURRENT_USER, v64}})
    Entry(root, view, L"Shared", L"Shared Tool 1.0", L"C:\\Program Files\\Shared\\uninst.exe", L"http://shared.example/");
  Entry(HKEY_LOCAL_MACHINE, v32, L"Old32", L"Old 32-bit Tool", L"MsiExec.exe /X{0000-1111}");
  Entry(HKEY_CURRENT_USER, v64, L"Mine", L"个人工具", L"C:\\Users\\me\\AppData\\Local\\Mine\\remove.exe");
  Entry(HKEY_LOCAL_MACHINE, v64, L"KB123", L"Windows XP Hotfix (KB123)", L"C:\\hotfix.exe");
  Entry(HKEY_CURRENT_USER, v64, L"Nameless", L"", L"C:\\nameless.exe");
  // A name as long as the registry allows, each character two bytes in the code page.
  std::wstring longName(255, L'长');
  Entry(HKEY_LOCAL_MACHINE, v64, longName, L"长名程序", L"C:\\long\\un.exe");

  Formface& f = Open(int(PageType::Setup));
  std::vector<std::wstring> names;
  for (int i = 0; i < f.lvw().Count(); ++i) names.push_back(f.lvw().Text(i, 0));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Old 32-bit Tool", L"Shared Tool 1.0", L"个人工具", L"长名程序"}));
  EXPECT_EQ(Row(FindRow(0, L"Shared Tool 1.0"), 3),
            (std::vector<std::wstring>{L"Shared Tool 1.0", L"C:\\Program Files\\Shared\\uninst.exe",
                                       L"http://shared.example/"}));
  EXPECT_EQ(f.lvw().Text(FindRow(0, L"Old 32-bit Tool"), 1), L"MsiExec.exe /X{0000-1111}");

  HKEY h = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kScratchUninstall.c_str(), 0, KEY_READ | v64, &h), ERROR_SUCCESS);
  std::vector<std::wstring> subkeys = SubkeyNames(h);
  RegCloseKey(h);
  EXPECT_NE(std::find(subkeys.begin(), subkeys.end(), longName), subkeys.end()) << "the whole name is read";
}

TEST_F(FaceTest, AnExpandableUninstallCommandIsExpanded) {
  std::wstring key = kScratchUninstall + L"\\Expand";
  ScratchKeys::Write(HKEY_CURRENT_USER, key, L"DisplayName", L"Expand Tool");
  ScratchKeys::Write(HKEY_CURRENT_USER, key, L"UninstallString", L"%SystemRoot%\\expand-un.exe", KEY_WOW64_64KEY,
                     REG_EXPAND_SZ);
  Formface& f = Open(int(PageType::Setup));
  wchar_t windows[MAX_PATH]{};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_TRUE(common::EqualsNoCase(f.lvw().Text(FindRow(0, L"Expand Tool"), 1),
                                   std::wstring(windows) + L"\\expand-un.exe"));
}

TEST_F(FaceTest, UninstallRunsTheCommandAsWindowsDoesAndReportsOneThatCannotStart) {
  suite::TempDir dir;
  std::wstring exe = ProgramWithBlanks(dir);
  // Unquoted, blanks in the path, and arguments: the system finds the program as it would.
  Entry(HKEY_CURRENT_USER, KEY_WOW64_64KEY, L"Blanks", L"Blank Tool", exe + L" --window 卸载测试窗口");
  Entry(HKEY_CURRENT_USER, KEY_WOW64_64KEY, L"Missing", L"Missing Tool", L"C:\\nowhere at all\\gone.exe /S");
  Entry(HKEY_CURRENT_USER, KEY_WOW64_64KEY, L"Empty", L"Empty Tool", L"");
  Formface& f = Open(int(PageType::Setup));

  f.lvw().Select(FindRow(0, L"Blank Tool"));
  answers.Queue(IDCANCEL);
  f.Command4Click();
  EXPECT_EQ(answers.shown().back().text, L"您确实要卸载【 Blank Tool 】这个应用程序吗？");
  f.Command4Click();
  HWND shown = nullptr;
  EXPECT_TRUE(suite::PumpUntil([&] { return (shown = FindWindowW(L"SuiteChild", L"卸载测试窗口")) != nullptr; }, 8000));
  ASSERT_EQ(answers.shown().size(), 2u) << "a command that started reports nothing";
  if (shown) PostMessageW(shown, WM_CLOSE, 0, 0);

  f.lvw().Select(FindRow(0, L"Missing Tool"));
  f.Command4Click();
  ASSERT_EQ(answers.shown().size(), 4u);
  EXPECT_EQ(answers.shown()[3].text.rfind(UninstallFailedText(L"C:\\nowhere at all\\gone.exe /S", L""), 0), 0u);
  EXPECT_EQ(answers.shown()[3].flags & MB_ICONMASK, UINT(MB_ICONWARNING));

  f.lvw().Select(FindRow(0, L"Empty Tool"));
  f.Command4Click();
  ASSERT_EQ(answers.shown().size(), 6u);
  EXPECT_EQ(answers.shown()[5].text, L"对不起，该程序无法卸载……    ");
  // The copied program may still be closing; the folder goes when it has.
  suite::PumpUntil([] { return FindWindowW(L"SuiteChild", L"卸载测试窗口") == nullptr; }, 5000);
  suite::PumpFor(300);
}
