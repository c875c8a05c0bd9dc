#include "common/win/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/testing/temp_dir.h"
#include "common/win/code_page.h"

namespace common {
namespace {

std::string Utf16Le(std::wstring_view t) { return *EncodeText(t, Encoding::Utf16Le, AnsiCodePage()); }

std::vector<std::wstring> Names(const suite::TempDir& dir) {
  std::vector<std::wstring> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CodePages, TheSystemsOwnWithoutBestFit) {
  ASSERT_EQ(GetACP(), 936u) << "the tests run with the Chinese locale";
  EXPECT_EQ(ToAnsi(L"中文"), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(ToAnsi(L"ñ"), std::nullopt);  // best fit would write "n"
  EXPECT_EQ(ToAnsi(L"예"), std::nullopt);
  EXPECT_EQ(FromAnsi("\xD6\xD0"), L"中");
  EXPECT_EQ(ChineseCodePage().Encode(L"門"), "\xE9\x54");
  EXPECT_TRUE(AnsiCodePage().IsLeadByte(0xD6));
  EXPECT_EQ(FromOem("abc"), L"abc");
}

// The forms Notepad and other programs save in, each read and written back byte for byte but for the
// edited line.
TEST(TextFiles, EachFormReadAndWrittenBackExceptTheEditedLine) {
  suite::TempDir dir;
  struct Case {
    std::string before;
    TextFormat form;
    std::string after;  // "中" put in place of the first line's "x"
  };
  const Case cases[] = {
      {"\xFF\xFE" + Utf16Le(L"x\r\nhttp://a.cn/\r\n"), {Encoding::Utf16Le, 2}, "\xFF\xFE" + Utf16Le(L"中\r\nhttp://a.cn/\r\n")},
      {std::string("\xFE\xFF\0x\0\r\0\n\x4E\x2D", 10), {Encoding::Utf16Be, 2}, std::string("\xFE\xFF\x4E\x2D\0\r\0\n\x4E\x2D", 10)},
      {"\xEF\xBB\xBFx\r\n\xC3\xB1\r\n", {Encoding::Utf8, 3}, "\xEF\xBB\xBF\xE4\xB8\xAD\r\n\xC3\xB1\r\n"},
      {"x\nhttp://\xE4\xB8\xAD.cn/\n", {Encoding::Utf8, 0}, "\xE4\xB8\xAD\nhttp://\xE4\xB8\xAD.cn/\n"},
      {"x\r\n\xD6\xD0\xCE\xC4\r\n", {Encoding::Ansi, 0}, "\xD6\xD0\r\n\xD6\xD0\xCE\xC4\r\n"},
      {"x\r\n;\xD6 lone\r\n\xFF\r\n", {Encoding::Ansi, 0}, "\xD6\xD0\r\n;\xD6 lone\r\n\xFF\r\n"},  // bad bytes kept
      {"x\r\nascii only\r\n", {Encoding::Ansi, 0}, "\xD6\xD0\r\nascii only\r\n"},
  };
  for (const Case& c : cases) {
    std::wstring path = dir.Write(L"list.txt", c.before);
    TextFile file = ReadTextFile(path, kSmallFileCap);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.exact);
    EXPECT_TRUE(file.editable());
    EXPECT_EQ(file.format, c.form) << c.before;
    ASSERT_EQ(file.text.substr(0, 1), L"x");
    ASSERT_TRUE(WriteTextFile(path, L"中" + file.text.substr(1), file.format).ok());
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.after) << c.before;
  }
}

TEST(TextFiles, ACharacterTheFormHasNotWritesNothingAndNamesItsLine) {
  suite::TempDir dir;
  std::wstring path = dir.Write(L"ask.dat", "old\r\n");
  TextWrite w = WriteTextFile(path, L";c:\\程序\\a.exe\r\n;c:\\프로그램\\a.exe\r\n");
  EXPECT_EQ(w.status, WriteStatus::kNotHeld);
  EXPECT_EQ(w.notHeld, L";c:\\프로그램\\a.exe");
  EXPECT_EQ(ReadFileBytes(path, kSmallFileCap).bytes, "old\r\n");
  EXPECT_EQ(Names(dir), std::vector<std::wstring>{L"ask.dat"});
  // The same text in a form that holds it.
  EXPECT_TRUE(WriteTextFile(path, L"프로그램", {Encoding::Utf16Le, 2}).ok());
  EXPECT_EQ(ReadFileText(path, kSmallFileCap), L"프로그램");
}

TEST(TextFiles, MissingUnreadableTooLargeAndDevicesAreToldApart) {
  suite::TempDir dir;
  TextFile missing = ReadTextFile(dir.wpath() + L"\\none.txt", kSmallFileCap);
  EXPECT_EQ(missing.status, ReadStatus::kMissing);
  EXPECT_TRUE(missing.editable());  // an editor may create it
  EXPECT_EQ(missing.format, TextFormat{});
  EXPECT_EQ(ReadFileBytes(dir.wpath() + L"\\no\\such\\folder.txt", 10).status, ReadStatus::kMissing);
  std::wstring big = dir.Write(L"big.dat", std::string(101, 'a'));
  EXPECT_EQ(ReadTextFile(big, 100).status, ReadStatus::kTooLarge);
  EXPECT_FALSE(ReadTextFile(big, 100).editable());
  EXPECT_EQ(ReadFileBytes(big, 101).bytes.size(), 101u);
  EXPECT_EQ(ReadFileBytes(dir.wpath(), 100).status, ReadStatus::kUnreadable);  // a folder
  EXPECT_EQ(ReadFileBytes(L"\\\\.\\NUL", 100).status, ReadStatus::kUnreadable);  // a device is never read
  HANDLE locked = CreateFileW(big.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadFileBytes(big, 1000).status, ReadStatus::kUnreadable);
  CloseHandle(locked);
  std::wstring odd = dir.Write(L"odd.txt", "\xFF\xFE" "a");
  EXPECT_TRUE(ReadTextFile(odd, 100).ok());
  EXPECT_FALSE(ReadTextFile(odd, 100).editable());
}

TEST(AtomicWrite, ReplacesWholeKeepsAttributesAndNeverTouchesOtherFiles) {
  suite::TempDir dir;
  std::wstring path = dir.Write(L"页面.his", "old");
  std::wstring users = dir.Write(L"页面.his.new", "the user's own file");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "new");
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadFileBytes(users, 100).bytes, "the user's own file");
  EXPECT_EQ(Names(dir), (std::vector<std::wstring>{L"页面.his", L"页面.his.new"}));
  // A new file, and an empty one.
  ASSERT_TRUE(WriteFileAtomically(dir.wpath() + L"\\new.txt", ""));
  EXPECT_TRUE(ReadFileBytes(dir.wpath() + L"\\new.txt", 10).ok());
}

