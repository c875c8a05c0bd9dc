#include "browser/tools/win/default_browser.h"

#include <gtest/gtest.h>
#include <sddl.h>

#include <optional>

#include "browser/shell/win/frm_main.h"
#include "browser/tools/options.h"
#include "common/explorer_entries.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"

namespace corvane {
namespace {

constexpr wchar_t kOpen[] = L"HTTP\\shell\\open\\command";
constexpr wchar_t kDde[] = L"http\\shell\\open\\ddeexec\\Application";
constexpr wchar_t kExe[] = L"C:\\Program Files\\Corvane 3\\corvane.exe";

// A key's default value exactly: absent key, absent value, or type and bytes.
struct Raw {
  bool key = false, value = false;
  DWORD type = 0;
  std::string data;
  bool operator==(const Raw&) const = default;
};

Raw Read(HKEY root, const wchar_t* key) {
  Raw r;
  HKEY h;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return r;
  r.key = true;
  DWORD size = 0;
  if (RegQueryValueExW(h, nullptr, nullptr, &r.type, nullptr, &size) == ERROR_SUCCESS) {
    r.value = true;
    r.data.assign(size, '\0');
    RegQueryValueExW(h, nullptr, nullptr, &r.type, reinterpret_cast<BYTE*>(r.data.data()), &size);
  }
  RegCloseKey(h);
  return r;
}

// A scratch tree standing for HKEY_CLASSES_ROOT.
class Classes : public ::testing::Test {
 protected:
  void SetUp() override {
    common::DeleteSettingSection(kApp, L"navigation");
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    RegCreateKeyExW(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr);
  }
  void TearDown() override {
    RegCloseKey(root);
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    RegDeleteKeyW(HKEY_CURRENT_USER, kScratch);
    common::DeleteSettingSection(kApp, L"navigation");
  }
  static constexpr wchar_t kScratch[] = L"Software\\ZorvixTests\\Classes";
  HKEY root = nullptr;
};

TEST_F(Classes, SetWritesAQuotedCommandWithTheAddress) {
  ASSERT_EQ(SetNavigation(kExe, root), NavigationResult::kDone);
  EXPECT_EQ(common::ReadRegString(root, kOpen, L""), L"\"C:\\Program Files\\Corvane 3\\corvane.exe\" \"%1\"");
  EXPECT_EQ(common::ReadRegString(root, kDde, L""), L"Corvane安全浏览器");
}

TEST_F(Classes, CancelPutsBackExactlyWhatWasThere) {
  // A command of another program (an expandable string), and no DDE keys at all.
  std::wstring other = L"\"%ProgramFiles%\\Other\\other.exe\" -url \"%1\"";
  HKEY h;
  RegCreateKeyExW(root, kOpen, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr);
  RegSetValueExW(h, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                 DWORD((other.size() + 1) * 2));
  RegCloseKey(h);
  common::WriteRegString(root, L"http\\shell\\open", L"", L"");  // the key without ddeexec
  Raw open = Read(root, kOpen), dde = Read(root, kDde);
  ASSERT_TRUE(open.value);
  ASSERT_FALSE(dde.key);

  ASSERT_EQ(SetNavigation(kExe, root), NavigationResult::kDone);
  ASSERT_EQ(SetNavigation(kExe, root), NavigationResult::kDone);  // again: the first saved values stay
  ASSERT_EQ(CancelNavigation(root, kExe), NavigationResult::kDone);
  EXPECT_EQ(Read(root, kOpen), open);
  EXPECT_EQ(Read(root, kDde), dde);
  EXPECT_FALSE(common::RegKeyExists(root, L"http\\shell\\open\\ddeexec"));  // made by the command, gone again
  EXPECT_TRUE(common::RegKeyExists(root, L"http\\shell\\open"));
  EXPECT_FALSE(common::QuerySetting(kApp, L"navigation", L"open").has_value());
}

TEST_F(Classes, CancelWithNothingSavedWritesNothing) {
  common::WriteRegString(root, kOpen, L"", L"\"C:\\x.exe\" \"%1\"");
  Raw before = Read(root, kOpen);
  EXPECT_EQ(CancelNavigation(root, kExe), NavigationResult::kNothingSaved);
  EXPECT_EQ(Read(root, kOpen), before);
  EXPECT_FALSE(common::RegKeyExists(root, L"http\\shell\\open\\ddeexec"));
}

TEST_F(Classes, CancelLeavesTheBrowserRegisteredSinceAlone) {
  common::WriteRegString(root, kOpen, L"", L"\"C:\\old\\old.exe\" \"%1\"");
  ASSERT_EQ(SetNavigation(kExe, root), NavigationResult::kDone);
  // Another browser takes the open command; the DDE value is still ours.
  common::WriteRegString(root, kOpen, L"", L"\"C:\\other\\other.exe\" \"%1\"");
  EXPECT_EQ(CancelNavigation(root, kExe), NavigationResult::kTakenOver);
  EXPECT_EQ(common::ReadRegString(root, kOpen, L""), L"\"C:\\other\\other.exe\" \"%1\"");
  EXPECT_FALSE(common::RegKeyExists(root, L"http\\shell\\open\\ddeexec"));  // ours went back to nothing
  EXPECT_FALSE(common::QuerySetting(kApp, L"navigation", L"open").has_value());  // the record is dropped
  // The user is told what happened.
  ASSERT_EQ(SetNavigation(kExe, root), NavigationResult::kDone);
  common::WriteRegString(root, kOpen, L"", L"\"C:\\other\\other.exe\" \"%1\"");
  common::WriteRegString(root, kDde, L"", L"Other");
  suite::MsgBoxAnswers answers;
  cancelnavigation(nullptr, root);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kNavigationTakenOver);
  EXPECT_EQ(common::ReadRegString(root, kDde, L""), L"Other");
}

TEST_F(Classes, CancelWithNothingSavedButOurCommandSaysSo) {
  common::WriteRegString(root, kOpen, L"", common::OpenCommand(common::ExePath()));
  Raw before = Read(root, kOpen);
  EXPECT_EQ(CancelNavigation(root), NavigationResult::kOursUnsaved);
  suite::MsgBoxAnswers answers;
  cancelnavigation(nullptr, root);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kNavigationNotSaved);
  EXPECT_EQ(Read(root, kOpen), before);
}

