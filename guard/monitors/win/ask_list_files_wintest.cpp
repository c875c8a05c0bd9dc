// The two list files on disk, in every form another program may have saved them in.
#include <gtest/gtest.h>

#include "common/testing/temp_dir.h"
#include "common/testing/win/text_files.h"
#include "common/win/code_page.h"
#include "common/win/system.h"
#include "guard/monitors/win/ask_list_files.h"

using namespace zorvix;

namespace {

constexpr wchar_t kRun[] = L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\";

std::string Utf16Le(std::wstring_view text) {
  std::string bytes;
  for (wchar_t c : text) bytes += {char(c & 0xFF), char(c >> 8)};
  return bytes;
}
std::string Utf16Be(std::wstring_view text) {
  std::string bytes;
  for (wchar_t c : text) bytes += {char(c >> 8), char(c & 0xFF)};
  return bytes;
}
std::string Utf8(std::wstring_view text) { return common::ToUtf8(text).value(); }

class AskListFiles : public testing::Test {
 protected:
  void SetUp() override { AskLists() = {}; }
  std::wstring WriteList(const std::string& bytes) { return dir.Write(L"sys\\regask.dat", bytes); }
  std::optional<std::string> Bytes() { return suite::ReadBytes(RegAskFilePath(dir.wpath())); }
  suite::TempDir dir;
};

}  // namespace

TEST_F(AskListFiles, RoundTripChinesePathsInTheAnsiCodePage) {
  AskLists().process = {DecisionList(L";C:\\程序\\允许.exe"), DecisionList(L";d:\\下载\\拒绝.EXE")};
  AskLists().registry.allow.Add(std::wstring(kRun) + L"工具");
  ASSERT_TRUE(SaveAskLists(dir.wpath()));
  ASSERT_TRUE(SaveRegAskLists(dir.wpath()));
  auto bytes = suite::ReadBytes(dir.wpath() + L"\\sys\\ask.dat");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, suite::Ansi(L";c:\\程序\\允许.exe\r\n;d:\\下载\\拒绝.exe\r\n"));
  if (GetACP() == 936) {
    EXPECT_EQ(bytes->substr(4, 4), std::string("\xb3\xcc\xd0\xf2")) << "程序 in code page 936";
  }
  AskLists() = {};
  ASSERT_TRUE(LoadAskLists(dir.wpath()));
  ASSERT_TRUE(LoadRegAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().process.allow.Contains(L"c:\\程序\\允许.exe"));
  EXPECT_TRUE(AskLists().process.deny.Contains(L"D:\\下载\\拒绝.exe"));
  EXPECT_TRUE(AskLists().registry.allow.Contains(std::wstring(kRun) + L"工具"));
  EXPECT_TRUE(AskLists().registry.deny.empty());
}

TEST_F(AskListFiles, AMissingFileGivesEmptyListsAndOneLineGivesTheAllowList) {
  AskLists().process.allow.Add(L"c:\\left-over.exe");
  EXPECT_TRUE(LoadAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().process.allow.empty());
  WriteList(";hkey_current_user\\run\\a");
  EXPECT_TRUE(LoadRegAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"hkey_current_user\\run\\a"));
  EXPECT_TRUE(AskLists().registry.deny.empty());
}

// Notepad's "Unicode" and "Unicode big endian", UTF-8 with and without its mark, and the code page: each
// is read, and written back in its own form with only the new entry added.
TEST_F(AskListFiles, ADecisionIsWrittenBackInTheFormTheFileWasIn) {
  const std::wstring before = L";hkey_current_user\\run\\工具\r\n;hkey_current_user\\run\\坏\r\n";
  const std::wstring after =
      L";hkey_current_user\\run\\工具;" + std::wstring(kRun) + L"新\r\n;hkey_current_user\\run\\坏\r\n";
  struct Form {
    const char* name;
    std::string (*encode)(std::wstring_view);
    std::string mark;
  };
  const Form forms[] = {{"utf-16 le", Utf16Le, "\xFF\xFE"},
                        {"utf-16 be", Utf16Be, "\xFE\xFF"},
                        {"utf-8 with mark", Utf8, "\xEF\xBB\xBF"},
                        {"utf-8", Utf8, ""},
                        {"code page", [](std::wstring_view t) { return suite::Ansi(t); }, ""}};
  for (const Form& f : forms) {
    SCOPED_TRACE(f.name);
    AskLists() = {};
    WriteList(f.mark + f.encode(before));
    ASSERT_TRUE(LoadRegAskLists(dir.wpath()));
    EXPECT_TRUE(AskLists().registry.allow.Contains(L"hkey_current_user\\run\\工具"));
    EXPECT_EQ(RecordRegDecision(std::wstring(kRun) + L"新", true, dir.wpath()), std::nullopt);
    EXPECT_EQ(Bytes(), f.mark + f.encode(after));
  }
}

