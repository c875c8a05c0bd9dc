// Where the frame hands over to the favorites and the site groups: one function per menu item or
// start-up step. The Favorites menu is FrmMain::menus().favorites (its own items end at
// kFavoritesFixedItems), the group menu menus().group (kGroupFixedItems), the side panel's tree
// FrmMain::tvw() and its splitter labLeft; commands of their own take numbers from 3000 on (commands.h)
// and join FrmMain::Command.
#pragma once

namespace corvane {

class FrmMain;

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

}  // namespace corvane
