#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "common/path.h"
#include "common/testing/temp_dir.h"
#include "common/testing/win/child_process.h"
#include "common/testing/win/msgbox_answers.h"
#include "common/testing/win/text_files.h"
#include "common/win/clipboard.h"
#include "common/win/pump.h"
#include "common/win/sibling_tool.h"
#include "common/win/system.h"
#include "common/win/ui/modal.h"
#include "search/engine/search_state.h"
#include "search/engine/win/testing/at_next_pump.h"
#include "search/engine/win/testing/keys.h"
#include "search/engine/win/file_ops.h"
#include "search/engine/win/folder_walk.h"
#include "search/engine/win/form_copy.h"
#include "search/engine/win/form_search.h"
#include "search/engine/win/frm_main.h"

namespace sercavo {
namespace {

// The clipboard's text; a clipboard that cannot be opened fails the test instead of reading as empty.
std::wstring Clip() {
  bool opened = false;
  for (int i = 0; i < 50 && !(opened = OpenClipboard(nullptr)); ++i) Sleep(10);
  EXPECT_TRUE(opened) << "the clipboard could not be opened";
  if (!opened) return L"(no clipboard)";
  std::wstring s;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    s = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return s;
}

class Main : public testing::Test {
 protected:
  void SetUp() override {
    State() = SearchState{};
    State().shieldFlags = {L"0", L"0", L"0", L"0", L"0"};
    ASSERT_TRUE(main_.Load(L"\"C:\\some folder\""));
  }
  void TearDown() override { main_.Destroy(); }

  std::vector<std::wstring> Names() {
    std::vector<std::wstring> n;
    for (size_t i = 0; i < main_.lvw().model().size(); ++i) n.emplace_back(main_.lvw().model().Name(i));
    std::sort(n.begin(), n.end());
    return n;
  }
  // The texts of the row of that name, by column; empty when there is no such row.
  std::vector<std::wstring> Row(const std::wstring& name) {
    const ResultsModel& m = main_.lvw().model();
    for (size_t i = 0; i < m.size(); ++i)
      if (m.Name(i) == name) {
        std::vector<std::wstring> texts;
        for (int c = 0; c < kColumnCount; ++c) texts.push_back(m.Text(i, c));
        return texts;
      }
    return {};
  }
  void Search(int kind, const std::wstring& keyword, const std::wstring& where) {
    State().searchMode = int16_t(kind);
    State().searchKeyword = keyword;
    State().stopRequested = false;
    ASSERT_TRUE(main_.Search(where));
  }
  // Selects the rows whose names are given, in the control as a user would.
  void SelectOnly(std::initializer_list<const wchar_t*> names) {
    ResultsModel& m = main_.lvw().model();
    m.ClearSelection();
    for (size_t i = 0; i < m.size(); ++i)
      for (const wchar_t* n : names)
        if (m.Name(i) == n) m.SetSelected(i, true);
    main_.lvw().PushSelection();
  }

  FrmMain main_;
};

TEST_F(Main, CategorySearchesOverFilesOfExactSizes) {
  suite::TempDir t;
  t.Write(L"p\\photo.JPG", std::string(30001, 'x'));
  t.Write(L"p\\small.jpg", std::string(30000, 'x'));
  t.Write(L"f\\clip.swf", std::string(10000, 'x'));
  t.Write(L"f\\big.flv", std::string(10001, 'x'));
  t.Write(L"Thumbs.db", "");
  t.Write(L"j\\tmp", "");
  t.Write(L"film.avi", "x");
  Search(kPictures, L"", t.wpath());
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"photo.JPG"}));
  ASSERT_FALSE(Row(L"photo.JPG").empty());
  EXPECT_EQ(Row(L"photo.JPG")[kColSize], L"30.001 KB");
  EXPECT_EQ(Row(L"photo.JPG")[kColType], L"JPG");
  EXPECT_EQ(Row(L"photo.JPG")[kColModified], GeneralDateText(ModifiedTime(t.wpath() + L"\\p\\photo.JPG")));
  EXPECT_FALSE(Row(L"photo.JPG")[kColModified].empty());
  EXPECT_EQ(main_.Status(5), L"发现目标文件：1 个");
  Search(kFlash, L"", t.wpath());
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"big.flv"}));
  Search(kJunk, L"", t.wpath());
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Thumbs.db", L"tmp"}));
  EXPECT_EQ(Row(L"tmp")[kColType], L"TMP");
  EXPECT_EQ(State().scannedCount, 7);
  // A shielded kind still counts what it examines but lists nothing and leaves the counters alone.
  State().shieldFlags[0] = L"1";
  Search(kMovies, L"", t.wpath());
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(State().scannedCount, 7);
  EXPECT_EQ(main_.Status(5), L"发现目标文件：2 个");
}

