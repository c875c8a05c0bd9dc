// ModuleFavorites: the Favorites menu's own items and one item per favorite, and the side panel's tree
// "我的收藏", both rebuilt from the favorites folder.
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
  enum : int { kAddhome = 3000, kRelaodDir, kSearchDir, kMyFavorites = 3010 };  // MyFavorites(i): kMyFavorites + i

  ModuleFavorites() = default;
  ModuleFavorites(const ModuleFavorites&) = delete;
  ModuleFavorites& operator=(const ModuleFavorites&) = delete;
  ~ModuleFavorites();

  // The menu's own items "添加到收藏夹", "刷新收藏夹", "收藏夹目录", put at its top.
  static void AddFixedItems(HMENU wangzhi);
  // The favorites follow the items wangzhi holds now; the tree's parent is watched for its notices.
  void Attach(HMENU wangzhi, HWND tvw, PagesHost host);

  void buildfavorites();
  void buildtree();
  // A menu command; false when it is none of ours.
  bool Command(int id);
  void addhome();
  void RelaodDir();
  void SearchDir();
  void MyFavorites_Click(int index);
  // A mouse button released over a tree node (1 left, 2 right, 4 middle); screen point for the menu.
  void tvw_MouseUp(int button, HTREEITEM node, POINT screen);

  const std::vector<std::wstring>& titles() const { return titles_; }
  const std::vector<FavoriteNode>& nodes() const { return nodes_; }
  HTREEITEM Item(size_t node) const { return node < items_.size() ? items_[node] : nullptr; }

 private:
  static LRESULT CALLBACK ParentProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  bool OnNotify(NMHDR* hdr);
  void OpenNode(HTREEITEM node);
  void PopupMenu(POINT screen);
  void RemoveItems();

  HMENU wangzhi_ = nullptr;
  HWND tvw_ = nullptr, tvwParent_ = nullptr;
  PagesHost host_;
  int firstPosition_ = 0;
  std::vector<std::wstring> titles_;
  std::vector<FavoriteNode> nodes_;
  std::vector<HTREEITEM> items_;
  HIMAGELIST images_ = nullptr;
};

}  // namespace corvane
