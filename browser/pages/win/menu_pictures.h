// The two small pictures of the favorites and groups: a folder and a web page, for menu items and for
// the trees' images.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace corvane {

// 16x16 pictures with transparency, drawn once and kept for the life of the process.
HBITMAP FolderPicture();
HBITMAP PagePicture();
// The page picture as an icon, for windows that show it on their own background.
HICON PageIcon();
// An image list holding the folder (0) and the page (1); the caller owns it.
HIMAGELIST CreatePicturesList();

}  // namespace corvane