TEST_F(Main, NameSearchListsFoldersAndLargeFiles) {
  suite::TempDir t;
  t.Write(L"Report-2024\\notes.txt", "x");
  t.Write(L"old report.doc", "xx");
  std::wstring big = t.wpath() + L"\\report.iso";
  HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 3000000001LL;
  SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
  bool grown = SetEndOfFile(h);
  CloseHandle(h);
  Search(kName, L"REPORT", t.wpath());
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Report-2024", L"old report.doc", L"report.iso"}));
  EXPECT_EQ(Row(L"Report-2024")[kColSize], L"未知");
  EXPECT_EQ(Row(L"Report-2024")[kColType], L"文件夹");
  EXPECT_EQ(Row(L"Report-2024")[kColPath], t.wpath() + L"\\Report-2024");
  if (grown) {
    EXPECT_EQ(Row(L"report.iso")[kColSize], L"3000000.001 KB");
  }
  EXPECT_EQ(main_.Status(3), L"搜索文件总数：3 个");
}

TEST_F(Main, CopyLeavesRowsAndMoveAndDeleteRemoveThem) {
  suite::TempDir t, target;
  for (const wchar_t* n : {L"a.tmp", L"b.tmp", L"c.tmp", L"d.tmp", L"\u2603 e.tmp"}) t.Write(n, "data");
  Search(kJunk, L"", t.wpath());
  ASSERT_EQ(main_.lvw().Count(), 5);
  SelectOnly({L"a.tmp", L"\u2603 e.tmp"});
  main_.RunFileOp(kFileOpCopy, target.wpath() + L"\\");
  EXPECT_EQ(main_.lvw().Count(), 5);
  EXPECT_TRUE(common::FileExists(target.wpath() + L"\\a.tmp"));
  EXPECT_TRUE(common::FileExists(target.wpath() + L"\\\u2603 e.tmp"));

  // Three adjacent rows in list order.
  main_.lvw().ColumnClick(kColName);
  main_.lvw().ColumnClick(kColName);  // ascending: a b c d e
  SelectOnly({L"b.tmp", L"c.tmp", L"d.tmp"});
  suite::MsgBoxAnswers answers(IDOK);
  main_.DeleteClick();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"您确实要删除该文件吗？       ");
  EXPECT_EQ(answers.shown()[0].title, L"删除");
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.tmp", L"\u2603 e.tmp"}));
  EXPECT_FALSE(common::FileExists(t.wpath() + L"\\c.tmp"));

  SelectOnly({L"a.tmp"});
  suite::TempDir moved;
  main_.RunFileOp(kFileOpMove, moved.wpath() + L"\\");
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"\u2603 e.tmp"}));
  EXPECT_TRUE(common::FileExists(moved.wpath() + L"\\a.tmp"));
  EXPECT_FALSE(common::FileExists(t.wpath() + L"\\a.tmp"));
}

