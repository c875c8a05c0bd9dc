// The process list's icons: one per path, and no more than a margin of images of paths gone.
#include "guard/process/win/row_icons.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <unordered_set>
#include <vector>

#include "common/text.h"
#include "common/win/system.h"
#include "common/win/ui/list_view.h"
#include "common/win/ui/window.h"

using zorvix::RowIcons;

namespace {

class Host : public common::ui::Window {};

// Programs of the system folder: real files with icons of their own.
std::vector<std::wstring> SystemPrograms(size_t n) {
  std::vector<std::wstring> paths;
  for (auto& e : std::filesystem::directory_iterator(common::GetSystemFolder()))
    if (common::EqualsNoCase(e.path().extension().wstring(), L".exe") && paths.size() < n)
      paths.push_back(e.path().wstring());
  return paths;
}

// The pixels of one image, drawn onto white.
std::vector<uint32_t> Pixels(HIMAGELIST list, int index) {
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list, &cx, &cy);
  BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB}};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all{0, 0, cx, cy};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + cx * cy);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return pixels;
}

int RowImage(HWND lvw, int row) {
  LVITEMW item{LVIF_IMAGE, row};
  ListView_GetItem(lvw, &item);
  return item.iImage;
}

}  // namespace

TEST(RowIcons, ImagesOfPathsGoneAreDroppedAndTheRowsKeepTheirIcons) {
  Host host;
  host.Create(L"ZorvixIconHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300);
  common::ui::ListView lvw;
  lvw.Create(host.hwnd(), 1, LVS_SHAREIMAGELISTS);
  lvw.AddColumn(L"c", 1000);
  RowIcons icons;
  icons.Create(lvw.hwnd());
  auto paths = SystemPrograms(RowIcons::kSpareImages + 10);
  ASSERT_EQ(paths.size(), RowIcons::kSpareImages + 10);
  for (auto& p : paths) ASSERT_GE(icons.Add(p), 0) << p.size();
  EXPECT_EQ(icons.Add(paths[0]), icons.Find(paths[0])) << "a known path keeps its image";
  EXPECT_EQ(size_t(ImageList_GetImageCount(icons.handle())), paths.size());

  // Two rows are left, of the last two paths; every other path has gone.
  std::unordered_set<std::wstring> listed{paths[paths.size() - 2], paths.back()};
  auto before = Pixels(icons.handle(), icons.Find(paths.back()));
  HIMAGELIST shown = icons.handle();
  int a = lvw.Add(L"a", L"a", icons.Find(paths[paths.size() - 2])), b = lvw.Add(L"b", L"b", icons.Find(paths.back()));
  EXPECT_FALSE(icons.Compact({paths.begin(), paths.end()})) << "nothing to drop while every path is listed";
  ASSERT_TRUE(icons.Compact(listed));
  EXPECT_EQ(icons.size(), 2u);
  EXPECT_EQ(ImageList_GetImageCount(icons.handle()), 2);
  EXPECT_EQ(icons.Find(paths[0]), -1);
  EXPECT_EQ(RowImage(lvw.hwnd(), a), icons.Find(paths[paths.size() - 2]));
  EXPECT_EQ(RowImage(lvw.hwnd(), b), icons.Find(paths.back()));
  EXPECT_NE(icons.Find(paths.back()), icons.Find(paths[paths.size() - 2]));
  EXPECT_EQ(icons.handle(), shown) << "other views show the same list: its handle stays";
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(lvw.hwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)), shown);
  // The picture moved with its path.
  EXPECT_EQ(Pixels(icons.handle(), icons.Find(paths.back())), before);
  EXPECT_NE(before, std::vector<uint32_t>(before.size(), 0xFFFFFFFFu)) << "the icon drew something";
}
