// ModuleFavorites: one item per favorite in the Favorites menu, after the menu's own items, and the side
// panel's tree "我的收藏", both rebuilt from the favorites folder.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "browser/pages/favorites.h"
#include "browser/pages/win/pages_host.h"

namespace corvane {

class ModuleFavorites {
 public:
  ModuleFavorites() = default;
  ModuleFavorites(const ModuleFavorites&) = delete;
  ModuleFavorites& operator=(const ModuleFavorites&) = delete;
  ~ModuleFavorites();

  // wangzhi holds its own items now; favorite i becomes the item with command firstId + i after them.
  void Attach(HMENU wangzhi, int firstId, HWND tvw, PagesHost host);

  void buildfavorites();
  void buildtree();
  void addhome();
  void RelaodDir();
  void SearchDir();
  void MyFavorites_Click(int index);
  // A mouse button released over a tree node (1 left, 2 right); screen point for the menu.
  void tvw_MouseUp(int button, HTREEITEM node, POINT screen);
  // A notification of the tree, which its parent passes on; true when it was handled.
  bool tvw_Notify(const NMHDR* hdr);

  const std::vector<std::wstring>& titles() const { return titles_; }
  const std::vector<FavoriteNode>& nodes() const { return nodes_; }
  HTREEITEM Item(size_t node) const { return node < items_.size() ? items_[node] : nullptr; }

 private:
  static LRESULT CALLBACK TreeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  void OpenNode(HTREEITEM node);
  void PopupMenu(POINT screen);
  void RemoveItems();

  HMENU wangzhi_ = nullptr;
  int firstId_ = 0, firstPosition_ = 0;
  HWND tvw_ = nullptr;
  PagesHost host_;
  std::vector<std::wstring> titles_;
  std::vector<FavoriteNode> nodes_;
  std::vector<HTREEITEM> items_;
  HIMAGELIST images_ = nullptr;
};

}  // namespace corvane