// A volatile key takes no lasting subkeys: writes below it fail, as they do without the rights.
void MakeVolatile(HKEY root, const wchar_t* key) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExW(root, key, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(h);
}

TEST_F(Classes, FailuresAreReportedAndNothingIsLeft) {
  MakeVolatile(root, L"HTTP");
  suite::MsgBoxAnswers answers;
  setnavigation(nullptr, root);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kSetNavigationFailed);
  EXPECT_FALSE(common::RegKeyExists(root, L"HTTP\\shell"));
  // Nothing was replaced, so nothing is kept to be put back.
  EXPECT_FALSE(common::QuerySetting(kApp, L"navigation", L"open").has_value());
  cancelnavigation(nullptr, root);
  EXPECT_EQ(answers.shown().size(), 1u);
}

void SetDacl(HKEY key, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr));
  EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
  LocalFree(sd);
}

TEST_F(Classes, SavedValuesThatCannotBeWrittenBackAreKept) {
  common::WriteRegString(root, kOpen, L"", L"\"C:\\x.exe\" \"%1\"");
  suite::MsgBoxAnswers answers;
  setnavigation(nullptr, root);
  ASSERT_TRUE(answers.shown().empty());
  // Our command stays readable, but nothing may be written there now.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root, kOpen, 0, WRITE_DAC, &key), ERROR_SUCCESS);
  SetDacl(key, L"D:(A;;KR;;;WD)");
  cancelnavigation(nullptr, root);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kCancelNavigationFailed);
  EXPECT_TRUE(common::QuerySetting(kApp, L"navigation", L"open").has_value());
  EXPECT_FALSE(common::QuerySetting(kApp, L"navigation", L"ddeexec").has_value());  // that one went back
  // Once the key can be written again, a later try puts the value back.
  SetDacl(key, L"D:(A;;KA;;;WD)");
  RegCloseKey(key);
  EXPECT_EQ(CancelNavigation(root), NavigationResult::kDone);
  EXPECT_EQ(common::ReadRegString(root, kOpen, L""), L"\"C:\\x.exe\" \"%1\"");
}

TEST_F(Classes, AValueThatCannotBeReadIsNeitherReplacedNorRemoved) {
  common::WriteRegString(root, kOpen, L"", L"\"C:\\x.exe\" \"%1\"");
  HKEY key = nullptr, probe = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root, kOpen, 0, WRITE_DAC, &key), ERROR_SUCCESS);
  SetDacl(key, L"D:(A;;0x10006;;;WD)");  // set values, make subkeys and delete; no reading
  ASSERT_EQ(RegOpenKeyExW(root, kOpen, 0, KEY_QUERY_VALUE, &probe), ERROR_ACCESS_DENIED);
  suite::MsgBoxAnswers answers;
  setnavigation(nullptr, root);
  EXPECT_EQ(answers.shown().size(), 1u);
  EXPECT_FALSE(common::QuerySetting(kApp, L"navigation", L"open").has_value());
  SetDacl(key, L"D:(A;;KA;;;WD)");
  RegCloseKey(key);
  EXPECT_EQ(common::ReadRegString(root, kOpen, L""), L"\"C:\\x.exe\" \"%1\"");
}

// The real classes of the test system: set, then cancel, leaves them as they were.
TEST(DefaultBrowser, RoundTripOnTheClassesRoot) {
  common::DeleteSettingSection(kApp, L"navigation");
  Raw open = Read(HKEY_CLASSES_ROOT, kOpen), dde = Read(HKEY_CLASSES_ROOT, kDde);
  suite::MsgBoxAnswers answers;
  setnavigation(nullptr);
  ASSERT_TRUE(answers.shown().empty()) << "the test system refused the write";
  std::wstring command = common::ReadRegString(HKEY_CLASSES_ROOT, kOpen, L"");
  EXPECT_EQ(command.find(L"\" \"%1\""), command.size() - 6) << command;
  EXPECT_EQ(command.front(), L'"');
  cancelnavigation(nullptr);
  EXPECT_TRUE(answers.shown().empty());
  EXPECT_EQ(Read(HKEY_CLASSES_ROOT, kOpen), open);
  EXPECT_EQ(Read(HKEY_CLASSES_ROOT, kDde), dde);
}

}  // namespace
}  // namespace corvane
