// The two small pictures of the favorites and groups: a folder and a web page, for menu items and for
// the trees' images.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace corvane {

// The page picture as an icon, for windows that show it on their own background.
HICON PageIcon();
// An image list holding the folder (0) and the page (1); the caller owns it.
HIMAGELIST CreatePicturesList();

// Menu items draw their picture when the menu asks its window for it, so that its clear pixels show the
// menu's own background wherever the menu is drawn. The item's data names the picture.
enum class MenuPicture : ULONG_PTR { kNone = 0, kFolder = 0x7A760001, kPage = 0x7A760002 };
void SetMenuPicture(HMENU menu, UINT position, MenuPicture picture);
MenuPicture MenuPictureAt(HMENU menu, UINT position);
// WM_MEASUREITEM and WM_DRAWITEM of the menu's window: true when the item was one of these pictures.
bool MeasureMenuPicture(MEASUREITEMSTRUCT* item);
bool DrawMenuPicture(const DRAWITEMSTRUCT* item);

}  // namespace corvane