TEST_F(Main, CancelledDeleteKeepsEverything) {
  suite::TempDir t;
  t.Write(L"keep.tmp", "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().SelectAll();
  suite::MsgBoxAnswers answers(IDCANCEL);
  main_.DeleteClick();
  EXPECT_EQ(main_.lvw().Count(), 1);
  EXPECT_TRUE(common::FileExists(t.wpath() + L"\\keep.tmp"));
}

TEST_F(Main, AFailedDeleteKeepsItsRowSelected) {
  suite::TempDir t;
  std::wstring locked = t.Write(L"locked.tmp", "x");
  t.Write(L"free.tmp", "x");
  Search(kJunk, L"", t.wpath());
  HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  main_.lvw().SelectAll();
  main_.RunFileOp(kFileOpDelete, L"");
  CloseHandle(h);
  if (!common::FileExists(locked)) GTEST_SKIP() << "this system deletes open files";
  ASSERT_EQ(Names(), (std::vector<std::wstring>{L"locked.tmp"}));
  main_.lvw().PullSelection();
  EXPECT_TRUE(main_.lvw().model().Selected(0));
}

// Presses "取消(&C)" as soon as the copy window shows.
void CancelCopy(common::ui::Window& w) {
  if (dynamic_cast<FormCopy*>(&w)) PostMessageW(w.hwnd(), WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
}

TEST_F(Main, CancelledMoveStopsAfterTheCurrentRowAndKeepsTheRestSelected) {
  suite::TempDir t, target;
  for (const wchar_t* n : {L"1.tmp", L"2.tmp", L"3.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().SelectAll();
  {
    common::ui::ModalHookScope answer(CancelCopy);
    main_.RunFileOp(kFileOpMove, target.wpath() + L"\\");
  }
  EXPECT_EQ(main_.lvw().Count(), 2);
  main_.lvw().PullSelection();
  EXPECT_EQ(main_.lvw().model().SelectedIndices().size(), 2u);
  EXPECT_TRUE(State().stopRequested);
}

TEST_F(Main, SearchWindowRunsTheSearchAndReportsTheEnd) {
  suite::TempDir t;
  t.Write(L"hit.txt", "x");
  EXPECT_EQ(main_.pendingFolder(), L"C:\\some folder");
  State().searchMode = kName;
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  EXPECT_EQ(common::ui::WindowText(form.comb(1)), L"C:\\some folder");
  EXPECT_TRUE(main_.pendingFolder().empty());
  form.Command1Click();  // no keyword: nothing happens
  EXPECT_EQ(form.Command1Caption(), kSearchS);
  SetWindowTextW(form.comb(0), L"hit");
  SetWindowTextW(form.comb(1), t.wpath().c_str());
  suite::MsgBoxAnswers answers;
  form.Command1Click();
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"搜索完毕！   ");
  EXPECT_EQ(answers.shown()[0].flags & MB_ICONINFORMATION, UINT(MB_ICONINFORMATION));
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_EQ(main_.Command1Caption(), kSearchS);
  EXPECT_EQ(main_.Status(1), kStoppedText);
  EXPECT_EQ(main_.lvw().Count(), 1);
  EXPECT_EQ(State().keywordHistory.items(), std::vector<std::wstring>{L"hit"});
}

// Types a keyword and a range into the search window as it shows, then presses Enter in the keyword box.
std::wstring enterRange;
void EnterInSearchWindow(common::ui::Window& w) {
  if (!dynamic_cast<FormSearch*>(&w)) return;
  HWND form = w.hwnd();
  SetWindowTextW(GetDlgItem(form, FormSearch::kIdKeyword), L"hit");
  SetWindowTextW(GetDlgItem(form, FormSearch::kIdRange), enterRange.c_str());
  HWND edit = FindWindowExW(GetDlgItem(form, FormSearch::kIdKeyword), nullptr, L"Edit", nullptr);
  PostMessageW(edit ? edit : GetDlgItem(form, FormSearch::kIdKeyword), WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(Main, EnterInTheKeywordBoxSearchesFromTheModalWindow) {
  suite::TempDir t;
  t.Write(L"a\\hit.txt", "x");
  enterRange = t.wpath();
  suite::MsgBoxAnswers answers;
  {
    common::ui::ModalHookScope answer(EnterInSearchWindow);
    main_.OptClick(kName);  // returns when the search window has closed
  }
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"hit.txt"}));
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"搜索完毕！   ");
  EXPECT_TRUE(IsWindowEnabled(main_.hwnd()));
  EXPECT_EQ(main_.Command1Caption(), kSearchS);
}

TEST_F(Main, StopPressedTwiceDuringTheWalkStopsOnceAndStartsNothing) {
  suite::TempDir t;
  for (int i = 0; i < 50; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit" + std::to_wstring(i) + L".txt", "x");
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  SetWindowTextW(form.comb(0), L"hit");
  SetWindowTextW(form.comb(1), t.wpath().c_str());
  // Both clicks wait in the queue and arrive at the walk's first message-pump step.
  for (int i = 0; i < 2; ++i) PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(FormSearch::kIdSearch, BN_CLICKED), 0);
  suite::MsgBoxAnswers answers;
  form.Command1Click();
  EXPECT_TRUE(answers.shown().empty());
  EXPECT_NE(form.hwnd(), nullptr);  // a stopped search leaves its window open
  EXPECT_EQ(form.Command1Caption(), kSearchS);
  EXPECT_EQ(main_.Command1Caption(), kSearchS);
  EXPECT_EQ(main_.Status(1), kStoppedText);
  EXPECT_FALSE(main_.searching());
  EXPECT_LT(main_.lvw().Count(), 50);
  form.Destroy();
}

TEST_F(Main, ClosingTheSearchWindowDuringTheWalkStopsIt) {
  suite::TempDir t;
  for (int i = 0; i < 50; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "x");
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  SetWindowTextW(form.comb(0), L"hit");
  SetWindowTextW(form.comb(1), t.wpath().c_str());
  PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  suite::MsgBoxAnswers answers;
  form.Command1Click();
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_TRUE(answers.shown().empty());
  EXPECT_EQ(main_.Command1Caption(), kSearchS);
  EXPECT_FALSE(main_.searching());
  EXPECT_LT(main_.lvw().Count(), 50);
}

TEST_F(Main, RefusesToCloseWhileTheButtonSaysStop) {
  main_.SetCommand1Caption(kStopS);
  suite::MsgBoxAnswers answers;
  SendMessageW(main_.hwnd(), WM_CLOSE, 0, 0);
  ASSERT_NE(main_.hwnd(), nullptr);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, L"对不起！您还没有停止文件搜索……       ");
  main_.SetCommand1Caption(kSearchS);
}

