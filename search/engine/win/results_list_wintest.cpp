#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/testing/win/child_process.h"
#include "search/engine/win/results_list.h"

namespace sercavo {
namespace {

class List : public testing::Test {
 protected:
  void SetUp() override {
    parent_ = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    lvw_.Create(parent_, 1);
  }
  void TearDown() override { DestroyWindow(parent_); }
  HWND parent_ = nullptr;
  ResultsList lvw_;
};

// The pixels of an image of the list, drawn on white.
std::vector<DWORD> Pixels(HIMAGELIST list, int index) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  PatBlt(dc, 0, 0, 16, 16, WHITENESS);
  ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  std::vector<DWORD> px(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 256);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return px;
}

TEST_F(List, IconsAreSharedByTypeButProgramsKeepTheirOwn) {
  int a = lvw_.IconFor(L"C:\\x\\a.txt", false);
  ASSERT_GE(a, 0);
  EXPECT_EQ(lvw_.IconFor(L"D:\\elsewhere\\B.TXT", false), a);
  EXPECT_EQ(lvw_.IconFor(L"C:\\x\\folder", true), lvw_.IconFor(L"C:\\y\\other", true));
  // A program without an icon of its own shows the shell's program icon; this program shows its own.
  std::wstring child = suite::BinFolder() + L"suite_child.exe", self = suite::BinFolder() + L"sercavo.exe";
  int c = lvw_.IconFor(child, false), s = lvw_.IconFor(self, false);
  ASSERT_GE(c, 0);
  ASSERT_GE(s, 0);
  EXPECT_EQ(lvw_.IconFor(self, false), s);
  HIMAGELIST images = ListView_GetImageList(lvw_.hwnd(), LVSIL_SMALL);
  EXPECT_NE(Pixels(images, c), Pixels(images, s));
  EXPECT_EQ(ImageList_GetImageCount(images), 4);
  lvw_.Clear();
  EXPECT_EQ(lvw_.Count(), 0);
}

TEST(ListImages, TheListLeavesItsImageListToItsOwner) {
  HWND parent = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ResultsList lvw;
  lvw.Create(parent, 1);
  ASSERT_GE(lvw.IconFor(L"C:\\x\\a.txt", false), 0);
  HIMAGELIST images = ListView_GetImageList(lvw.hwnd(), LVSIL_SMALL);
  DestroyWindow(parent);
  // Still alive after the control has gone: only the list's owner frees it.
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
}

TEST_F(List, RowTextsComeFromTheModelAndFitTheBuffer) {
  WIN32_FIND_DATAW e{};
  wcscpy(e.cFileName, L"报告.txt");
  e.nFileSizeLow = 1500;
  lvw_.AddFile(L"C:\\docs\\", e);
  lvw_.ShowNewRows();
  EXPECT_EQ(ListView_GetItemCount(lvw_.hwnd()), 1);
  wchar_t buf[4] = {};
  NMLVDISPINFOW info{};
  info.item.mask = LVIF_TEXT | LVIF_IMAGE;
  info.item.iItem = 0;
  info.item.iSubItem = kColPath;
  info.item.pszText = buf;
  info.item.cchTextMax = 4;
  lvw_.OnGetDispInfo(&info);
  EXPECT_STREQ(buf, L"C:\\");
  info.item.iItem = 5;  // beyond the rows: nothing is written
  buf[0] = L'x';
  lvw_.OnGetDispInfo(&info);
  EXPECT_EQ(buf[0], L'x');
  wchar_t wide[64] = {};
  info.item = {};
  info.item.mask = LVIF_TEXT;
  info.item.pszText = wide;
  info.item.cchTextMax = 64;
  const std::pair<int, const wchar_t*> expected[] = {
      {kColName, L"报告.txt"}, {kColPath, L"C:\\docs\\报告.txt"}, {kColSize, L"1.5 KB"}, {kColType, L"TXT"}};
  for (const auto& [column, text] : expected) {
    info.item.iSubItem = column;
    lvw_.OnGetDispInfo(&info);
    EXPECT_STREQ(wide, text);
  }
}

TEST(GeneralDate, TheTextsMadeOnceAreThePlatformsOwn) {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  FILETIME base{};
  SystemTimeToFileTime(&now, &base);
  uint64_t t0 = (uint64_t(base.dwHighDateTime) << 32) | base.dwLowDateTime;
  // The same second twice, other seconds of the day, other days, and a time long ago.
  for (uint64_t t : {t0, t0, t0 + 10000000ull * 3599, t0 + 10000000ull * 86400 * 40, 116444736000000000ull + 1}) {
    FILETIME utc{DWORD(t), DWORD(t >> 32)}, local{};
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    ASSERT_TRUE(FileTimeToSystemTime(&local, &st));
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 80, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, time, 80);
    EXPECT_EQ(GeneralDateText(utc), std::wstring(date) + L" " + time);
  }
}

TEST_F(List, SelectionSurvivesASortAndAnInversion) {
  for (const wchar_t* n : {L"b", L"a", L"c"}) lvw_.model().AddFile(L"C:\\", n, 0, 0);
  lvw_.ShowNewRows();
  ListView_SetItemState(lvw_.hwnd(), 0, LVIS_SELECTED, LVIS_SELECTED);  // "b"
  lvw_.ColumnClick(kColName);                                           // descending: c b a
  EXPECT_EQ(lvw_.ActiveRow(), 1);
  lvw_.InvertSelection();
  lvw_.PullSelection();
  EXPECT_EQ(lvw_.model().SelectedIndices(), (std::vector<size_t>{0, 2}));
}

}  // namespace
}  // namespace sercavo
