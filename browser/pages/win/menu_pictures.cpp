#include "browser/pages/win/menu_pictures.h"

#include <cstdint>
#include <functional>

namespace corvane {
namespace {
constexpr int kSize = 16;
using Painter = std::function<uint32_t(int x, int y)>;  // 0xAARRGGBB, 0 = clear

HBITMAP Draw(const Painter& paint) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = kSize;
  bi.bmiHeader.biHeight = -kSize;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) return nullptr;
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) px[y * kSize + x] = paint(x, y);  // opaque colours: no premultiplying
  return bmp;
}

uint32_t Folder(int x, int y) {
  bool tab = y >= 2 && y <= 3 && x >= 1 && x <= 6;
  bool body = y >= 4 && y <= 13 && x >= 1 && x <= 14;
  if (!tab && !body) return 0;
  bool edge = x == 1 || x == 14 || y == 13 || (tab && y == 2) || (body && y == 4 && x > 6);
  return edge ? 0xFFB08010 : (y <= 5 ? 0xFFFFE890 : 0xFFF8CC40);
}

uint32_t Page(int x, int y) {
  if (x < 2 || x > 13 || y < 1 || y > 14) return 0;
  if (x > 9 && y < 1 + (x - 9)) return 0;  // folded corner
  bool edge = x == 2 || x == 13 || y == 1 || y == 14 || (x > 9 && y == 1 + (x - 9));
  if (edge) return 0xFF707070;
  int dx = x - 7, dy = y - 9;  // a small blue globe on the sheet
  int r2 = dx * dx + dy * dy;
  if (r2 <= 12) return (dy == 0 || dx == 0 || r2 >= 9) ? 0xFF1060C0 : 0xFF60A8F0;
  return 0xFFFFFFFF;
}
}  // namespace

HBITMAP FolderPicture() {
  static HBITMAP bmp = Draw(Folder);
  return bmp;
}

HBITMAP PagePicture() {
  static HBITMAP bmp = Draw(Page);
  return bmp;
}

HIMAGELIST CreatePicturesList() {
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32, 2, 0);
  if (!list) return nullptr;
  // The list keeps copies: the shared pictures stay with the menus.
  ImageList_Add(list, FolderPicture(), nullptr);
  ImageList_Add(list, PagePicture(), nullptr);
  return list;
}

HICON PageIcon() {
  static HICON icon = [] {
    HIMAGELIST list = CreatePicturesList();
    HICON i = list ? ImageList_GetIcon(list, 1, ILD_NORMAL) : nullptr;
    if (list) ImageList_Destroy(list);
    return i;
  }();
  return icon;
}

}  // namespace corvane
