#include "guard/process/win/process_list.h"

#include <algorithm>

#include "common/win/ui/window.h"

namespace zorvix {

ProcessList::ProcessList() : rows_(common::ui::CompareText) {}

void ProcessList::Create(HWND parent, int id) {
  // The image list belongs to the icons, which free it; the control must not free it too.
  hwnd_ = common::ui::CreateControl(
      parent, WC_LISTVIEWW, L"", WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA, id,
      WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

void ProcessList::AddColumn(const std::wstring& caption, int twips, common::ui::ListView::Align align) {
  using A = common::ui::ListView::Align;
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.fmt = align == A::Right ? LVCFMT_RIGHT : align == A::Center ? LVCFMT_CENTER : LVCFMT_LEFT;
  c.cx = common::ui::Twips(GetParent(hwnd_), twips);
  c.pszText = const_cast<wchar_t*>(caption.c_str());
  ListView_InsertColumn(hwnd_, columns_++, &c);
}

void ProcessList::PullSelection() {
  int count = std::min(Count(), int(rows_.size()));
  int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
  for (int i = 0; i < count; ++i) {
    rows_[i].selected = ListView_GetItemState(hwnd_, i, LVIS_SELECTED) != 0;
    rows_[i].focused = i == focused;
  }
}

void ProcessList::Show() {
  ListView_SetItemCountEx(hwnd_, int(rows_.size()), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (size_t i = 0; i < rows_.size(); ++i) {
    UINT state = (rows_[i].selected ? LVIS_SELECTED : 0) | (rows_[i].focused ? LVIS_FOCUSED : 0);
    if (state) ListView_SetItemState(hwnd_, int(i), state, LVIS_SELECTED | LVIS_FOCUSED);
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ProcessList::Redraw(int index) { ListView_RedrawItems(hwnd_, index, index); }

int ProcessList::Count() const { return ListView_GetItemCount(hwnd_); }

std::wstring ProcessList::Key(int index) const {
  if (index < 0 || size_t(index) >= rows_.size()) return L"";
  return L"ID:" + std::to_wstring(rows_[index].pid);
}

std::wstring ProcessList::Text(int index, int column) const {
  for (int size = 512;; size *= 4) {
    std::wstring buf(size, L'\0');
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = buf.data();
    it.cchTextMax = size;
    int n = int(SendMessageW(hwnd_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&it)));
    if (n < size - 1 || size >= (1 << 20)) {
      buf.resize(std::max(0, n));
      return buf;
    }
  }
}

int ProcessList::Selected() const { return common::ui::SelectedRow(hwnd_); }

const ProcessRow* ProcessList::SelectedRow() const {
  int row = Selected();
  return row >= 0 && size_t(row) < rows_.size() ? &rows_[row] : nullptr;
}

void ProcessList::Select(int index) { common::ui::SelectOnly(hwnd_, index); }
int ProcessList::HitTest(POINT client) const { return common::ui::RowAt(hwnd_, client); }

void ProcessList::SortBy(int column, bool ascending) {
  PullSelection();
  rows_.SortBy(column, ascending);
  Show();
}

void ProcessList::OnHeaderClick(int column) {
  PullSelection();
  rows_.HeaderClick(column);
  Show();
}

void ProcessList::Resort() {
  PullSelection();
  rows_.Resort();
  Show();
}

bool ProcessList::OnNotify(NMHDR* hdr) {
  if (hdr->hwndFrom != hwnd_ || hdr->code != LVN_GETDISPINFOW) return false;
  OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr));
  return true;
}

void ProcessList::OnGetDispInfo(NMLVDISPINFOW* info) const {
  LVITEMW& item = info->item;
  if (item.iItem < 0 || size_t(item.iItem) >= rows_.size()) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    text_ = rows_.Text(size_t(item.iItem), item.iSubItem);
    lstrcpynW(item.pszText, text_.c_str(), item.cchTextMax);
  }
  // The image is the program's, wherever the icons moved it.
  if (item.mask & LVIF_IMAGE) {
    const std::wstring& path = rows_[item.iItem].path;
    item.iImage = path.empty() ? -1 : icons_.Find(path);
  }
}

}  // namespace zorvix
