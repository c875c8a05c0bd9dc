#include "common/text.h"

#include <gtest/gtest.h>

#include "common/path.h"
#include "common/settings.h"

using namespace common;

TEST(Text, CaseIgnoringRulesFoldEveryScriptWithCase) {
  EXPECT_TRUE(EqualsNoCase(L"C:\\Windows\\System32", L"c:\\WINDOWS\\system32"));
  EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
  EXPECT_TRUE(StartsWithNoCase(L"\\SystemRoot\\x", L"\\SYSTEMROOT\\"));
  EXPECT_TRUE(EndsWithNoCase(L"a.EXE", L".exe"));
  EXPECT_EQ(FindNoCase(L"C:\\a\\RunDll32.exe x", L"rundll32.exe"), 5u);
  EXPECT_EQ(FindNoCase(L"abc", L"x"), std::wstring::npos);
  EXPECT_EQ(FindNoCase(L"ab", L"abc"), std::wstring::npos);
  EXPECT_EQ(ToLower(L"中文ABC"), L"中文abc");
  // Beyond ASCII: Latin, Greek and Cyrillic letters fold; Chinese and digits stay.
  EXPECT_TRUE(EqualsNoCase(L"C:\\Users\\ÉLODIE\\Ärger.txt", L"c:\\users\\élodie\\ärger.TXT"));
  EXPECT_TRUE(EqualsNoCase(L"ΑΒΓ", L"αβγ"));
  EXPECT_EQ(FindNoCase(L"D:\\ДОКУМЕНТЫ\\отчёт.doc", L"документы"), 3u);
  EXPECT_EQ(ToUpper(L"straße 中文 ü"), L"STRAßE 中文 Ü");
  EXPECT_EQ(ToLower(L"ÀÉÎ ΣΩ"), L"àéî σω");
  EXPECT_FALSE(EqualsNoCase(L"文件", L"文仵"));
  EXPECT_FALSE(EqualsNoCase(L"e", L"é"));
  // Sorting ignores case and keeps a strict order otherwise.
  EXPECT_EQ(CompareNoCase(L"Über", L"über"), 0);
  EXPECT_LT(CompareNoCase(L"abc", L"ABD"), 0);
  EXPECT_GT(CompareNoCase(L"abcd", L"ABC"), 0);
  EXPECT_LT(CompareNoCase(L"", L"a"), 0);
}

TEST(Text, ThousandsPictureGivesEmptyTextForZero) {
  EXPECT_EQ(FormatThousands(0), L"");
  EXPECT_EQ(FormatThousands(7), L"7");
  EXPECT_EQ(FormatThousands(999), L"999");
  EXPECT_EQ(FormatThousands(1000), L"1,000");
  EXPECT_EQ(FormatThousands(1500), L"1,500");
  EXPECT_EQ(FormatThousands(1234567890123ULL), L"1,234,567,890,123");
}

TEST(Text, NumbersParseWholeTextOnly) {
  EXPECT_EQ(ParseNumber(L" 2 "), 2.0);
  EXPECT_EQ(ParseNumber(L"1"), 1.0);
  EXPECT_EQ(ParseNumber(L"-3.5"), -3.5);
  EXPECT_FALSE(ParseNumber(L""));
  EXPECT_FALSE(ParseNumber(L"   "));
  EXPECT_FALSE(ParseNumber(L"2x"));
  EXPECT_FALSE(ParseNumber(L"abc"));
  for (const wchar_t* notDecimal : {L"0x2", L"1e3", L"inf", L"nan", L".", L"-", L"1.2.3"})
    EXPECT_FALSE(ParseNumber(notDecimal)) << notDecimal;
  EXPECT_EQ(NumberOrZero(L"x"), 0);
  EXPECT_EQ(NumberOrZero(L"1e300"), 0);
  EXPECT_EQ(NumberOrZero(L"42"), 42);
}

TEST(Text, LinesAndNulsAndPathParts) {
  EXPECT_EQ(SplitLines(L"a\r\nb\n\nc"), (std::vector<std::wstring>{L"a", L"b", L"", L"c"}));
  EXPECT_EQ(SplitLines(L"a\r\n"), (std::vector<std::wstring>{L"a"}));
  EXPECT_TRUE(SplitLines(L"").empty());
  EXPECT_EQ(SplitLines(L"a\rb\r\r\nc\r"), (std::vector<std::wstring>{L"a\rb\r", L"c"})) << "a lone CR stays";
  EXPECT_TRUE(SplitLines(L"\r").empty());
  EXPECT_EQ(SplitLines(L"a\rb\r\nc\n\rd\r", LineEnds::AlsoLoneCr),
            (std::vector<std::wstring>{L"a", L"b", L"c", L"", L"d"}));
  EXPECT_EQ(SplitLines(L"\r\r", LineEnds::AlsoLoneCr), (std::vector<std::wstring>{L"", L""}));
  EXPECT_EQ(TrimNul(std::wstring(L"ab\0", 3)), L"ab");
  EXPECT_EQ(TrimNul(L"ab"), L"ab");
  EXPECT_EQ(CutAtNul(std::wstring(L"a\0b", 3)), L"a");
  EXPECT_EQ(FileNameOf(L"C:\\x\\中.exe"), L"中.exe");
  EXPECT_EQ(FolderOf(L"C:\\x\\y.exe"), L"C:\\x");
  EXPECT_EQ(WithTrailingSlash(L"C:\\"), L"C:\\");
  EXPECT_EQ(WithTrailingSlash(L"C:\\x"), L"C:\\x\\");
  EXPECT_EQ(ExtensionOf(L"C:\\a.b\\file"), L"");
  EXPECT_EQ(ExtensionOf(L"x.tar.GZ"), L"GZ");
  EXPECT_EQ(ReplaceAll(L"\\??\\C:\\\\??\\", L"\\??\\", L""), L"C:\\");
}

