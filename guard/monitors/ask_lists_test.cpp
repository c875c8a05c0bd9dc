#include "guard/monitors/ask_lists.h"

#include <gtest/gtest.h>

using namespace zorvix;

TEST(DecisionList, HoldsWholeEntriesOnlyAndIgnoresCase) {
  DecisionList list(L";c:\\a.exe.old\\b.exe;d:\\tools\\x.exe");
  EXPECT_FALSE(list.Contains(L"c:\\a.exe"));
  EXPECT_FALSE(list.Contains(L"a.exe.old\\b.exe"));
  EXPECT_FALSE(list.Contains(L"d:\\tools\\x"));
  EXPECT_FALSE(list.Contains(L""));
  EXPECT_TRUE(list.Contains(L"c:\\a.exe.old\\b.exe"));
  EXPECT_TRUE(list.Contains(L"D:\\Tools\\X.EXE"));
}

TEST(DecisionList, AddsLowerCaseAndRemovesEveryOccurrence) {
  DecisionList list;
  list.Add(L"HKEY_CURRENT_USER\\Run\\Foo");
  list.Add(L"hkey_current_user\\run\\foobar");
  list.Add(L"hkey_current_user\\run\\foo");
  EXPECT_EQ(list.text(), L";hkey_current_user\\run\\foo;hkey_current_user\\run\\foobar;hkey_current_user\\run\\foo");
  EXPECT_TRUE(list.Remove(L"HKEY_CURRENT_USER\\RUN\\FOO"));
  EXPECT_EQ(list.text(), L";hkey_current_user\\run\\foobar");
  EXPECT_FALSE(list.Remove(L"hkey_current_user\\run\\foo"));
}

// A start-up value named with a ";" would, appended as it stands, add an entry the user never saw.
TEST(DecisionList, AnEntryHoldingASeparatorHoldsForThisRunOnlyAndForgesNothing) {
  const std::wstring payload = L"hkey_current_user\\software\\microsoft\\windows\\currentversion\\run\\payload";
  const std::wstring hostile = L"semi;" + payload;
  DecisionList list(L";c:\\kept.exe");
  EXPECT_FALSE(list.Add(hostile));
  EXPECT_EQ(list.text(), L";c:\\kept.exe") << "nothing written into the line";
  EXPECT_TRUE(list.Contains(hostile));
  EXPECT_TRUE(list.Contains(L"SEMI;" + payload));
  EXPECT_FALSE(list.Contains(payload));
  EXPECT_FALSE(list.Contains(L"semi"));
  // Nor does such an entry match a stored line in parts.
  DecisionList stored(L";semi;" + payload);
  EXPECT_FALSE(stored.Contains(hostile));
  EXPECT_TRUE(stored.Contains(payload));
  for (const wchar_t* broken : {L"name\r\nline2", L"name\nx", L"name\rx"}) {
    DecisionList l;
    EXPECT_FALSE(l.Add(std::wstring(L"hkey_current_user\\run\\") + broken));
    EXPECT_TRUE(l.text().empty());
    EXPECT_TRUE(l.Contains(std::wstring(L"hkey_current_user\\run\\") + broken));
    EXPECT_FALSE(l.Contains(L"hkey_current_user\\run\\name"));
  }
  EXPECT_TRUE(list.Remove(hostile));
  EXPECT_FALSE(list.Contains(hostile));
  EXPECT_EQ(list.text(), L";c:\\kept.exe");
}

TEST(DecisionList, AReloadKeepsThisRunsEntriesAndTakesTheFilesLine) {
  AskFileLists lists;
  lists.allow.AddForRun(L"hkey_current_user\\run\\예시");
  lists.deny.Add(L"hkey_current_user\\run\\old");
  lists.Reload(ParseAskFile(L";hkey_current_user\\run\\new\r\n\r\n"));
  EXPECT_TRUE(lists.allow.Contains(L"hkey_current_user\\run\\예시"));
  EXPECT_TRUE(lists.allow.Contains(L"hkey_current_user\\run\\new"));
  EXPECT_FALSE(lists.deny.Contains(L"hkey_current_user\\run\\old"));
  EXPECT_EQ(FormatAskFile(lists), L";hkey_current_user\\run\\new\r\n\r\n") << "this run's entries are not written";
}

