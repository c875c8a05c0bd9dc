// The case folding and path resolving that the programs take from the platform.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/text.h"

using namespace common;

TEST(PlatformText, FoldingAgreesWithOrdinalComparisonForEveryUnit) {
  int folded = 0;
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    wchar_t a = wchar_t(c);
    for (wchar_t b : {ToUpper(std::wstring(1, a))[0], ToLower(std::wstring(1, a))[0]}) {
      if (b == a) continue;
      ++folded;
      ASSERT_EQ(CompareStringOrdinal(&a, 1, &b, 1, TRUE), CSTR_EQUAL) << std::hex << c;
      ASSERT_TRUE(EqualsNoCase(std::wstring(1, a), std::wstring(1, b))) << std::hex << c;
    }
  }
  EXPECT_GT(folded, 1000);  // Latin, Greek, Cyrillic, Armenian, full-width letters...
  EXPECT_TRUE(EqualsNoCase(L"ＡＢＣ", L"ａｂｃ"));
  EXPECT_FALSE(EqualsNoCase(L"中", L"申"));
}

TEST(PlatformText, ExtendedPathResolvesDotsSlashesAndRelativeParts) {
  suite::TempDir dir;
  std::wstring base = dir.wpath();
  std::wstring file = dir.Write(L"sub\\f.txt", "x");
  std::wstring typed = base + L"\\sub\\..\\sub\\.\\f.txt";
  EXPECT_EQ(ExtendedPath(typed), L"\\\\?\\" + file);
  std::wstring slashed = typed;
  for (auto& c : slashed)
    if (c == L'\\') c = L'/';
  EXPECT_EQ(ExtendedPath(slashed), L"\\\\?\\" + file);
  EXPECT_NE(GetFileAttributesW(ExtendedPath(slashed).c_str()), INVALID_FILE_ATTRIBUTES);

  wchar_t old[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, old);
  SetCurrentDirectoryW((base + L"\\sub").c_str());
  EXPECT_EQ(ExtendedPath(L"f.txt"), L"\\\\?\\" + file);
  EXPECT_EQ(ExtendedPath(L".\\..\\sub\\f.txt"), L"\\\\?\\" + file);
  SetCurrentDirectoryW(old);
}

TEST(PlatformText, ExtendedPathWorksBeyond260Characters) {
  suite::TempDir dir;
  std::wstring deep = dir.wpath();
  while (deep.size() < 400) {
    deep += L"\\folder-with-a-long-name-文件夹";
    ASSERT_TRUE(CreateDirectoryW(ExtendedPath(deep).c_str(), nullptr));
  }
  std::wstring viaDots = deep + L"\\..\\" + FileNameOf(deep) + L"\\.\\f.txt";
  HANDLE h = CreateFileW(ExtendedPath(viaDots).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(ExtendedPath(viaDots), L"\\\\?\\" + deep + L"\\f.txt");
  EXPECT_NE(GetFileAttributesW(ExtendedPath(deep + L"\\f.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  // The files of this test are too deep for the temporary folder's own clean-up.
  DeleteFileW(ExtendedPath(deep + L"\\f.txt").c_str());
  for (std::wstring d = deep; d.size() > dir.wpath().size(); d = FolderOf(d)) RemoveDirectoryW(ExtendedPath(d).c_str());
}
