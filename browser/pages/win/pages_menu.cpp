#include "browser/pages/win/pages_menu.h"

#include "browser/shell/win/frm_main.h"
#include "browser/shell/win/not_yet.h"

namespace corvane {

// The favorites and the site groups are not part of this version yet: nothing to load at start-up, and
// their commands say so.
void buildfavorites(FrmMain&) {}
void loadgroups(FrmMain&) {}
void AddFavorite(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"添加到收藏夹"); }
void RefreshFavorites(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"刷新收藏夹"); }
void OpenFavoritesFolder(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"收藏夹目录"); }
void ShowGroupEditor(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"群组设置"); }
void SaveAllAsGroup(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"保存所有窗口为群组"); }

}  // namespace corvane
