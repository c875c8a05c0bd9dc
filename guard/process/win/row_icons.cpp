#include "guard/process/win/row_icons.h"

#include <commctrl.h>

#include "common/win/shell_icon.h"

namespace zorvix {

void RowIcons::Create(HWND listView) {
  listView_ = listView;
  images_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  // The list view must share the list (LVS_SHAREIMAGELISTS): it is destroyed here, once.
  ListView_SetImageList(listView_, images_.handle(), LVSIL_SMALL);
}

int RowIcons::Add(const std::wstring& path) {
  if (int i = Find(path); i >= 0) return i;
  auto icon = common::GetFileIcon(path, true);
  return icon ? images_.Add(path, icon.get()) : -1;
}

bool RowIcons::Compact(const std::unordered_set<std::wstring>& listed) {
  if (images_.size() - images_.CountOf(listed) <= kSpareImages) return false;
  MoveRowImages(images_.KeepOnly(listed));
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
