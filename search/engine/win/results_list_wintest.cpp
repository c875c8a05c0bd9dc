#include <gtest/gtest.h>

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
  lvw_.Add({L"报告.txt", L"C:\\docs\\报告.txt", L"1.5 KB", L"TXT", L"2024/1/5 13:45:12"});
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
}

TEST_F(List, SelectionSurvivesASortAndAnInversion) {
  for (const wchar_t* n : {L"b", L"a", L"c"}) lvw_.Add({n, n, L"", L"", L""});
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