TEST(AskFile, MissingLinesReadAsEmptyLists) {
  auto none = ParseAskFile(L"");
  EXPECT_TRUE(none.allow.empty());
  EXPECT_TRUE(none.deny.empty());
  auto one = ParseAskFile(L";c:\\a.exe\r\n");
  EXPECT_EQ(one.allow.text(), L";c:\\a.exe");
  EXPECT_TRUE(one.deny.empty());
  auto noEnd = ParseAskFile(L";c:\\a.exe");
  EXPECT_EQ(noEnd.allow.text(), L";c:\\a.exe");
  auto two = ParseAskFile(L";c:\\a.exe\r\n;c:\\程序\\坏.exe\r\n;ignored\r\n");
  EXPECT_EQ(two.allow.text(), L";c:\\a.exe");
  EXPECT_EQ(two.deny.text(), L";c:\\程序\\坏.exe");
  auto emptyFirst = ParseAskFile(L"\r\n;c:\\b.exe\r\n");
  EXPECT_TRUE(emptyFirst.allow.empty());
  EXPECT_EQ(emptyFirst.deny.text(), L";c:\\b.exe");
}

TEST(AskFile, WritesTwoLowerCaseLinesEvenWhenEmpty) {
  EXPECT_EQ(FormatAskFile({}), L"\r\n\r\n");
  AskFileLists lists{DecisionList(L";C:\\A.EXE"), DecisionList(L";D:\\程序\\B.exe")};
  EXPECT_EQ(FormatAskFile(lists), L";c:\\a.exe\r\n;d:\\程序\\b.exe\r\n");
  auto back = ParseAskFile(FormatAskFile(lists));
  EXPECT_TRUE(back.allow.Contains(L"c:\\a.exe"));
  EXPECT_TRUE(back.deny.Contains(L"d:\\程序\\b.exe"));
}

TEST(RegPath, ReadsRootKeyAndValueNameEveryWayDeepestKeyFirst) {
  auto plain = RegPathReadings(L"hkey_local_machine\\software\\run\\tool-x");
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[0].rootName, L"hkey_local_machine");
  EXPECT_EQ(plain[0].key, L"software\\run");
  EXPECT_EQ(plain[0].value, L"tool-x");
  EXPECT_TRUE(plain[0].localMachine());
  EXPECT_EQ(plain[1].key, L"software");
  EXPECT_EQ(plain[1].value, L"run\\tool-x");
  // A value named by a path: every split after the key is offered.
  auto named = RegPathReadings(L"hkey_current_user\\run\\c:\\a.exe");
  ASSERT_EQ(named.size(), 2u);
  EXPECT_FALSE(named[0].localMachine());
  EXPECT_EQ(named[1].key, L"run");
  EXPECT_EQ(named[1].value, L"c:\\a.exe");
  // No empty key names: "run\\\\x" names only the value "\\x".
  auto doubled = RegPathReadings(L"hkey_current_user\\run\\\\x");
  ASSERT_EQ(doubled.size(), 1u);
  EXPECT_EQ(doubled[0].key, L"run");
  EXPECT_EQ(doubled[0].value, L"\\x");
  EXPECT_EQ(RegPathReadings(L"hkey_current_user\\(预设值)").size(), 0u);
  EXPECT_EQ(RegPathReadings(L"novalue").size(), 0u);
  EXPECT_EQ(RegPathReadings(L"hkey_current_user\\\\value").size(), 0u);
}

// A byte that is no character, read from another program's file, keeps the character after it as it was:
// lower-cased, that letter would pair with the byte into another character on the next read.
TEST(DecisionList, TheCharacterAfterAStrayByteIsNotLowerCased) {
  const std::wstring line = std::wstring(L";c:\\A") + wchar_t(0xDC80 + 0xFC - 0x80) + L"C;D:\\X.EXE";
  DecisionList list(line);
  EXPECT_EQ(list.text(), std::wstring(L";c:\\a") + wchar_t(0xDC80 + 0xFC - 0x80) + L"C;d:\\x.exe");
  EXPECT_TRUE(list.Contains(L"d:\\x.exe"));
}