TEST(Settings, KeyPathAndNumericReads) {
  EXPECT_EQ(SettingsKeyPath(L"ZorvixSafe", L"FireWall"),
            L"Software\\VB and VBA Program Settings\\ZorvixSafe\\FireWall");
  EXPECT_EQ(SettingOr(std::nullopt, L"d"), L"d");
  EXPECT_EQ(SettingOr(std::wstring(L""), L"d"), L"");
  EXPECT_EQ(SettingNumber(std::nullopt), 0);
  EXPECT_EQ(SettingNumber(std::wstring(L"abc")), 0);
  EXPECT_EQ(SettingNumber(std::wstring(L"17")), 17);
}

TEST(Path, LongPathsAndQuoting) {
  EXPECT_EQ(AddExtendedPrefix(L"C:\\a\\b"), L"\\\\?\\C:\\a\\b");
  EXPECT_EQ(AddExtendedPrefix(L"\\\\srv\\share\\x"), L"\\\\?\\UNC\\srv\\share\\x");
  EXPECT_EQ(AddExtendedPrefix(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
  EXPECT_EQ(AddExtendedPrefix(L"\\\\.\\C:"), L"\\\\.\\C:");
  EXPECT_EQ(AddExtendedPrefix(L"rel\\x"), L"rel\\x");
  // What the platform must resolve before the prefix, since "\\?\" turns resolving off.
  for (const wchar_t* p : {L"C:\\a/b", L"C:/a", L"rel\\x", L"x", L"C:\\a\\.\\b", L"C:\\a\\..", L"C:\\a\\\\b",
                           L"\\\\srv\\share\\..\\x", L"\\x", L"C:x"})
    EXPECT_TRUE(NeedsResolving(p)) << p;
  for (const wchar_t* p : {L"C:\\", L"C:\\a\\b.txt", L"C:\\a\\", L"C:\\a\\...x", L"C:\\a.\\b",
                           L"\\\\srv\\share\\x", L"\\\\?\\C:\\a\\..\\b", L"\\\\.\\pipe\\x"})
    EXPECT_FALSE(NeedsResolving(p)) << p;
  EXPECT_EQ(QuoteArg(L"C:\\Program Files\\a b\\"), L"\"C:\\Program Files\\a b\\\\\"");
  EXPECT_EQ(QuoteArg(L"a\"b"), L"\"a\\\"b\"");
  EXPECT_EQ(QuoteArg(L"& calc"), L"\"& calc\"");
  // Only when needed: a path without blanks stays as it is, one with a blank, tab or quote is quoted as
  // always, and an empty argument is still one argument.
  EXPECT_EQ(QuoteArg(L"C:\\Z\\zorvix.exe", Quoting::WhenNeeded), L"C:\\Z\\zorvix.exe");
  EXPECT_EQ(QuoteArg(L"C:\\A B\\x.exe", Quoting::WhenNeeded), L"\"C:\\A B\\x.exe\"");
  EXPECT_EQ(QuoteArg(L"a\tb", Quoting::WhenNeeded), L"\"a\tb\"");
  EXPECT_EQ(QuoteArg(L"a\"b", Quoting::WhenNeeded), QuoteArg(L"a\"b"));
  EXPECT_EQ(QuoteArg(L"", Quoting::WhenNeeded), L"\"\"");
}

TEST(Path, JoinPathKeepsOneSeparator) {
  EXPECT_EQ(JoinPath(L"C:\\Z", L"\\sys\\a.dat"), L"C:\\Z\\sys\\a.dat");
  EXPECT_EQ(JoinPath(L"C:\\Z\\", L"a.dat"), L"C:\\Z\\a.dat");
  EXPECT_EQ(JoinPath(L"D:\\", L"\\zorvix.exe"), L"D:\\zorvix.exe");
  EXPECT_EQ(JoinPath(L"C:\\Z", L"a.dat"), L"C:\\Z\\a.dat");
}
