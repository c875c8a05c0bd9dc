#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "common/win/text_file.h"

using namespace common;

namespace {
const std::wstring kApp = L"SuiteTestApp";
struct CleanApp {
  ~CleanApp() {
    for (auto& s : RegSubkeyNames(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\" + kApp))
      DeleteSettingSection(kApp, s);
    DeleteRegKey(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\" + kApp);
  }
};
}  // namespace

TEST(SettingsStore, RoundTripsChineseTextAndDeletesSections) {
  CleanApp clean;
  EXPECT_EQ(GetSetting(kApp, L"sec", L"key", L"默认"), L"默认");
  EXPECT_EQ(GetSettingNumber(kApp, L"sec", L"key"), 0);
  ASSERT_TRUE(SaveSetting(kApp, L"sec", L"key", L"中文 值 "));
  EXPECT_EQ(GetSetting(kApp, L"sec", L"key", L"默认"), L"中文 值 ");
  EXPECT_EQ(GetSettingNumber(kApp, L"sec", L"key"), 0);
  SaveSetting(kApp, L"sec", L"n", L"12");
  EXPECT_EQ(GetSettingNumber(kApp, L"sec", L"n"), 12);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SuiteTestApp\\sec", L"key"),
            L"中文 值 ");
  ASSERT_TRUE(DeleteSettingSection(kApp, L"sec"));
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SuiteTestApp\\sec"));
  EXPECT_EQ(GetSetting(kApp, L"sec", L"key", L"d"), L"d");
}

TEST(Registry, ReadsOnlyStringValuesCutAtNul) {
  const std::wstring key = L"Software\\SuiteTest\\Reg";
  WriteRegDword(HKEY_CURRENT_USER, key, L"d", 5);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, L"d"), L"");
  EXPECT_EQ(ReadRegDword(HKEY_CURRENT_USER, key, L"d"), 5u);
  HKEY h;
  RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &h);
  const wchar_t data[] = L"ab\0cd";
  RegSetValueExW(h, L"s", 0, REG_SZ, reinterpret_cast<const BYTE*>(data), sizeof data);
  RegCloseKey(h);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, key, L"s"), L"ab");
  EXPECT_EQ(RegValueNames(HKEY_CURRENT_USER, key).size(), 2u);
  EXPECT_TRUE(DeleteRegValue(HKEY_CURRENT_USER, key, L"s"));
  EXPECT_FALSE(DeleteRegValue(HKEY_CURRENT_USER, key, L"s"));
  DeleteRegValue(HKEY_CURRENT_USER, key, L"d");
  EXPECT_TRUE(DeleteRegKey(HKEY_CURRENT_USER, key));
}

TEST(Folders, AppFolderEndsInOneSeparatorAndLongNamesWork) {
  std::wstring app = AppFolder();
  ASSERT_FALSE(app.empty());
  EXPECT_EQ(app.back(), L'\\');
  EXPECT_NE(app.substr(app.size() - 2), L"\\\\");
  EXPECT_FALSE(GetWindowsFolder().empty());
  EXPECT_TRUE(FolderExists(GetSystemFolder()));
  EXPECT_FALSE(GetLogonUser().empty());
  suite::TempDir dir;
  std::wstring deep = dir.wpath();
  for (int i = 0; i < 12; ++i) deep += L"\\很长的文件夹名称abcdefghijklmnop";
  ASSERT_GT(deep.size(), 300u);
  std::filesystem::create_directories(std::filesystem::path(L"\\\\?\\" + deep));
  ASSERT_TRUE(WriteTextFile(deep + L"\\a.txt", L"深").ok());
  EXPECT_EQ(ReadFileText(deep + L"\\a.txt", kSmallFileCap), L"深");
  EXPECT_EQ(FileSize(deep + L"\\a.txt"), 2);
}

TEST(Ini, ReadsValuesLongerThanOldBuffers) {
  suite::TempDir dir;
  std::string longValue(600, 'v');
  std::wstring file = dir.Write(L"n.dat", "[sysdir]\r\nsvchost.exe=" + longValue + "\r\nk=\xCF\xB5\xCD\xB3\xBD\xF8\xB3\xCC\r\n");
  EXPECT_EQ(ReadIniString(L"sysdir", L"svchost.exe", file).size(), 600u);
  EXPECT_EQ(ReadIniString(L"sysdir", L"k", file), L"系统进程");
  EXPECT_EQ(ReadIniString(L"sysdir", L"none", file), L"");
  EXPECT_EQ(ReadIniString(L"sysdir", L"k", dir.wpath() + L"\\missing.dat"), L"");
  // Saved again by Notepad, as "Unicode" and as UTF-8.
  std::wstring text = L"[sysdir]\r\nk=系统进程\r\n";
  ASSERT_TRUE(WriteTextFile(file, text, {Encoding::Utf16Le, 2}).ok());
  EXPECT_EQ(ReadIniString(L"sysdir", L"k", file), L"系统进程");
  ASSERT_TRUE(WriteTextFile(file, text, {Encoding::Utf8, 0}).ok());
  EXPECT_EQ(ReadIniString(L"sysdir", L"k", file), L"系统进程");
}
