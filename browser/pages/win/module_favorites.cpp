#include "browser/pages/win/module_favorites.h"

#include <windowsx.h>

#include "browser/pages/win/favorites_files.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/menu_pictures.h"
#include "browser/shell/win/modal.h"
#include "common/text.h"
#include "common/win/system.h"

namespace corvane {
namespace {
constexpr UINT_PTR kSubclassId = 0x7A76;

void SetPicture(HMENU menu, UINT position, HBITMAP picture) {
  MENUITEMINFOW mi{sizeof mi};
  mi.fMask = MIIM_BITMAP;
  mi.hbmpItem = picture;
  SetMenuItemInfoW(menu, position, TRUE, &mi);
}

// "&" in a title is shown, not taken as a mnemonic.
std::wstring MenuText(const std::wstring& title) { return common::ReplaceAll(title, L"&", L"&&"); }
}  // namespace

ModuleFavorites::~ModuleFavorites() {
  if (tvwParent_) RemoveWindowSubclass(tvwParent_, ParentProc, kSubclassId);
  if (tvw_ && IsWindow(tvw_)) TreeView_SetImageList(tvw_, nullptr, TVSIL_NORMAL);
  if (images_) ImageList_Destroy(images_);
}

void ModuleFavorites::AddFixedItems(HMENU wangzhi) {
  InsertMenuW(wangzhi, 0, MF_BYPOSITION | MF_STRING, kAddhome, L"添加到收藏夹");
  InsertMenuW(wangzhi, 1, MF_BYPOSITION | MF_STRING, kRelaodDir, L"刷新收藏夹");
  InsertMenuW(wangzhi, 2, MF_BYPOSITION | MF_STRING, kSearchDir, L"收藏夹目录");
}

void ModuleFavorites::Attach(HMENU wangzhi, HWND tvw, PagesHost host) {
  wangzhi_ = wangzhi;
  tvw_ = tvw;
  host_ = std::move(host);
  firstPosition_ = GetMenuItemCount(wangzhi_);
  if (tvw_) {
    images_ = CreatePicturesList();
    TreeView_SetImageList(tvw_, images_, TVSIL_NORMAL);
    tvwParent_ = GetParent(tvw_);
    SetWindowSubclass(tvwParent_, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
}

void ModuleFavorites::buildfavorites() {
  // 1. The folder picture by position.
  SetPicture(wangzhi_, kFavoritesFolderPosition, FolderPicture());
  // 2. One item per favorite of the top level, at most 101.
  RemoveItems();
  titles_ = ReadMenuTitles(host_.favoritesFolder());
  for (size_t i = 0; i < titles_.size(); ++i) {
    AppendMenuW(wangzhi_, MF_STRING, kMyFavorites + i, MenuText(titles_[i]).c_str());
    SetPicture(wangzhi_, UINT(firstPosition_ + i), PagePicture());
  }
  // 3.
  buildtree();
}

void ModuleFavorites::RemoveItems() {
  for (int i = 0; i < kMaxFavoriteItems; ++i) DeleteMenu(wangzhi_, kMyFavorites + i, MF_BYCOMMAND);
  titles_.clear();
}

void ModuleFavorites::buildtree() {
  if (!tvw_) return;
  SendMessageW(tvw_, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(tvw_);
  nodes_ = ReadFavoritesTree(host_.favoritesFolder());
  items_.clear();
  for (size_t i = 0; i < nodes_.size(); ++i) {
    const FavoriteNode& n = nodes_[i];
    TVINSERTSTRUCTW ins{};
    ins.hParent = n.parent < 0 ? TVI_ROOT : items_[n.parent];
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<wchar_t*>(n.text.c_str());
    ins.item.lParam = LPARAM(i);
    ins.item.iImage = ins.item.iSelectedImage = n.favorite ? 1 : 0;
    items_.push_back(TreeView_InsertItem(tvw_, &ins));
  }
  if (!items_.empty()) {
    TreeView_Expand(tvw_, items_[0], TVE_EXPAND);
    TreeView_EnsureVisible(tvw_, items_.back());
  }
  SendMessageW(tvw_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tvw_, nullptr, TRUE);
}

bool ModuleFavorites::Command(int id) {
  if (id >= kMyFavorites && id < kMyFavorites + kMaxFavoriteItems) {
    MyFavorites_Click(id - kMyFavorites);
    return true;
  }
  switch (id) {
    case kAddhome: addhome(); return true;
    case kRelaodDir: RelaodDir(); return true;
    case kSearchDir: SearchDir(); return true;
  }
  return false;
}

void ModuleFavorites::addhome() {
  FrmFavorites dialog(host_.favoritesFolder());
  if (dialog.Create(host_.frame, host_.activeUrl ? host_.activeUrl() : L"",
                    host_.activeTitle ? host_.activeTitle() : L""))
    RunModal(dialog, host_.frame);
  RelaodDir();
}

// buildfavorites destroys the old items first.
void ModuleFavorites::RelaodDir() { buildfavorites(); }

void ModuleFavorites::SearchDir() { common::ShellOpen(host_.favoritesFolder(), L"", SW_SHOWNORMAL, L"Open"); }

void ModuleFavorites::MyFavorites_Click(int index) {
  if (index < 0 || index >= int(titles_.size())) return;
  auto addresses = ReadFavorite(host_.favoritesFolder(), titles_[index]);
  if (!addresses) return;
  for (const auto& address : *addresses) host_.open(address);
}

void ModuleFavorites::OpenNode(HTREEITEM node) {
  TVITEMW it{};
  it.mask = TVIF_PARAM;
  it.hItem = node;
  if (!node || !TreeView_GetItem(tvw_, &it) || size_t(it.lParam) >= nodes_.size()) return;
  const FavoriteNode& n = nodes_[it.lParam];
  if (n.favorite) host_.open(KeyAddress(n.key));
}

void ModuleFavorites::PopupMenu(POINT screen) {
  TrackPopupMenu(wangzhi_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, host_.frame, nullptr);
}

void ModuleFavorites::tvw_MouseUp(int button, HTREEITEM node, POINT screen) {
  if (button == 1)
    OpenNode(node);
  else
    PopupMenu(screen);
}

bool ModuleFavorites::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom != tvw_) return false;
  DWORD pos = GetMessagePos();
  POINT screen{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  TVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(tvw_, &hit.pt);
  HTREEITEM node = TreeView_HitTest(tvw_, &hit);
  if (!(hit.flags & TVHT_ONITEM)) node = nullptr;
  switch (hdr->code) {
    case NM_CLICK: tvw_MouseUp(1, node, screen); return true;
    case NM_RCLICK: tvw_MouseUp(2, node, screen); return true;
    case NM_RETURN: OpenNode(TreeView_GetSelection(tvw_)); return true;
  }
  return false;
}

LRESULT CALLBACK ModuleFavorites::ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* module = reinterpret_cast<ModuleFavorites*>(self);
  if (msg == WM_NOTIFY && module->OnNotify(reinterpret_cast<NMHDR*>(lp))) return TRUE;
  if (msg == WM_CONTEXTMENU && HWND(wp) == module->tvw_) {
    POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: under the selected node
      RECT r{};
      if (HTREEITEM sel = TreeView_GetSelection(module->tvw_)) TreeView_GetItemRect(module->tvw_, sel, &r, TRUE);
      screen = {r.left, r.bottom};
      ClientToScreen(module->tvw_, &screen);
    }
    module->PopupMenu(screen);
    return 0;
  }
  return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace corvane
