#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/text_codec.h"
#include "common/win/message_loop.h"
#include "common/win/pump.h"
#include "common/win/settings_store.h"
#include "search/engine/search_state.h"
#include "search/engine/testing/at_next_pump.h"
#include "search/engine/testing/keys.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/form_word.h"

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

}  // namespace
}  // namespace sercavo
