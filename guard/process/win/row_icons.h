// The small icons of the process list: one image per program path, shared by that program's rows.
// Images of paths no longer listed are dropped once they outnumber the listed paths by a margin, so
// that a guard running for weeks does not hold an image of every program it ever saw.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "common/win/ui/list_view.h"

namespace zorvix {

class RowIcons {
 public:
  static constexpr size_t kSpareImages = 64;
  RowIcons() = default;
  RowIcons(const RowIcons&) = delete;
  RowIcons& operator=(const RowIcons&) = delete;
  // Makes the image list of the list view's small icons.
  void Create(HWND listView);
  HIMAGELIST handle() const { return images_.handle(); }
  // Index of the path's image, made from the shell's small icon when the path is new; -1 when the
  // path has no icon.
  int Add(const std::wstring& path);
  int Find(const std::wstring& path) const { return images_.Find(path); }
  size_t size() const { return images_.size(); }

  // When more than kSpareImages images belong to no path in `listed`, keeps the listed paths' images
  // only and points the rows at their images' new places. True when images were dropped.
  bool Compact(const std::unordered_set<std::wstring>& listed);

 private:
  void MoveRowImages(const std::unordered_map<int, int>& moved) const;
  HWND listView_ = nullptr;
  common::ui::ImageList images_;
};

}  // namespace zorvix
