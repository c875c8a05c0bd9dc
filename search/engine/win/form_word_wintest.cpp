#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/text.h"
#include "common/text_codec.h"
#include "common/win/message_loop.h"
#include "common/win/pump.h"
#include "common/win/settings_store.h"
#include "search/engine/search_state.h"
#include "search/engine/win/testing/at_next_pump.h"
#include "search/engine/win/testing/host_links.h"
#include "search/engine/win/testing/keys.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/form_word.h"
#include "search/engine/win/text_walk.h"

namespace sercavo {
namespace {

// The tests run with the Chinese code page as the ANSI one.
std::string Gbk(const std::wstring& t) { return suite::Ansi(t); }
std::string Utf8(const std::wstring& t) { return common::ToUtf8(t).value_or("<no UTF-8 form>"); }
std::string Utf16(const std::wstring& t) {
  return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(t.data()), t.size() * 2);
}

class Word : public testing::Test {
 protected:
  void SetUp() override {
    State() = SearchState{};
    ASSERT_TRUE(word_.Load(nullptr));
  }
  void TearDown() override {
    State().stopRequested = true;  // a walk left running by a failed test unwinds
    word_.Destroy();
  }
  void Set(int id, const std::wstring& text) { SetWindowTextW(word_.control(id), text.c_str()); }
  std::wstring Get(int id) { return common::ui::WindowText(word_.control(id)); }
  void Search(const std::wstring& find, const std::wstring& where, const std::wstring& types = L"*.*") {
    Set(FormWord::kIdFind, find);
    Set(FormWord::kIdFolder, where);
    Set(FormWord::kIdTypes, types);
    word_.Command2Click();
  }
  // The listed files, relative to root, sorted.
  std::vector<std::wstring> Listed(const std::wstring& root) {
    HWND list = word_.control(FormWord::kIdList);
    std::vector<std::wstring> out;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
      std::wstring s(size_t(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
      out.push_back(s.substr(root.size() + 1));
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  void Show(int row) {
    SendMessageW(word_.control(FormWord::kIdList), LB_SETCURSEL, row, 0);
    word_.ListxClick();
  }
  CHARRANGE Selection() {
    CHARRANGE r{};
    SendMessageW(word_.control(FormWord::kIdPane), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  FormWord word_;
};

TEST_F(Word, ListsExactlyTheFilesHoldingTheTextInAnyEncoding) {
  suite::TempDir t;
  t.Write(L"start.txt", "abc at the very start");
  t.Write(L"second.txt", "xABC");
  t.Write(L"wide.txt", Utf16(L"前面的文字 aBc"));
  t.Write(L"marked.txt", "\xEF\xBB\xBF" + Utf8(L"中文 ABC 中文"));
  t.Write(L"README.TXT", Gbk(L"说明 abc"));
  t.Write(L"sub\\deep.htm", "<p>abc</p>");
  t.Write(L"edge.txt", std::string(199996, ' ') + "abc");
  t.Write(L"toobig.txt", std::string(199997, ' ') + "abc");
  t.Write(L"a.t", "abc");
  t.Write(L"page.html", "abc");
  t.Write(L"none.txt", Gbk(L"没有 ab c"));
  // 乤 is 81 61 in the code page: its second byte and the next two read "abc" as bytes, not as text.
  t.Write(L"trail.txt", "\201abc");
  Set(FormWord::kIdSize, L"200");
  Search(L"abc", t.wpath(), L"*.txt;*.htm");
  EXPECT_EQ(Listed(t.wpath()), (std::vector<std::wstring>{L"README.TXT", L"edge.txt", L"marked.txt", L"second.txt",
                                                          L"start.txt", L"sub\\deep.htm", L"wide.txt"}));
  EXPECT_EQ(State().scannedCount, 12);
  EXPECT_EQ(word_.Status(7), L"发现目标：7 个");
  EXPECT_EQ(word_.Status(5), L"搜索文件：" + std::to_wstring(State().scannedCount) + L" 个");
  EXPECT_EQ(Get(FormWord::kIdStart), kStartFind);
  EXPECT_EQ(word_.Tip(FormWord::kIdList), L"搜索结果：7 个文件");
  EXPECT_EQ(common::GetSetting(L"Sercavo", L"searchtxt", L"search", L""), L"abc");
  EXPECT_TRUE(word_.PaneText().empty());
  // Nothing found: the pane says so and the panels are emptied.
  Search(L"not in any file", t.wpath());
  EXPECT_TRUE(Listed(t.wpath()).empty());
  EXPECT_EQ(word_.PaneText(), kNothingFound);
  EXPECT_EQ(word_.Status(1), L"");
  EXPECT_EQ(word_.Status(7), L"");
}

TEST_F(Word, ReplaceAllKeepsEachEncodingMarkAndLineEndsByteForByte) {
  suite::TempDir t;
  std::wstring gbk = t.Write(L"gbk.txt", Gbk(L"ABC abc\r\n中文 abc"));
  std::wstring utf8 = t.Write(L"utf8.txt", "\xEF\xBB\xBF" + Utf8(L"ABC abc\n\U0001F600 line\n"));
  std::wstring utf16 = t.Write(L"utf16.txt", Utf16(L"ABC abc\r\n\u0444\u0430\u0439\u043b"));
  std::wstring upper = t.Write(L"upper.txt", "ABC only");
  // Without a mark and without a byte past ASCII a file is the code page's, a page declaring so as well.
  std::wstring ascii = t.Write(L"ascii.txt", "abc\n");
  std::wstring page = t.Write(L"page.txt", "<meta charset=gb2312>abc");
  std::wstring locked = t.Write(L"locked.txt", "abc locked");
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  Set(FormWord::kIdFind, L"abc");
  Set(FormWord::kIdReplaceText, L"替换");
  Set(FormWord::kIdFolder, t.wpath());
  Set(FormWord::kIdTypes, L"*.txt");
  word_.Command3Click();
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(suite::ReadBytes(gbk), Gbk(L"ABC 替换\r\n中文 替换"));
  EXPECT_EQ(suite::ReadBytes(utf8), "\xEF\xBB\xBF" + Utf8(L"ABC 替换\n\U0001F600 line\n"));
  EXPECT_EQ(suite::ReadBytes(utf16), Utf16(L"ABC 替换\r\n\u0444\u0430\u0439\u043b"));
  EXPECT_EQ(suite::ReadBytes(upper), "ABC only");  // a hit, but no exact-case text to replace
  EXPECT_EQ(suite::ReadBytes(ascii), Gbk(L"替换\n"));
  EXPECT_EQ(suite::ReadBytes(page), Gbk(L"<meta charset=gb2312>替换"));
  EXPECT_EQ(suite::ReadBytes(locked), "abc locked");
  EXPECT_EQ(word_.Status(1), NotWrittenText(locked, 1));
  EXPECT_EQ(Listed(t.wpath()).size(), 7u);
  EXPECT_TRUE(IsWindowEnabled(word_.control(FormWord::kIdStart)));
  // Nothing is left beside the files.
  WIN32_FIND_DATAW e;
  HANDLE h = FindFirstFileW((t.wpath() + L"\\*.tmp").c_str(), &e);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

TEST_F(Word, ShowsTheChosenFileWithItsFirstHitAndFindsNextRoundOnce) {
  suite::TempDir t;
  std::wstring file = t.Write(L"notes.txt", Gbk(L"第一 ABC 第二 abc\r\n第三 Abc"));
  Search(L"abc", t.wpath());
  Show(0);
  std::wstring text = word_.PaneText();
  EXPECT_EQ(text, L"第一 ABC 第二 abc\r第三 Abc");
  CHARRANGE first = Selection();
  EXPECT_EQ(first.cpMin, 10);  // the first exact-case hit
  EXPECT_EQ(first.cpMax, 13);
  EXPECT_EQ(word_.Status(1), file);
  EXPECT_EQ(word_.Status(3), ShownSizeText(suite::ReadBytes(file)->size()));
  EXPECT_EQ(word_.Status(5), L"字数：" + std::to_wstring(text.size()));
  EXPECT_EQ(word_.Status(7).rfind(L"制作时间： ", 0), 0u);
  EXPECT_EQ(word_.Tip(FormWord::kIdPane), L"文件：" + file);
  suite::MsgBoxAnswers answers;
  word_.FindNext();
  EXPECT_EQ(Selection().cpMin, 17);
  EXPECT_TRUE(answers.shown().empty());
  word_.FindNext();
  EXPECT_EQ(answers.shown().size(), 1u);
  word_.FindNext();  // from the top again, case ignored
  EXPECT_EQ(Selection().cpMin, 3);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kFindDone);
}

TEST_F(Word, SaveAsWritesThePaneInTheShownFilesForm) {
  suite::TempDir t;
  t.Write(L"u16.txt", Utf16(L"line one abc\nline two"));
  Search(L"abc", t.wpath());
  Show(0);
  std::wstring copy = t.wpath() + L"\\copy.txt";
  ASSERT_TRUE(word_.SaveAs(copy));
  EXPECT_EQ(suite::ReadBytes(copy), Utf16(L"line one abc\nline two"));
}

TEST_F(Word, SaveAsOfAnAsciiFileWritesChineseInTheCodePage) {
  suite::TempDir t;
  std::wstring file = t.Write(L"ascii.txt", "plain abc\r\nsecond");
  Search(L"abc", t.wpath());
  Show(0);
  SetWindowTextW(word_.control(FormWord::kIdPane), L"中文 abc\rsecond");
  ASSERT_TRUE(word_.SaveAs(file));
  EXPECT_EQ(suite::ReadBytes(file), Gbk(L"中文 abc\r\nsecond"));
}

TEST_F(Word, SaveAsNamesTheFileAndKeepsItWhenItsFormCannotHoldTheText) {
  suite::TempDir t;
  std::wstring file = t.Write(L"gbk.txt", Gbk(L"中文 abc"));
  Search(L"abc", t.wpath());
  Show(0);
  SetWindowTextW(word_.control(FormWord::kIdPane), L"abc\r\uC608\uC2DC line");
  suite::MsgBoxAnswers answers;
  EXPECT_FALSE(word_.SaveAs(file));
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, SaveFailedText(file, true, L"\uC608\uC2DC line"));
  EXPECT_EQ(suite::ReadBytes(file), Gbk(L"中文 abc"));
  EXPECT_EQ(word_.PaneText(), L"abc\r\uC608\uC2DC line");  // the edit is still there
}

TEST_F(Word, SaveAsRefusesToGoOverAFileThePaneDoesNotHoldAsItIs) {
  suite::TempDir t;
  // A UTF-16 file of an odd length and a rich text file: neither comes back from the pane as it was.
  std::wstring odd = t.Write(L"odd.txt", Utf16(L"abc") + "x");
  std::wstring rich = t.Write(L"doc.rtf", "{\\rtf1\\ansi abc \\b bold\\b0}");
  Search(L"abc", t.wpath(), L"*.*");
  ASSERT_EQ(Listed(t.wpath()), (std::vector<std::wstring>{L"doc.rtf", L"odd.txt"}));
  suite::MsgBoxAnswers answers;
  for (int row : {0, 1}) {
    Show(row);
    std::wstring path = word_.Status(1);
    std::string before = suite::ReadBytes(path).value_or("");
    EXPECT_FALSE(word_.SaveAs(path));
    EXPECT_EQ(suite::ReadBytes(path), before);
    // Under another name the pane's text is written.
    EXPECT_TRUE(word_.SaveAs(path + L".copy.txt"));
  }
  ASSERT_EQ(answers.shown().size(), 2u);
  std::vector<std::wstring> texts{answers.shown()[0].text, answers.shown()[1].text};
  std::sort(texts.begin(), texts.end());
  std::vector<std::wstring> expected{SaveRefusedText(SaveRefusal::kNotExact, odd),
                                     SaveRefusedText(SaveRefusal::kRichText, rich)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(texts, expected);
}

TEST_F(Word, StopDuringTheWalkAndNoCloseMeanwhile) {
  suite::TempDir t;
  for (int i = 0; i < 60; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "abc");
  suite::MsgBoxAnswers answers;
  bool existedAfterClose = false;
  test_support::AtNextPump during([&] {
    SendMessageW(word_.hwnd(), WM_CLOSE, 0, 0);
    existedAfterClose = word_.hwnd() != nullptr;
    EXPECT_EQ(Get(FormWord::kIdStart), kStopFind);
    Set(FormWord::kIdFind, L"");  // the stop does not care what the box holds
    word_.Command2Click();
  });
  Search(L"abc", t.wpath());
  ASSERT_TRUE(during.ran());
  EXPECT_TRUE(existedAfterClose);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, kNotStopped);
  EXPECT_LT(Listed(t.wpath()).size(), 60u);
  EXPECT_EQ(Get(FormWord::kIdStart), kStartFind);
  EXPECT_FALSE(State().stopRequested);
  EXPECT_FALSE(State().walking);
  SendMessageW(word_.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(word_.hwnd(), nullptr);
}

TEST_F(Word, EnterInTheFindBoxSearchesAndTheStoredTextComesBack) {
  suite::TempDir t;
  t.Write(L"k.txt", "keyboard");
  Set(FormWord::kIdFolder, t.wpath());
  Set(FormWord::kIdTypes, L"*.txt");
  Set(FormWord::kIdFind, L"KEYBOARD");
  HWND box = word_.control(FormWord::kIdFind);
  HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  SetFocus(edit ? edit : box);
  PostMessageW(edit ? edit : box, WM_KEYDOWN, VK_RETURN, 0);
  common::PumpMessages();
  EXPECT_EQ(Listed(t.wpath()), std::vector<std::wstring>{L"k.txt"});
  word_.Destroy();
  FormWord again;
  ASSERT_TRUE(again.Load(nullptr));
  EXPECT_EQ(common::ui::WindowText(again.control(FormWord::kIdFind)), L"KEYBOARD");
  EXPECT_EQ(common::ui::WindowText(again.control(FormWord::kIdFolder)), L"D:\\");
  EXPECT_EQ(common::ui::WindowText(again.control(FormWord::kIdTypes)), L"*.txt;*.htm;*.html;*.asp");
  EXPECT_EQ(common::ui::WindowText(again.control(FormWord::kIdSize)), L"200");
  EXPECT_EQ(again.Tip(FormWord::kIdTypes), L"请选择文件的查看类型");
}

TEST_F(Word, TabF3AndEscFromTheKeyboard) {
  using test_support::PostKey;
  suite::TempDir t;
  t.Write(L"k.txt", "abc x abc");
  Search(L"abc", t.wpath(), L"*.txt");
  HWND find = test_support::EditOf(word_.control(FormWord::kIdFind)), pane = word_.control(FormWord::kIdPane);
  SetFocus(find);
  PostKey(find, VK_TAB);
  common::PumpMessages();
  EXPECT_EQ(GetFocus(), word_.control(FormWord::kIdReplaceText));
  Show(0);
  ASSERT_EQ(GetFocus(), pane);
  PostKey(pane, VK_F3);  // find-next moves from the first hit to the second
  common::PumpMessages();
  EXPECT_EQ(Selection().cpMin, 6);
  // Tab leaves the content pane for the first box instead of being typed into the file's text.
  PostKey(pane, VK_TAB);
  common::PumpMessages();
  EXPECT_EQ(GetFocus(), find);
  EXPECT_EQ(word_.PaneText(), L"abc x abc");
  PostKey(find, VK_ESCAPE);
  common::PumpMessages();
  EXPECT_EQ(word_.hwnd(), nullptr);
}

// Files a replace may have left beside the user's: temporary copies, backups, the platform's "rf*.tmp".
std::vector<std::wstring> Leftovers(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW e;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &e);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = e.cFileName;
    if (common::EndsWithNoCase(n, L".tmp") || common::EndsWithNoCase(n, L".bak")) names.push_back(n);
  } while (FindNextFileW(h, &e));
  FindClose(h);
  return names;
}

TEST_F(Word, AFileTooLargeForThePaneShowsItsStartAndIsNotSavedOver) {
  suite::TempDir t;
  std::wstring big = t.Write(L"big.txt", "abc at the start\r\n");
  HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = (70ll << 20) + 1;  // past what the pane holds, within the size box below
  bool grown = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  ASSERT_TRUE(grown);
  Set(FormWord::kIdSize, L"100000");
  Search(L"abc", t.wpath(), L"*.txt");
  ASSERT_EQ(Listed(t.wpath()), std::vector<std::wstring>{L"big.txt"});
  Show(0);
  EXPECT_EQ(word_.PaneText().substr(0, 17), L"abc at the start\r");
  EXPECT_EQ(word_.Status(3), ShownSizeText(uint64_t(size.QuadPart)));
  suite::MsgBoxAnswers answers;
  EXPECT_FALSE(word_.SaveAs(big));
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, SaveRefusedText(SaveRefusal::kTooLarge, big));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(big.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow, uint64_t(size.QuadPart));
}

TEST_F(Word, ReplaceWritesThroughLinksInPlaceAndNeverOutOfTheSearchedFolder) {
  suite::TempDir t, elsewhere;
  std::wstring inside = t.Write(L"inside.txt", "abc inside");
  std::wstring outside = elsewhere.Write(L"outside.txt", "abc outside");
  std::wstring linkIn = t.wpath() + L"\\link-in.txt", linkOut = t.wpath() + L"\\link-out.txt";
  test_support::HostLinks links;
  ASSERT_TRUE(links.Link(inside, linkIn));
  ASSERT_TRUE(links.Link(outside, linkOut));
  // One file, two names: one in the searched folder, one elsewhere.
  std::wstring hard = t.Write(L"hard.txt", "abc hard");
  std::wstring otherName = elsewhere.wpath() + L"\\hard-other-name.txt";
  ASSERT_TRUE(CreateHardLinkW(otherName.c_str(), hard.c_str(), nullptr));
  Set(FormWord::kIdFind, L"abc");
  Set(FormWord::kIdReplaceText, L"xyz");
  Set(FormWord::kIdFolder, t.wpath());
  Set(FormWord::kIdTypes, L"*.txt");
  word_.Command3Click();
  EXPECT_EQ(suite::ReadBytes(inside), "xyz inside");
  EXPECT_EQ(suite::ReadBytes(outside), "abc outside");  // the link's target outside is not written
  EXPECT_EQ(suite::ReadBytes(hard), "xyz hard");
  EXPECT_EQ(suite::ReadBytes(otherName), "xyz hard");  // the other name still names the same file
  common::FileIdentity h = common::IdentifyFile(hard);
  EXPECT_EQ(h.names, 2u);
  // The links are still links to their files.
  common::FileIdentity in = common::IdentifyFile(linkIn), out = common::IdentifyFile(linkOut);
  EXPECT_TRUE(in.throughLink);
  EXPECT_TRUE(common::EqualsNoCase(in.finalPath, common::IdentifyFile(inside).finalPath)) << in.finalPath;
  EXPECT_TRUE(out.throughLink);
  EXPECT_TRUE(common::EqualsNoCase(out.finalPath, common::IdentifyFile(outside).finalPath)) << out.finalPath;
  EXPECT_EQ(word_.Status(1), NotReplacedText(NotReplaced::kLinkOutside, linkOut, 1));
  EXPECT_TRUE(Leftovers(t.wpath()).empty());
}

TEST_F(Word, ReplaceLeavesLockedFilesWholeAndNothingBesideThem) {
  suite::TempDir t;
  std::wstring shared = t.Write(L"shared.txt", "abc shared");
  std::wstring ranged = t.Write(L"ranged.txt", "abc ranged");
  std::wstring free = t.Write(L"free.txt", "abc free");
  // Another program has one open for reading only, and a range of the other locked.
  HANDLE reader = CreateFileW(shared.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  HANDLE locker =
      CreateFileW(ranged.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  OVERLAPPED range{};
  ASSERT_TRUE(LockFileEx(locker, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 10, 0, &range));
  Set(FormWord::kIdFind, L"abc");
  Set(FormWord::kIdReplaceText, L"xyz");
  Set(FormWord::kIdFolder, t.wpath());
  Set(FormWord::kIdTypes, L"*.txt");
  word_.Command3Click();
  UnlockFileEx(locker, 0, 10, 0, &range);
  CloseHandle(locker);
  CloseHandle(reader);
  EXPECT_EQ(suite::ReadBytes(shared), "abc shared");
  EXPECT_EQ(word_.Status(1), NotReplacedText(NotReplaced::kNotWritten, shared, 1));
  // A range lock keeps others from reading it (no hit, nothing written) or, where the system does not
  // enforce it, the file is replaced whole: never anything between.
  std::string r = suite::ReadBytes(ranged).value_or("");
  EXPECT_TRUE(r == "abc ranged" || r == "xyz ranged") << r;
  EXPECT_EQ(suite::ReadBytes(free), "xyz free");
  EXPECT_TRUE(Leftovers(t.wpath()).empty());
}

TEST_F(Word, AReplacementTheFilesCodePageCannotHoldIsToldApart) {
  suite::TempDir t;
  std::wstring gbk = t.Write(L"gbk.txt", Gbk(L"中文 abc"));
  std::wstring wide = t.Write(L"wide.txt", Utf16(L"abc"));
  Set(FormWord::kIdFind, L"abc");
  Set(FormWord::kIdReplaceText, L"\uC608");  // 예: no character of the code page
  Set(FormWord::kIdFolder, t.wpath());
  Set(FormWord::kIdTypes, L"*.txt");
  word_.Command3Click();
  EXPECT_EQ(suite::ReadBytes(gbk), Gbk(L"中文 abc"));
  EXPECT_EQ(suite::ReadBytes(wide), Utf16(L"\uC608"));  // UTF-16 holds it
  EXPECT_EQ(word_.Status(1), NotReplacedText(NotReplaced::kNotHeld, gbk, 1));
  EXPECT_NE(word_.Status(1).find(L"编码"), std::wstring::npos);
}

TEST_F(Word, RichTextIsSearchedByWhatItShowsAndReplacedOnlyInItsText) {
  suite::TempDir t;
  const std::string header =
      "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
      "{\\colortbl;\\red255\\green0\\blue0;}\\pard ";
  std::wstring doc = t.Write(L"doc.rtf", header + "red \\'d6\\'d0\\'ce\\'c4\\par}");
  std::wstring split = t.Write(L"split.rtf", header + "red re{\\b d}\\par}");
  Search(L"中文", t.wpath(), L"*.rtf");
  EXPECT_EQ(Listed(t.wpath()), std::vector<std::wstring>{L"doc.rtf"});
  Search(L"fonttbl", t.wpath(), L"*.rtf");  // markup is no text
  EXPECT_TRUE(Listed(t.wpath()).empty());
  Search(L"ansi", t.wpath(), L"*.rtf");
  EXPECT_TRUE(Listed(t.wpath()).empty());
  Set(FormWord::kIdFind, L"red");
  Set(FormWord::kIdReplaceText, L"蓝");
  word_.Command3Click();
  // The colour table keeps "\red255"; the new text is written as the document writes its characters.
  EXPECT_EQ(suite::ReadBytes(doc), header + "\\'c0\\'b6 \\'d6\\'d0\\'ce\\'c4\\par}");
  EXPECT_EQ(suite::ReadBytes(split), header + "red re{\\b d}\\par}");
  EXPECT_EQ(word_.Status(1), NotReplacedText(NotReplaced::kAcrossMarkup, split, 1));
  // The pane shows the new text.
  Show(int(SendMessageW(word_.control(FormWord::kIdList), LB_FINDSTRINGEXACT, -1, LPARAM(doc.c_str()))));
  EXPECT_EQ(word_.PaneText().substr(0, 4), L"蓝 中文");
}

TEST_F(Word, DevicesAndPipesInTheTreeAreNotReadAndTheSearchEnds) {
  suite::TempDir t;
  t.Write(L"hit.txt", "abc");
  // Opening the pipe for reading would wait for good; the device would never end.
  test_support::HostLinks links;
  ASSERT_TRUE(links.Pipe(t.wpath() + L"\\pipe.txt"));
  ASSERT_TRUE(links.Link(L"/dev/zero", t.wpath() + L"\\zero.txt"));
  Search(L"abc", t.wpath(), L"*.*");
  EXPECT_EQ(Listed(t.wpath()), std::vector<std::wstring>{L"hit.txt"});
  EXPECT_EQ(State().scannedCount, 3);
}

TEST_F(Word, FilesLargerThanAPieceAreSearchedPieceByPiece) {
  suite::TempDir t;
  // The text stands across the end of the first piece.
  std::string big(kPieceBytes + 4096, 'x');
  big.replace(kPieceBytes - 3, 6, "needle");
  t.Write(L"big.txt", big);
  std::string other(kPieceBytes + 10, 'x');
  t.Write(L"other.txt", other);
  Set(FormWord::kIdSize, L"30000");
  Search(L"NEEDLE", t.wpath(), L"*.txt");
  EXPECT_EQ(Listed(t.wpath()), std::vector<std::wstring>{L"big.txt"});
}

TEST_F(Word, UpAndDownInTheListShowEachFileAndKeepTheFocusInTheList) {
  using test_support::PostKey;
  suite::TempDir t;
  t.Write(L"a.txt", "first abc");
  t.Write(L"b.txt", "second abc");
  t.Write(L"c.txt", "third abc");
  Search(L"abc", t.wpath(), L"*.txt");
  HWND list = word_.control(FormWord::kIdList);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  SetFocus(list);
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  for (int row : {1, 2}) {
    PostKey(list, VK_DOWN);
    common::PumpMessages();
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), row);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(word_.PaneText().find(L"abc") != std::wstring::npos, true);
    EXPECT_EQ(word_.Status(1).substr(t.wpath().size() + 1).size(), 5u);
  }
  PostKey(list, VK_UP);
  common::PumpMessages();
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(GetFocus(), list);
  // A click (as ListxClick is) still takes the user to the hit in the pane.
  word_.ListxClick();
  EXPECT_EQ(GetFocus(), word_.control(FormWord::kIdPane));
}

// Watches for the popup menu a key opens: where it shows, then closes it.
HHOOK menuHook = nullptr;
RECT shownMenu{};
int menusShown = 0;
LRESULT CALLBACK MenuWatch(int code, WPARAM wp, LPARAM lp) {
  auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_ENTERIDLE && m->wParam == MSGF_MENU) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
      GetWindowRect(popup, &shownMenu);
      ++menusShown;
      EndMenu();
    }
  }
  return CallNextHookEx(menuHook, code, wp, lp);
}

