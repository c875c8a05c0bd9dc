// The frame's menu bar, its drop-down menus and its toolbar, built from tables. A new window of a later
// part gets its menu item here (a row in one of the tables) and its action in FrmMain::Command.
#pragma once
#include <windows.h>

namespace corvane {

struct FrameMenus {
  HMENU bar = nullptr;
  // Menus of the bar that commands and tests reach directly.
  HMENU file = nullptr, view = nullptr, favorites = nullptr, sousuo = nullptr, group = nullptr, labRight = nullptr;
  // Drop-downs of the toolbar buttons, also submenus of the View menu (the bar owns them).
  HMENU up = nullptr, cancel = nullptr, searchDrop = nullptr, filmDrop = nullptr, close = nullptr;
};

// Positions of the Favorites menu's own items; the favorites follow them.
constexpr int kFavoritesFixedItems = 7;
// Positions of the group menu's own items; the groups follow them.
constexpr int kGroupFixedItems = 3;

// The bar and every popup in it; the bar goes with its window.
FrameMenus BuildFrameMenus();

// The toolbar `Toolbar` with every button in its place; tool tips come from ToolTipOf.
HWND CreateFrameToolbar(HWND parent, int id);
// Tool tip of a toolbar button by its command, or null.
const wchar_t* ToolTipOf(int command);
// Position of a button on the toolbar (separators count), or -1.
int ToolbarPosition(HWND toolbar, int command);

// F11 full screen, Alt+D and F6 to the address box, Ctrl+Tab and Ctrl+Shift+Tab to the next and previous tab.
HACCEL CreateFrameAccelerators();

}  // namespace corvane