TEST_F(Main, LeftClickCopiesThePathUnlessShiftIsHeld) {
  suite::TempDir t;
  for (const wchar_t* n : {L"a.tmp", L"b.tmp", L"c.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().ColumnClick(kColName);
  main_.lvw().ColumnClick(kColName);  // ascending: a b c
  ASSERT_TRUE(common::SetClipboardText(main_.hwnd(), L"before"));
  main_.lvw().SelectAll();
  main_.ListMouseUp(FrmMain::kLeftButton, FrmMain::kShiftDown);
  EXPECT_EQ(Clip(), L"before");
  main_.ListMouseUp(2, 0);
  EXPECT_EQ(Clip(), L"before");
  main_.ListMouseUp(FrmMain::kLeftButton, FrmMain::kCtrlDown);
  EXPECT_NE(Clip(), L"before");
}

TEST_F(Main, TheClickedOrFocusedRowIsUsedNotTheFirstSelected) {
  suite::TempDir t;
  for (const wchar_t* n : {L"a.tmp", L"b.tmp", L"c.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().ColumnClick(kColName);
  main_.lvw().ColumnClick(kColName);  // ascending: a b c
  HWND list = main_.lvw().hwnd();
  main_.lvw().SelectAll();
  ListView_SetItemState(list, 2, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(main_.lvw().ActiveRow(), 2);
  main_.ListMouseUp(FrmMain::kLeftButton, FrmMain::kCtrlDown);  // as the arrow keys do: the focused row
  EXPECT_EQ(Clip(), t.wpath() + L"\\c.tmp");
  // A click names its row.
  NMITEMACTIVATE click{};
  click.hdr = {list, UINT_PTR(FrmMain::kIdList), UINT(NM_CLICK)};
  click.iItem = 1;
  SendMessageW(main_.hwnd(), WM_NOTIFY, FrmMain::kIdList, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(Clip(), t.wpath() + L"\\b.tmp");
  // A focused row that is not selected gives way to the selected one.
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(main_.lvw().ActiveRow(), 1);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  EXPECT_EQ(main_.lvw().ActiveRow(), -1);
}

TEST_F(Main, KeywordsBeginningWithSFindEveryNameHoldingThem) {
  suite::TempDir t;
  std::wstring tree = t.wpath() + L"\\tree";
  for (int i = 0; i < 64; ++i)
    t.Write(L"tree\\d" + std::to_wstring(i % 4) + L"\\" + (i % 2 ? L"sales" : L"Notes") + std::to_wstring(i) + L".txt",
            "x");
  t.Write(L"tree\\ales_sa.txt", "x");
  t.Write(L"tree\\other.txt", "x");
  Search(kName, L"s", tree);
  EXPECT_EQ(main_.lvw().Count(), 65);
  Search(kName, L"sa", tree);
  EXPECT_EQ(main_.lvw().Count(), 33);
  EXPECT_FALSE(Row(L"ales_sa.txt").empty());
  Search(kName, L"", tree);
  EXPECT_EQ(main_.lvw().Count(), 0);
}

TEST_F(Main, SameNamedRowsMovedIntoOneFolderAreAllKept) {
  suite::TempDir t, target;
  t.Write(L"A\\readme.txt", "from A");
  t.Write(L"B\\readme.txt", "from B");
  Search(kName, L"readme", t.wpath());
  ASSERT_EQ(main_.lvw().Count(), 2);
  main_.lvw().SelectAll();
  suite::MsgBoxAnswers answers;
  main_.RunFileOp(kFileOpMove, target.wpath() + L"\\");
  EXPECT_EQ(main_.lvw().Count(), 0);
  std::string a = suite::ReadBytes(target.wpath() + L"\\readme.txt").value_or("");
  std::string b = suite::ReadBytes(target.wpath() + L"\\readme (2).txt").value_or("");
  EXPECT_TRUE((a == "from A" && b == "from B") || (a == "from B" && b == "from A")) << a << " / " << b;
  EXPECT_TRUE(answers.shown().empty());
}

TEST_F(Main, LongPathFailuresAreReportedAndTheirRowsStay) {
  suite::TempDir t;
  std::wstring deep = t.wpath();
  for (int i = 0; i < 10; ++i) deep += L"\\a-rather-long-folder-name-" + std::to_wstring(i);
  for (size_t at = deep.find(L'\\', 3); at != std::wstring::npos; at = deep.find(L'\\', at + 1))
    CreateDirectoryW(common::ExtendedPath(deep.substr(0, at)).c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(common::ExtendedPath(deep).c_str(), nullptr));
  std::wstring file = deep + L"\\long.tmp";
  HANDLE h = CreateFileW(common::ExtendedPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  Search(kJunk, L"", t.wpath());
  ASSERT_EQ(main_.lvw().Count(), 1);
  main_.lvw().SelectAll();
  suite::MsgBoxAnswers answers;
  main_.RunFileOp(kFileOpMove, t.wpath() + L"\\no such folder\\");
  EXPECT_EQ(main_.lvw().Count(), 1);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_NE(answers.shown()[0].text.find(file), std::wstring::npos);
  main_.RunFileOp(kFileOpDelete, L"");
  EXPECT_EQ(main_.lvw().Count(), 0);
  EXPECT_FALSE(PathExists(file));
}

TEST_F(Main, TheHourglassHoldsThroughMouseMovesWhileBusy) {
  suite::TempDir t;
  for (int i = 0; i < 20; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "x");
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  auto moveOver = [](HWND w) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return SendMessageW(w, WM_SETCURSOR, WPARAM(w), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  LRESULT overMain = 0, overList = 0;
  HCURSOR shown = nullptr;
  test_support::AtNextPump probe([&] {
    overMain = moveOver(main_.hwnd());
    overList = moveOver(main_.lvw().hwnd());
    shown = GetCursor();
  });
  Search(kName, L"hit", t.wpath());
  ASSERT_TRUE(probe.ran());
  EXPECT_TRUE(overMain);
  EXPECT_TRUE(overList);
  EXPECT_EQ(shown, wait);
  moveOver(main_.hwnd());
  EXPECT_NE(GetCursor(), wait);
}

TEST_F(Main, StopStopsEvenWhenTheKeywordBoxWasEmptied) {
  suite::TempDir t;
  for (int i = 0; i < 50; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "x");
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  SetWindowTextW(form.comb(0), L"hit");
  SetWindowTextW(form.comb(1), t.wpath().c_str());
  test_support::AtNextPump stop([&] {
    SetWindowTextW(form.comb(0), L"");
    form.Command1Click();
  });
  suite::MsgBoxAnswers answers;
  form.Command1Click();
  ASSERT_TRUE(stop.ran());
  EXPECT_TRUE(State().stopRequested);
  EXPECT_TRUE(answers.shown().empty());
  EXPECT_EQ(form.Command1Caption(), kSearchS);
  EXPECT_LT(main_.lvw().Count(), 50);
  form.Destroy();
}

using test_support::EditOf;
using test_support::PostKey;

TEST_F(Main, AMissingReportToolIsNamedInsteadOfStarted) {
  const std::wstring report = common::AppFolder() + L"report.exe";
  ASSERT_FALSE(common::FileExists(report));
  HMENU tools = GetSubMenu(GetMenu(main_.hwnd()), 2);
  int id = -1;
  for (int i = 0; tools && i < GetMenuItemCount(tools); ++i) {
    wchar_t caption[64]{};
    GetMenuStringW(tools, i, caption, 64, MF_BYPOSITION);
    if (std::wstring(caption) == L"文件夹检查(&F)") id = int(GetMenuItemID(tools, i));
  }
  ASSERT_GE(id, 0) << "the tools menu holds the item";
  suite::MsgBoxAnswers answers;
  SendMessageW(main_.hwnd(), WM_COMMAND, WPARAM(id), 0);
  ASSERT_EQ(answers.shown().size(), 1u);
  EXPECT_EQ(answers.shown()[0].text, common::SiblingToolMissingText(report));
}

TEST_F(Main, MnemonicsTabAndEnterInTheMainWindow) {
  suite::TempDir t;
  for (const wchar_t* n : {L"a.tmp", L"b.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().ShowNewRows();
  HWND list = main_.lvw().hwnd();
  SetFocus(list);
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  PostKey(list, 'i', true);  // "反选(&I)"
  common::PumpMessages();
  main_.lvw().PullSelection();
  EXPECT_EQ(main_.lvw().model().SelectedIndices(), std::vector<size_t>{1});
  // Tab from the list goes round to the chosen kind (one stop for the seven), then to the first button.
  PostKey(list, VK_TAB);
  common::PumpMessages();
  HWND kind = GetDlgItem(main_.hwnd(), FrmMain::kIdOpt + int(kName));  // the kind chosen in the window
  EXPECT_EQ(GetFocus(), kind) << GetDlgCtrlID(GetFocus());
  PostKey(kind, VK_TAB);
  common::PumpMessages();
  EXPECT_EQ(GetFocus(), GetDlgItem(main_.hwnd(), FrmMain::kIdCmd + 1));
  // Enter on the list opens its row: nothing to see here but that nothing breaks; Esc closes nothing.
  PostKey(list, VK_ESCAPE);
  common::PumpMessages();
  EXPECT_TRUE(IsWindow(main_.hwnd()));
}

// Presses Esc in the copy window as soon as it shows.
void EscInCopyWindow(common::ui::Window& w) {
  if (dynamic_cast<FormCopy*>(&w)) PostKey(GetDlgItem(w.hwnd(), 1), VK_ESCAPE);
}

TEST_F(Main, EscInTheCopyWindowStopsAfterTheCurrentRow) {
  suite::TempDir t, target;
  for (const wchar_t* n : {L"1.tmp", L"2.tmp", L"3.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().SelectAll();
  {
    common::ui::ModalHookScope answer(EscInCopyWindow);
    main_.RunFileOp(kFileOpMove, target.wpath() + L"\\");
  }
  EXPECT_EQ(main_.lvw().Count(), 2);
  EXPECT_TRUE(State().stopRequested);
}

TEST_F(Main, EnterOrAltSInTheSearchWindowStopsAWalk) {
  suite::TempDir t;
  for (int i = 0; i < 50; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "x");
  for (bool alt : {false, true}) {
    FormSearch form(main_);
    ASSERT_TRUE(form.Load(KindCaption(kName)));
    SetWindowTextW(form.comb(0), L"hit");
    SetWindowTextW(form.comb(1), t.wpath().c_str());
    HWND box = EditOf(form.comb(alt ? 1 : 0));
    SetFocus(box);
    test_support::AtNextPump press([&] { PostKey(box, alt ? 's' : VK_RETURN, alt); });
    suite::MsgBoxAnswers answers;
    form.Command1Click();
    ASSERT_TRUE(press.ran());
    EXPECT_TRUE(State().stopRequested) << alt;
    EXPECT_EQ(form.Command1Caption(), kSearchS);
    EXPECT_LT(main_.lvw().Count(), 50);
    EXPECT_TRUE(answers.shown().empty());
    form.Destroy();
  }
}

// Closes any search window but the one already open as soon as it shows, counting them.
HWND alreadyOpen = nullptr;
int searchWindowsShown = 0;
void CloseNewSearchWindows(common::ui::Window& w) {
  if (w.hwnd() != alreadyOpen && dynamic_cast<FormSearch*>(&w)) {
    ++searchWindowsShown;
    PostMessageW(w.hwnd(), WM_CLOSE, 0, 0);
  }
}

// A text search walks (its window is not the main one's, so the main window takes clicks in its pump
// steps): no name search opens or starts meanwhile, the user is told, and nothing says "搜索完毕！".
TEST_F(Main, NoOtherSearchStartsWhileTheTextSearchWalks) {
  suite::TempDir t;
  for (int i = 0; i < 40; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "abc");
  FormWord& word = main_.formWord();
  ASSERT_TRUE(word.Load(main_.hwnd()));
  SetWindowTextW(word.control(FormWord::kIdFind), L"abc");
  SetWindowTextW(word.control(FormWord::kIdFolder), t.wpath().c_str());
  SetWindowTextW(word.control(FormWord::kIdTypes), L"*.txt");
  // A name search window that was open before the text search started.
  FormSearch open(main_);
  ASSERT_TRUE(open.Load(KindCaption(kName)));
  SetWindowTextW(open.comb(0), L"hit");
  SetWindowTextW(open.comb(1), t.wpath().c_str());
  suite::MsgBoxAnswers answers;
  searchWindowsShown = 0;
  alreadyOpen = open.hwnd();
  std::optional<common::ui::ModalHookScope> closing(std::in_place, CloseNewSearchWindows);
  test_support::AtNextPump during([&] {
    main_.OptClick(kName);  // "文件搜索"
    main_.Command1Click();  // "搜索(&F)"
    open.Command1Click();   // "搜索(&S)" in the window already open
  });
  word.Command2Click();
  closing.reset();
  ASSERT_TRUE(during.ran());
  EXPECT_EQ(searchWindowsShown, 0);
  ASSERT_EQ(answers.shown().size(), 3u);
  for (const auto& shown : answers.shown()) EXPECT_EQ(shown.text, kNotStopped);
  // The text search ran to its end, and the name search window says nothing ran.
  EXPECT_EQ(SendMessageW(word.control(FormWord::kIdList), LB_GETCOUNT, 0, 0), 40);
  EXPECT_EQ(open.Command1Caption(), kSearchS);
  EXPECT_EQ(main_.Command1Caption(), kSearchF);
  EXPECT_EQ(main_.lvw().Count(), 0);
  open.Destroy();
}

TEST_F(Main, TheTextSearchDoesNotStartWhileANameSearchWalks) {
  suite::TempDir t;
  for (int i = 0; i < 40; ++i) t.Write(L"d" + std::to_wstring(i) + L"\\hit.txt", "abc");
  FormWord& word = main_.formWord();
  ASSERT_TRUE(word.Load(main_.hwnd()));
  SetWindowTextW(word.control(FormWord::kIdFind), L"abc");
  SetWindowTextW(word.control(FormWord::kIdFolder), t.wpath().c_str());
  FormSearch form(main_);
  ASSERT_TRUE(form.Load(KindCaption(kName)));
  SetWindowTextW(form.comb(0), L"hit");
  SetWindowTextW(form.comb(1), t.wpath().c_str());
  suite::MsgBoxAnswers answers;
  std::wstring caption;
  test_support::AtNextPump during([&] {
    word.Command2Click();  // "开始查找"
    caption = common::ui::WindowText(word.control(FormWord::kIdStart));
  });
  form.Command1Click();
  ASSERT_TRUE(during.ran());
  ASSERT_EQ(answers.shown().size(), 2u);
  EXPECT_EQ(answers.shown()[0].text, kNotStopped);
  EXPECT_EQ(answers.shown()[1].text, L"搜索完毕！   ");  // the name search's own end
  EXPECT_EQ(caption, kStartFind);
  EXPECT_EQ(SendMessageW(word.control(FormWord::kIdList), LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(main_.lvw().Count(), 40);
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

TEST_F(Main, ShiftF10AndTheMenuKeyOpenTheEditMenuAtTheRow) {
  suite::TempDir t;
  for (const wchar_t* n : {L"a.tmp", L"b.tmp", L"c.tmp"}) t.Write(n, "x");
  Search(kJunk, L"", t.wpath());
  main_.lvw().ShowNewRows();
  HWND list = main_.lvw().hwnd();
  SetFocus(list);
  ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  RECT row{LVIR_LABEL};
  ASSERT_TRUE(ListView_GetItemRect(list, 2, &row, LVIR_LABEL));
  POINT at{row.left, row.bottom};
  ClientToScreen(list, &at);
  SetCursorPos(0, 0);  // far from the row
  for (bool shiftF10 : {false, true}) {
    menusShown = 0;
    menuHook = SetWindowsHookExW(WH_CALLWNDPROC, MenuWatch, nullptr, GetCurrentThreadId());
    if (shiftF10)
      test_support::PostShiftF10(list);
    else
      PostKey(list, VK_APPS);
    common::PumpMessages();
    test_support::ReleaseShift();
    UnhookWindowsHookEx(menuHook);
    ASSERT_EQ(menusShown, 1) << shiftF10;
    EXPECT_NEAR(shownMenu.left, at.x, 4) << shiftF10;
    EXPECT_NEAR(shownMenu.top, at.y, 4) << shiftF10;
  }
}

// The real program under Wine, started as Explorer starts it.
TEST(Sercavo, StartsOnTheFolderExplorerGives) {
  suite::ChildProcess app(L"\"C:\\some folder\"", suite::BinFolder() + L"sercavo.exe");
  ASSERT_TRUE(app.started());
  HWND main = nullptr;
  ASSERT_TRUE(
      suite::PumpUntil([&] { return (main = FindWindowW(L"SercavoFrmMain", kMainCaption)) != nullptr; }, 15000));
  PostMessageW(main, WM_COMMAND, MAKEWPARAM(FrmMain::kIdOpt + int(kName), BN_CLICKED), 0);
  HWND form = nullptr;
  ASSERT_TRUE(suite::PumpUntil([&] { return (form = FindWindowW(kFormSearchClass, L"文件搜索")) != nullptr; }, 10000));
  // The window shows before its boxes are filled: wait for the range box.
  auto range = [&] {
    wchar_t text[MAX_PATH] = {};
    SendMessageW(GetDlgItem(form, FormSearch::kIdRange), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  suite::PumpUntil([&] { return range() == L"C:\\some folder"; }, 5000);
  EXPECT_EQ(range(), L"C:\\some folder");
}

}  // namespace
}  // namespace sercavo
