#include "browser/pages/win/module_favorites.h"

#include <windowsx.h>

#include "browser/pages/win/favorites_files.h"
#include "browser/pages/win/frm_favorites.h"
#include "browser/pages/win/menu_pictures.h"
#include "common/text.h"
#include "common/win/ui/modal.h"

namespace corvane {
namespace {
constexpr UINT_PTR kSubclassId = 0x7A76;

// "&" in a title is shown, not taken as a mnemonic.
std::wstring MenuText(const std::wstring& title) { return common::ReplaceAll(title, L"&", L"&&"); }
}  // namespace

ModuleFavorites::~ModuleFavorites() {
  if (tvw_ && IsWindow(tvw_)) {
    RemoveWindowSubclass(tvw_, TreeProc, kSubclassId);
    TreeView_SetImageList(tvw_, nullptr, TVSIL_NORMAL);
  }
  if (images_) ImageList_Destroy(images_);
}

void ModuleFavorites::Attach(HMENU wangzhi, int firstId, HWND tvw, PagesHost host) {
  wangzhi_ = wangzhi;
  firstId_ = firstId;
  firstPosition_ = GetMenuItemCount(wangzhi_);
  tvw_ = tvw;
  host_ = std::move(host);
  if (tvw_) {
    images_ = CreatePicturesList();
    TreeView_SetImageList(tvw_, images_, TVSIL_NORMAL);
    SetWindowSubclass(tvw_, TreeProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
}

void ModuleFavorites::buildfavorites() {
  // 1. The folder picture by position.
  SetMenuPicture(wangzhi_, kFavoritesFolderPosition, MenuPicture::kFolder);
  // 2. One item per favorite of the top level, at most 101.
  RemoveItems();
  titles_ = ReadMenuTitles(host_.favoritesFolder());
  for (size_t i = 0; i < titles_.size(); ++i) {
    AppendMenuW(wangzhi_, MF_STRING, firstId_ + i, MenuText(titles_[i]).c_str());
    SetMenuPicture(wangzhi_, UINT(firstPosition_ + i), MenuPicture::kPage);
  }
  // The side panel's tree of the same favorites.
  buildtree();
}

void ModuleFavorites::RemoveItems() {
  for (int i = 0; i < kMaxFavoriteItems; ++i) DeleteMenu(wangzhi_, firstId_ + i, MF_BYCOMMAND);
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
  // Every folder open, so that each favorite shows; then the last one added in view.
  for (size_t i = 0; i < nodes_.size(); ++i)
    if (!nodes_[i].favorite) TreeView_Expand(tvw_, items_[i], TVE_EXPAND);
  if (!items_.empty()) TreeView_EnsureVisible(tvw_, items_.back());
  SendMessageW(tvw_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tvw_, nullptr, TRUE);
}

void ModuleFavorites::addhome() {
  FrmFavorites dialog(host_.favoritesFolder());
  if (dialog.Create(host_.frame, host_.activeUrl ? host_.activeUrl() : L"",
                    host_.activeTitle ? host_.activeTitle() : L""))
    common::ui::RunModal(dialog, host_.frame);
  RelaodDir();
}

// buildfavorites destroys the old items first.
void ModuleFavorites::RelaodDir() { buildfavorites(); }

void ModuleFavorites::SearchDir() { host_.launch(host_.favoritesFolder()); }

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

bool ModuleFavorites::tvw_Notify(const NMHDR* hdr) {
  if (!tvw_ || hdr->hwndFrom != tvw_) return false;
  DWORD pos = GetMessagePos();
  POINT screen{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  TVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(tvw_, &hit.pt);
  HTREEITEM node = TreeView_HitTest(tvw_, &hit);
  if (!(hit.flags & TVHT_ONITEM)) node = nullptr;
  switch (hdr->code) {
    case NM_CLICK: tvw_MouseUp(1, node, screen); return true;
    case TVN_KEYDOWN:
      if (reinterpret_cast<const NMTVKEYDOWN*>(hdr)->wVKey != VK_RETURN) return false;
      OpenNode(TreeView_GetSelection(tvw_));
      return true;
  }
  return false;
}

LRESULT CALLBACK ModuleFavorites::TreeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* module = reinterpret_cast<ModuleFavorites*>(self);
  switch (msg) {
    case WM_GETDLGCODE: {
      // Enter opens the selected favorite instead of being the frame's default command.
      auto* m = reinterpret_cast<MSG*>(lp);
      LRESULT code = DefSubclassProc(h, msg, wp, lp);
      return m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_MBUTTONUP: {
      DWORD pos = GetMessagePos();
      module->PopupMenu({GET_X_LPARAM(pos), GET_Y_LPARAM(pos)});
      return 0;
    }
    // The right button's release, or the keyboard's menu key.
    case WM_CONTEXTMENU: {
      POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (screen.x == -1 && screen.y == -1) {  // from the keyboard: under the selected node
        RECT r{};
        if (HTREEITEM sel = TreeView_GetSelection(h)) TreeView_GetItemRect(h, sel, &r, TRUE);
        screen = {r.left, r.bottom};
        ClientToScreen(h, &screen);
      }
      module->PopupMenu(screen);
      return 0;
    }
  }
  return DefSubclassProc(h, msg, wp, lp);
}

}  // namespace corvane
