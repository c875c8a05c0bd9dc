#include "guard/process/win/row_icons.h"

#include <map>

#include "common/win/shell_icon.h"

namespace zorvix {
namespace {
HIMAGELIST NewList(int count) {
  return ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, count,
                          16);
}
}  // namespace

RowIcons::~RowIcons() {
  if (list_) ImageList_Destroy(list_);
}

void RowIcons::Create(HWND listView) {
  listView_ = listView;
  list_ = NewList(16);
  // The list view must share the list (LVS_SHAREIMAGELISTS): it is destroyed here, once.
  ListView_SetImageList(listView_, list_, LVSIL_SMALL);
}

int RowIcons::Find(const std::wstring& path) const {
  auto it = index_.find(path);
  return it == index_.end() ? -1 : it->second;
}

int RowIcons::Add(const std::wstring& path) {
  if (int i = Find(path); i >= 0) return i;
  auto icon = common::GetFileIcon(path, true);
  if (!list_ || !icon) return -1;
  int i = ImageList_AddIcon(list_, icon.get());
  if (i >= 0) index_[path] = i;
  return i;
}

bool RowIcons::Compact(const std::unordered_set<std::wstring>& listed) {
  std::map<int, std::wstring> kept;  // by old index, so that each image moves down onto a free place
  for (auto& [path, i] : index_)
    if (listed.count(path)) kept[i] = path;
  if (index_.size() - kept.size() <= kSpareImages) return false;
  std::unordered_map<std::wstring, int> index;
  std::unordered_map<int, int> moved;
  int next = 0;
  for (auto& [old, path] : kept) {
    if (old != next) {
      HICON icon = ImageList_GetIcon(list_, old, ILD_NORMAL);
      if (!icon || ImageList_ReplaceIcon(list_, next, icon) != next) {
        if (icon) DestroyIcon(icon);
        moved[old] = -1;
        continue;
      }
      DestroyIcon(icon);
    }
    index[path] = next;
    moved[old] = next++;
  }
  ImageList_SetImageCount(list_, next);
  MoveRowImages(moved);
  index_ = std::move(index);
  return true;
}

void RowIcons::MoveRowImages(const std::unordered_map<int, int>& moved) const {
  // A virtual list holds no images: it asks for each row's as it draws.
  if (GetWindowLongW(listView_, GWL_STYLE) & LVS_OWNERDATA) return;
  int count = ListView_GetItemCount(listView_);
  for (int row = 0; row < count; ++row) {
    LVITEMW item{LVIF_IMAGE, row};
    if (!ListView_GetItem(listView_, &item) || item.iImage < 0) continue;
    auto it = moved.find(item.iImage);
    item.iImage = it == moved.end() ? -1 : it->second;
    ListView_SetItem(listView_, &item);
  }
}

}  // namespace zorvix
