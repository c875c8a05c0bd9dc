// Where the frame hands over to the favorites and the site groups: one function per menu item or
// start-up step. The Favorites menu is FrmMain::menus().favorites (its own items end at
// kFavoritesFixedItems), the group menu menus().group (kGroupFixedItems), the side panel's tree
// FrmMain::tvw() and its splitter labLeft; their items take the command numbers below.
#pragma once
#include <windows.h>

#include "browser/pages/win/group_menu.h"
#include "browser/pages/win/module_favorites.h"
#include "browser/pages/win/panel_splitter.h"

namespace corvane {

class FrmMain;

// MyFavorites(0..100) and GroupName(0..30).
constexpr int kFavoriteItemFirst = 3000;
constexpr int kGroupItemFirst = 3200;
constexpr int kGroupMenuItems = 31;

// What the frame keeps of them while it lives (FrmMain::favoritesAndGroups).
struct FramePages {
  ModuleFavorites favorites;
  GroupMenu groups;
  PanelSplitter splitter;
};

// Start-up: the favorites' menu items and the side panel's tree; the group menu's items.
void buildfavorites(FrmMain& frame);
void loadgroups(FrmMain& frame);
// "添加到收藏夹", "刷新收藏夹", "收藏夹目录".
void AddFavorite(FrmMain& frame);
void RefreshFavorites(FrmMain& frame);
void OpenFavoritesFolder(FrmMain& frame);
// "群组设置(&S)", "保存所有窗口为群组(&G)".
void ShowGroupEditor(FrmMain& frame);
void SaveAllAsGroup(FrmMain& frame);
// A favorite's or a group's item; false for other commands.
bool PagesCommand(FrmMain& frame, int id);
// A notification of the side panel's tree; false for other controls.
bool PagesNotify(FrmMain& frame, const NMHDR* hdr);

}  // namespace corvane