TEST_F(Word, TheMenuKeyOpensThePanesMenuAtTheCaret) {
  using test_support::PostKey;
  suite::TempDir t;
  t.Write(L"k.txt", "line one\r\nline two abc\r\nline three");
  Search(L"abc", t.wpath(), L"*.txt");
  Show(0);
  HWND pane = word_.control(FormWord::kIdPane);
  ASSERT_EQ(GetFocus(), pane);
  CHARRANGE sel = Selection();
  POINTL caret{};
  SendMessageW(pane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&caret), sel.cpMax);
  POINT at{caret.x, caret.y};
  ClientToScreen(pane, &at);
  // The pointer is far from the caret.
  SetCursorPos(0, 0);
  for (bool shiftF10 : {false, true}) {
    menusShown = 0;
    menuHook = SetWindowsHookExW(WH_CALLWNDPROC, MenuWatch, nullptr, GetCurrentThreadId());
    if (shiftF10)
      test_support::PostShiftF10(pane);
    else
      PostKey(pane, VK_APPS);
    common::PumpMessages();
    test_support::ReleaseShift();
    UnhookWindowsHookEx(menuHook);
    ASSERT_EQ(menusShown, 1) << shiftF10;
    EXPECT_NEAR(shownMenu.left, at.x, 4) << shiftF10;
    EXPECT_GE(shownMenu.top, at.y) << shiftF10;
    EXPECT_LT(shownMenu.top, at.y + 60) << shiftF10;
  }
}

TEST_F(Word, StatusPanelsAreAsWideAsTheirTexts) {
  HWND bar = FindWindowExW(word_.hwnd(), nullptr, STATUSCLASSNAMEW, nullptr);
  ASSERT_NE(bar, nullptr);
  HDC dc = GetDC(bar);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
  auto width = [&](const std::wstring& text) {
    SIZE s{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &s);
    return s.cx;
  };
  // The texts the panels show, at their longest.
  const struct {
    int part;
    std::wstring text;
  } panels[] = {{2, ScanSizeText(uint64_t(INT32_MAX) - 1)},
                {2, L"文件大小：0.029KB"},
                {4, ScannedText(INT32_MAX)},
                {4, L"搜索文件：21 个"}};
  for (const auto& p : panels) {
    RECT r{};
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, p.part, reinterpret_cast<LPARAM>(&r)));
    EXPECT_GE(r.right - r.left, width(p.text) + 4) << p.part;
  }
  SelectObject(dc, old);
  ReleaseDC(bar, dc);
}

}  // namespace
}  // namespace sercavo