// Bytes that are no character of the code page (a lead byte without its second byte) are other
// programs' business: they come back as they were.
TEST_F(AskListFiles, LoneLeadBytesComeBackByteForByte) {
  const std::string odd = ";hkey_current_user\\run\\a\xB3.exe;hkey_current_user\\run\\b\xFE";
  WriteList(odd + "\r\n\xB3\r\n");
  EXPECT_EQ(RecordRegDecision(L"hkey_current_user\\run\\c", false, dir.wpath()), std::nullopt);
  EXPECT_EQ(Bytes(), odd + "\r\n\xB3;hkey_current_user\\run\\c\r\n");
  EXPECT_EQ(RecordRegDecision(L"hkey_current_user\\run\\d", true, dir.wpath()), std::nullopt);
  EXPECT_EQ(Bytes(), odd + ";hkey_current_user\\run\\d\r\n\xB3;hkey_current_user\\run\\c\r\n");
}

TEST_F(AskListFiles, ALocationTheCodePageCannotHoldHoldsForThisRunAndTheUserIsToldOnce) {
  const std::string old = suite::Ansi(L";hkey_current_user\\run\\工具\r\n\r\n");
  WriteList(old);
  const std::wstring foreign = std::wstring(kRun) + L"예시";
  ASSERT_FALSE(common::ToAnsi(foreign)) << "the test needs a name outside the code page";
  auto told = RecordRegDecision(foreign, true, dir.wpath());
  ASSERT_TRUE(told);
  EXPECT_NE(told->find(L"【 " + foreign + L" 】"), std::wstring::npos) << *told;
  EXPECT_NE(told->find(L"本次运行"), std::wstring::npos) << *told;
  EXPECT_EQ(Bytes(), old) << "nothing written, no \"?\" in its place";
  EXPECT_TRUE(AskLists().registry.allow.Contains(foreign));
  // The reload before the next change keeps it, and the user is not told again.
  EXPECT_EQ(RecordRegDecision(foreign, true, dir.wpath()), std::nullopt);
  EXPECT_EQ(RecordRegDecision(L"hkey_current_user\\run\\next", true, dir.wpath()), std::nullopt);
  EXPECT_TRUE(AskLists().registry.allow.Contains(foreign));
  EXPECT_EQ(Bytes(), suite::Ansi(L";hkey_current_user\\run\\工具;hkey_current_user\\run\\next\r\n\r\n"));
}

// The two value names that broke the list: one forged an allow, the other split the file.
TEST_F(AskListFiles, HostileValueNamesNeitherForgeAnAllowNorSplitTheFile) {
  const std::string old = ";hkey_current_user\\run\\kept\r\n;hkey_current_user\\run\\denied\r\n";
  WriteList(old);
  const std::wstring semi = L"semi;" + std::wstring(kRun) + L"payload";
  auto told = RecordRegDecision(semi, true, dir.wpath());
  ASSERT_TRUE(told);
  EXPECT_NE(told->find(semi), std::wstring::npos);
  EXPECT_EQ(Bytes(), old);
  EXPECT_TRUE(AskLists().registry.allow.Contains(semi));
  EXPECT_FALSE(AskLists().registry.allow.Contains(std::wstring(kRun) + L"payload")) << "a forged allow";

  const std::wstring broken = std::wstring(kRun) + L"line\r\n;hkey_current_user\\run\\tail";
  EXPECT_TRUE(RecordRegDecision(broken, false, dir.wpath()));
  EXPECT_EQ(Bytes(), old);
  EXPECT_TRUE(RecordRegDecision(L"hkey_current_user\\run\\later", false, dir.wpath()) == std::nullopt);
  EXPECT_EQ(Bytes(), ";hkey_current_user\\run\\kept\r\n"
                     ";hkey_current_user\\run\\denied;hkey_current_user\\run\\later\r\n")
      << "the deny line kept";
  EXPECT_TRUE(AskLists().registry.deny.Contains(broken));
  EXPECT_FALSE(AskLists().registry.deny.Contains(L"hkey_current_user\\run\\tail"));
}

TEST_F(AskListFiles, AFileOverTheCapIsNeitherReadNorWrittenOver) {
  std::string big(size_t(kListFileCap) + 1, 'a');
  big[0] = ';';
  std::wstring path = WriteList(big);
  EXPECT_FALSE(LoadRegAskLists(dir.wpath()));
  EXPECT_EQ(AskLists().registryFile.status, common::ReadStatus::kTooLarge);
  auto problem = ListFileProblem(path, AskLists().registryFile);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(path), std::wstring::npos);
  EXPECT_NE(problem->find(L"4 MB"), std::wstring::npos);
  EXPECT_FALSE(SaveRegAskLists(dir.wpath()));
  auto told = RecordRegDecision(L"hkey_current_user\\run\\new", true, dir.wpath());
  ASSERT_TRUE(told);
  EXPECT_NE(told->find(*problem), std::wstring::npos);
  EXPECT_EQ(common::FileSize(path), (long long)big.size());
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"hkey_current_user\\run\\new")) << "for this run";
}

TEST_F(AskListFiles, AFileThatDoesNotReadBackExactlyIsNotWrittenOver) {
  // A UTF-16 file of an odd length: its last byte is no character.
  std::string odd = "\xFF\xFE" + Utf16Le(L";hkey_current_user\\run\\kept\r\n") + "x";
  WriteList(odd);
  EXPECT_FALSE(LoadRegAskLists(dir.wpath()));
  EXPECT_TRUE(AskLists().registry.allow.Contains(L"hkey_current_user\\run\\kept")) << "still used";
  EXPECT_TRUE(RecordRegDecision(L"hkey_current_user\\run\\new", false, dir.wpath()));
  EXPECT_EQ(Bytes(), odd);
}
