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

// The picture's place in the pictures' list, or -1 for other items' data.
int PictureIndex(ULONG_PTR data) {
  switch (MenuPicture(data)) {
    case MenuPicture::kFolder: return 0;
    case MenuPicture::kPage: return 1;
    default: return -1;
  }
}
}  // namespace

HIMAGELIST CreatePicturesList() {
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR32, 2, 0);
  if (!list) return nullptr;
  // The list keeps copies of the pictures.
  for (Painter paint : {Painter(Folder), Painter(Page)}) {
    HBITMAP bmp = Draw(paint);
    ImageList_Add(list, bmp, nullptr);
    DeleteObject(bmp);
  }
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

void SetMenuPicture(HMENU menu, UINT position, MenuPicture picture) {
  // The pictures stand in the check marks' column, so that the texts keep the whole width.
  MENUINFO info{sizeof info};
  info.fMask = MIM_STYLE;
  GetMenuInfo(menu, &info);
  info.dwStyle |= MNS_CHECKORBMP;
  SetMenuInfo(menu, &info);
  MENUITEMINFOW mi{sizeof mi};
  mi.fMask = MIIM_BITMAP | MIIM_DATA;
  mi.hbmpItem = picture == MenuPicture::kNone ? nullptr : HBMMENU_CALLBACK;
  mi.dwItemData = ULONG_PTR(picture);
  SetMenuItemInfoW(menu, position, TRUE, &mi);
}

MenuPicture MenuPictureAt(HMENU menu, UINT position) {
  MENUITEMINFOW mi{sizeof mi};
  mi.fMask = MIIM_BITMAP | MIIM_DATA;
  if (!GetMenuItemInfoW(menu, position, TRUE, &mi) || mi.hbmpItem != HBMMENU_CALLBACK) return MenuPicture::kNone;
  return MenuPicture(mi.dwItemData);
}

bool MeasureMenuPicture(MEASUREITEMSTRUCT* item) {
  if (item->CtlType != ODT_MENU || PictureIndex(item->itemData) < 0) return false;
  item->itemWidth = kSize;
  item->itemHeight = kSize;
  return true;
}

bool DrawMenuPicture(const DRAWITEMSTRUCT* item) {
  int index = item->CtlType == ODT_MENU ? PictureIndex(item->itemData) : -1;
  if (index < 0) return false;
  static HIMAGELIST list = CreatePicturesList();
  const RECT& r = item->rcItem;
  ImageList_Draw(list, index, item->hDC, r.left + (r.right - r.left - kSize) / 2, r.top + (r.bottom - r.top - kSize) / 2,
                 ILD_TRANSPARENT);
  return true;
}

}  // namespace corvane
