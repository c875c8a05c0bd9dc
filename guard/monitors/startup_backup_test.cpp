// The registry editor's file of deleted start-up values: text values shown as text when that gives their
// bytes back, everything else as its bytes, long data broken into continued lines.
#include "guard/monitors/startup_backup.h"

#include <gtest/gtest.h>

#include "common/text.h"

using namespace zorvix;

namespace {

std::vector<uint8_t> Wide(std::wstring_view text, bool withNul = true) {
  std::vector<uint8_t> bytes;
  for (wchar_t c : text) bytes.insert(bytes.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
  if (withNul) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

// The value's line(s) of an entry: what follows the key's line.
std::wstring ValueLines(const SavedRegValue& v) {
  std::wstring entry = RegFileEntry(v, L"note");
  size_t key = entry.find(L"]\r\n");
  return key == std::wstring::npos ? L"?" : entry.substr(key + 3);
}

}  // namespace

TEST(StartupBackupFile, AnEntryIsACommentTheKeyAndTheValue) {
  EXPECT_EQ(RegFileStart(), L"Windows Registry Editor Version 5.00\r\n");
  SavedRegValue v{L"HKEY_CURRENT_USER\\Software\\Run", L"Tool", 1, Wide(L"C:\\a \"b\".exe")};
  EXPECT_EQ(RegFileEntry(v, L"2024-01-02 03:04:05"),
            L"\r\n; 2024-01-02 03:04:05\r\n[HKEY_CURRENT_USER\\Software\\Run]\r\n"
            L"\"Tool\"=\"C:\\\\a \\\"b\\\".exe\"\r\n");
  v.name = L"";
  EXPECT_EQ(ValueLines(v), L"@=\"C:\\\\a \\\"b\\\".exe\"\r\n") << "the unnamed value";
  v.name = L"a\\\"b";
  EXPECT_TRUE(ValueLines(v).starts_with(L"\"a\\\\\\\"b\"=")) << "a name is escaped as the data is";
}

TEST(StartupBackupFile, ValuesTheTextFormWouldChangeAreWrittenAsBytes) {
  SavedRegValue v{L"HKEY_CURRENT_USER\\Run", L"v", 1, Wide(L"ab", false)};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(1):61,00,62,00\r\n") << "no ending NUL";
  v.data = Wide(L"a\r\nb");
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\r\n") << "a line break";
  v.data = {};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(1):\r\n");
  v = {L"HKEY_CURRENT_USER\\Run", L"v", 2, Wide(L"%A%")};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(2):25,00,41,00,25,00,00,00\r\n");
  v = {L"HKEY_CURRENT_USER\\Run", L"v", 4, {0x78, 0x56, 0x34, 0x12}};
  EXPECT_EQ(ValueLines(v), L"\"v\"=dword:12345678\r\n");
  v.data = {9};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(4):09\r\n") << "a number of the wrong size";
  v = {L"HKEY_CURRENT_USER\\Run", L"v", 3, {0xAB}};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex:ab\r\n");
  v = {L"HKEY_CURRENT_USER\\Run", L"v", 0x20001, {1}};
  EXPECT_EQ(ValueLines(v), L"\"v\"=hex(20001):01\r\n");
}

TEST(StartupBackupFile, LongDataIsBrokenIntoContinuedLines) {
  SavedRegValue v{L"HKEY_CURRENT_USER\\Run", L"long", 3, std::vector<uint8_t>(100, 0x5A)};
  std::wstring lines = ValueLines(v);
  std::vector<std::wstring> split = common::SplitLines(lines);
  ASSERT_GT(split.size(), 2u);
  size_t bytes = 0;
  for (size_t i = 0; i < split.size(); ++i) {
    const std::wstring& line = split[i];
    EXPECT_LE(line.size(), 80u);
    EXPECT_TRUE(i == 0 || line.starts_with(L"  ")) << i;
    EXPECT_TRUE(i + 1 == split.size() || line.ends_with(L",\\")) << i;
    for (size_t at = line.find(L"5a"); at != std::wstring::npos; at = line.find(L"5a", at + 2)) ++bytes;
  }
  EXPECT_EQ(bytes, 100u);
}
