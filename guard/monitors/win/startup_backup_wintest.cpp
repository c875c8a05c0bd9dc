// The backup of deleted start-up values against the real registry and the system's registry editor: what
// the guard deleted, the editor puts back with its type and bytes, in either root and view.
#include "guard/monitors/win/startup_backup.h"

#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/text_files.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/testing/reg_values.h"
#include "guard/monitors/win/testing/scratch_keys.h"

using namespace zorvix;
using namespace zorvix::test_support;

namespace {

RawValue Bytes(DWORD type, std::initializer_list<int> bytes) {
  RawValue v{type, {}};
  for (int b : bytes) v.data.push_back(BYTE(b));
  return v;
}

struct Case {
  RegRoot root;
  RegView view;
  std::wstring name;
  RawValue value;
};

HKEY Root(RegRoot r) { return r == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
REGSAM View(RegView v) { return v == RegView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

LONG WINAPI RefuseDelete(HKEY, LPCWSTR) { return ERROR_ACCESS_DENIED; }

}  // namespace

TEST(StartupBackup, EveryKindOfValueDeletedComesBackByteForByteThroughTheRegistryEditor) {
  suite::TempDir folder;
  ScratchKeys user, machine(HKEY_LOCAL_MACHINE);
  RawValue binary{REG_BINARY, {}};
  for (int i = 0; i < 200; ++i) binary.data.push_back(BYTE(i * 7));
  const std::vector<Case> cases = {
      {RegRoot::CurrentUser, RegView::Native, L"plain", TextValue(L"\"C:\\Program Files\\Tool\\tool.exe\" -s")},
      {RegRoot::CurrentUser, RegView::Native, L"", TextValue(L"C:\\unnamed.exe")},
      {RegRoot::CurrentUser, RegView::Native, L"名字 \"quoted\" \\ slash", TextValue(L"C:\\程序\\工具.exe \"%1\"")},
      {RegRoot::CurrentUser, RegView::Native, L"expand", TextValue(L"%SystemRoot%\\x.exe", REG_EXPAND_SZ)},
      {RegRoot::CurrentUser, RegView::Native, L"multi", Bytes(REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
      {RegRoot::CurrentUser, RegView::Native, L"lines", TextValue(L"a.exe\r\nb.exe")},
      {RegRoot::CurrentUser, RegView::Native, L"empty", Bytes(REG_SZ, {})},
      {RegRoot::CurrentUser, RegView::Native, L"dword", Bytes(REG_DWORD, {1, 2, 3, 0xF4})},
      {RegRoot::CurrentUser, RegView::Native, L"short dword", Bytes(REG_DWORD, {9})},
      {RegRoot::CurrentUser, RegView::Native, L"qword", Bytes(REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8})},
      {RegRoot::CurrentUser, RegView::Native, L"binary", binary},
      {RegRoot::LocalMachine, RegView::Native, L"native", TextValue(L"C:\\x64\\tool.exe")},
      {RegRoot::LocalMachine, RegView::Wow32, L"thirty-two", TextValue(L"C:\\x86\\tool.exe")},
  };
  // (A text stored without its ending NUL is not among them: the system's own write of a text value adds
  // the NUL, so no importer gives those bytes back.)
  const std::wstring file = StartupBackupPath(folder.wpath());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchKeys& keys = c.root == RegRoot::LocalMachine ? machine : user;
    ASSERT_TRUE(WriteRaw(Root(c.root), keys.Key(L"Run"), c.name, c.value, View(c.view)));
    ASSERT_EQ(ReadRaw(Root(c.root), keys.Key(L"Run"), c.name, View(c.view)), c.value);
    EXPECT_EQ(DeleteStartValue(c.root, keys.Key(L"Run"), c.view, c.name, file), StartDelete::Deleted);
    EXPECT_FALSE(ReadRaw(Root(c.root), keys.Key(L"Run"), c.name, View(c.view)));
  }
  auto bytes = suite::ReadBytes(file);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 2), "\xFF\xFE") << "UTF-16 with its mark";
  auto text = suite::ReadText(file);
  ASSERT_TRUE(text);
  EXPECT_TRUE(text->starts_with(L"Windows Registry Editor Version 5.00\r\n"));
  EXPECT_NE(text->find(L"\\WOW6432Node\\ZorvixTest\\"), std::wstring::npos) << "the 32-bit view's key";

  ASSERT_TRUE(ImportWithRegedit(file));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchKeys& keys = c.root == RegRoot::LocalMachine ? machine : user;
    EXPECT_EQ(ReadRaw(Root(c.root), keys.Key(L"Run"), c.name, View(c.view)), c.value);
  }
  EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, machine.Key(L"Run"), L"thirty-two", KEY_WOW64_64KEY))
      << "back in its own view only";
}

TEST(StartupBackup, AValueThatCannotBeSavedIsNotDeletedAndARefusedDeleteKeepsIt) {
  suite::TempDir folder;
  ScratchKeys keys;
  const RawValue value = TextValue(L"C:\\apps\\kept.exe");
  ASSERT_TRUE(WriteRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"kept", value));
  const std::wstring file = StartupBackupPath(folder.wpath());
  folder.Write(L"sys\\startup-backup.reg", "\xFF\xFE");
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(DeleteStartValue(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native, L"kept", file),
            StartDelete::NotSaved);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"kept"), value);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_EQ(DeleteStartValue(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native, L"kept", file, RefuseDelete),
            StartDelete::Refused);
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"kept"), value);
  EXPECT_EQ(DeleteStartValue(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native, L"none", file),
            StartDelete::Missing);
  EXPECT_EQ(DeleteStartValue(RegRoot::CurrentUser, keys.Key(L"Missing"), RegView::Native, L"kept", file),
            StartDelete::Missing);
}

TEST(StartupBackup, LaterValuesAreAddedToTheFileInTheFormItIsIn) {
  suite::TempDir folder;
  ScratchKeys keys;
  const std::wstring file = StartupBackupPath(folder.wpath());
  // Kept by hand in the code page, with an entry of its own: both stay.
  folder.Write(L"sys\\startup-backup.reg", suite::Ansi(L"Windows Registry Editor Version 5.00\r\n\r\n; 手写\r\n"));
  ASSERT_TRUE(WriteRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"one", TextValue(L"C:\\one.exe")));
  ASSERT_TRUE(WriteRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"two", TextValue(L"C:\\two.exe")));
  for (const wchar_t* name : {L"one", L"two"})
    ASSERT_EQ(DeleteStartValue(RegRoot::CurrentUser, keys.Key(L"Run"), RegView::Native, name, file),
              StartDelete::Deleted);
  auto bytes = suite::ReadBytes(file);
  ASSERT_TRUE(bytes);
  EXPECT_NE(bytes->substr(0, 2), "\xFF\xFE") << "still the code page's";
  auto text = suite::ReadText(file);
  ASSERT_TRUE(text);
  EXPECT_TRUE(text->starts_with(L"Windows Registry Editor Version 5.00\r\n\r\n; 手写\r\n"));
  ASSERT_TRUE(ImportWithRegedit(file));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"one"), TextValue(L"C:\\one.exe"));
  EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, keys.Key(L"Run"), L"two"), TextValue(L"C:\\two.exe"));
}