TEST(AtomicWrite, AFailedReplaceLeavesTheOldFileAndNoTemporaryFile) {
  suite::TempDir dir;
  std::wstring path = dir.Write(L"locked.txt", "old");
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  CloseHandle(h);
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "old");
  EXPECT_EQ(Names(dir), std::vector<std::wstring>{L"locked.txt"});
  EXPECT_FALSE(WriteFileAtomically(dir.wpath() + L"\\no\\folder.txt", "x"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "old");
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Names(dir), std::vector<std::wstring>{L"locked.txt"});
}

TEST(AtomicWrite, LongPathsAndLongNames) {
  suite::TempDir dir;
  std::wstring deep = dir.wpath();
  for (int i = 0; i < 12; ++i) deep += L"\\很长的文件夹名称abcdefghijklmnop";
  std::filesystem::create_directories(std::filesystem::path(L"\\\\?\\" + deep));
  std::wstring name = deep + L"\\" + std::wstring(240, L'n') + L".txt";
  ASSERT_TRUE(WriteTextFile(name, L"深").ok());
  ASSERT_TRUE(WriteTextFile(name, L"深深").ok());
  EXPECT_EQ(ReadFileText(name, 10), L"深深");
}

TEST(RangeRead, AnyPartOfAFileOfAnySize) {
  suite::TempDir dir;
  std::wstring path = dir.Write(L"part.txt", "0123456789");
  std::string bytes;
  uint64_t size = 0;
  EXPECT_EQ(ReadFileRange(path, 0, 4, bytes, &size), ReadStatus::kRead);
  EXPECT_EQ(bytes, "0123");
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(ReadFileRange(path, 7, 100, bytes), ReadStatus::kRead);
  EXPECT_EQ(bytes, "789");
  EXPECT_EQ(ReadFileRange(path, 50, 4, bytes), ReadStatus::kRead);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(ReadFileRange(dir.wpath() + L"\\none.txt", 0, 4, bytes), ReadStatus::kMissing);
  EXPECT_EQ(ReadFileRange(L"\\\\.\\NUL", 0, 4, bytes), ReadStatus::kUnreadable);
}

TEST(InPlaceWrite, TheFileKeepsItsNamesAndNothingIsLeftBeside) {
  suite::TempDir dir, other;
  std::wstring path = dir.Write(L"one.txt", "old content");
  std::wstring second = other.wpath() + L"\\second name.txt";
  ASSERT_TRUE(CreateHardLinkW(second.c_str(), path.c_str(), nullptr));
  FileIdentity before = IdentifyFile(path);
  ASSERT_TRUE(before.ok);
  EXPECT_EQ(before.names, 2u);
  EXPECT_TRUE(before.shared());
  EXPECT_FALSE(before.throughLink);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(WriteFileInPlace(path, "new"));
  EXPECT_EQ(ReadFileBytes(path, 100).bytes, "new");
  EXPECT_EQ(ReadFileBytes(second, 100).bytes, "new");  // one file still, under both names
  EXPECT_EQ(IdentifyFile(path).names, 2u);
  EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Names(dir), std::vector<std::wstring>{L"one.txt"});
  // A plain file of one name is nobody else's.
  std::wstring plain = dir.Write(L"plain.txt", "x");
  EXPECT_FALSE(IdentifyFile(plain).shared());
  EXPECT_FALSE(IdentifyFile(dir.wpath() + L"\\none.txt").ok);
}

TEST(InPlaceWrite, ALockedOrReadOnlyFileIsLeftAsItWas) {
  suite::TempDir dir;
  std::wstring path = dir.Write(L"one.txt", "old");
  HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteFileInPlace(path, "new"));
  CloseHandle(reader);
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "old");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(WriteFileInPlace(path, "new"));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "old");
  EXPECT_FALSE(WriteFileInPlace(dir.wpath() + L"\\none.txt", "new"));
  EXPECT_EQ(Names(dir), std::vector<std::wstring>{L"one.txt"});
}

}  // namespace
}  // namespace common
