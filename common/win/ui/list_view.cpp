#include "common/win/ui/list_view.h"

#include <map>

#include "common/win/ui/window.h"

namespace common::ui {

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

void ImageList::Create(int cx, int cy) { list_ = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16); }

int ImageList::Add(const std::wstring& key, HICON icon) {
  if (int i = Find(key); i >= 0) return i;
  if (!list_ || !icon) return -1;
  int i = ImageList_AddIcon(list_, icon);
  if (i >= 0) index_[key] = i;
  return i;
}

int ImageList::Find(const std::wstring& key) const {
  auto it = index_.find(key);
  return it == index_.end() ? -1 : it->second;
}

size_t ImageList::CountOf(const std::unordered_set<std::wstring>& keys) const {
  size_t n = 0;
  for (auto& entry : index_) n += keys.count(entry.first);
  return n;
}

std::unordered_map<int, int> ImageList::KeepOnly(const std::unordered_set<std::wstring>& keys) {
  std::map<int, std::wstring> kept;  // by old index, so that each image moves down onto a free place
  for (auto& [key, i] : index_)
    if (keys.count(key)) kept[i] = key;
  std::unordered_map<std::wstring, int> index;
  std::unordered_map<int, int> moved;
  int next = 0;
  for (auto& [old, key] : kept) {
    if (old != next) {
      HICON icon = ImageList_GetIcon(list_, old, ILD_NORMAL);
      bool placed = icon && ImageList_ReplaceIcon(list_, next, icon) == next;
      if (icon) DestroyIcon(icon);
      if (!placed) {
        moved[old] = -1;
        continue;
      }
    }
    index[key] = next;
    moved[old] = next++;
  }
  ImageList_SetImageCount(list_, next);
  index_ = std::move(index);
  return moved;
}

int CompareText(const std::wstring& a, const std::wstring& b) {
  int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()), b.c_str(), int(b.size()));
  return r == 0 ? a.compare(b) : r - 2;
}

void ListView::Create(HWND parent, int id, DWORD extraStyle) {
  // Image lists belong to their ImageList object, which frees them; the control must not free them too.
  hwnd_ = CreateControl(parent, WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | extraStyle, id,
                        WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
}

void ListView::AddColumn(const std::wstring& caption, int twips, Align align) {
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  c.fmt = align == Align::Right ? LVCFMT_RIGHT : align == Align::Center ? LVCFMT_CENTER : LVCFMT_LEFT;
  c.cx = Twips(GetParent(hwnd_), twips);
  c.pszText = const_cast<wchar_t*>(caption.c_str());
  ListView_InsertColumn(hwnd_, columns_++, &c);
}

void ListView::SetSmallImages(const ImageList& images) {
  ListView_SetImageList(hwnd_, images.handle(), LVSIL_SMALL);
}

int ListView::Count() const { return ListView_GetItemCount(hwnd_); }

int ListView::Find(const std::wstring& key) const {
  auto it = ids_.find(key);
  if (it == ids_.end()) return -1;
  LVFINDINFOW f{};
  f.flags = LVFI_PARAM;
  f.lParam = it->second;
  return int(SendMessageW(hwnd_, LVM_FINDITEMW, WPARAM(-1), reinterpret_cast<LPARAM>(&f)));
}

int ListView::Add(const std::wstring& key, const std::wstring& text, int image) {
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
  it.iItem = Count();
  it.pszText = const_cast<wchar_t*>(text.c_str());
  it.iImage = image;
  it.lParam = nextId_++;
  int index = int(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
  if (index >= 0) {
    ids_[key] = it.lParam;
    keys_[it.lParam] = key;
  }
  return index;
}

std::wstring ListView::Key(int index) const {
  LVITEMW it{};
  it.mask = LVIF_PARAM;
  it.iItem = index;
  if (!SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return {};
  auto k = keys_.find(it.lParam);
  return k == keys_.end() ? std::wstring() : k->second;
}

std::wstring ListView::Text(int index, int column) const {
  for (int size = 512;; size *= 4) {
    std::wstring buf(size, L'\0');
    LVITEMW it{};
    it.iSubItem = column;
    it.pszText = buf.data();
    it.cchTextMax = size;
    int n = int(SendMessageW(hwnd_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&it)));
    if (n < size - 1 || size >= (1 << 20)) {
      buf.resize(n);
      return buf;
    }
  }
}

void ListView::SetText(int index, int column, const std::wstring& text) {
  if (Text(index, column) == text) return;
  LVITEMW it{};
  it.iSubItem = column;
  it.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(hwnd_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&it));
}

void ListView::Remove(int index) {
  std::wstring key = Key(index);
  if (SendMessageW(hwnd_, LVM_DELETEITEM, index, 0)) {
    auto it = ids_.find(key);
    if (it != ids_.end()) {
      keys_.erase(it->second);
      ids_.erase(it);
    }
  }
}

void ListView::Clear() {
  ListView_DeleteAllItems(hwnd_);
  ids_.clear();
  keys_.clear();
}

void ListView::ClearColumns() {
  Clear();
  while (ListView_DeleteColumn(hwnd_, 0)) {
  }
  columns_ = 0;
  sortColumn_ = -1;
}

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void SelectOnly(HWND list, int index) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int RowAt(HWND list, POINT client) {
  LVHITTESTINFO h{};
  h.pt = client;
  return ListView_SubItemHitTest(list, &h);
}

int ListView::Selected() const { return SelectedRow(hwnd_); }
void ListView::Select(int index) { SelectOnly(hwnd_, index); }
int ListView::HitTest(POINT client) const { return RowAt(hwnd_, client); }

void ListView::SortBy(int column, bool ascending) {
  sortColumn_ = column;
  ascending_ = ascending;
  Resort();
}

void ListView::OnHeaderClick(int column) { SortBy(column, column == sortColumn_ ? !ascending_ : true); }

void ListView::Resort() {
  if (sortColumn_ < 0) return;
  // The texts are read once before sorting: the control's order is in flux while it sorts.
  sortTexts_.clear();
  for (int i = 0; i < Count(); ++i) {
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = i;
    SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    sortTexts_[it.lParam] = Text(i, sortColumn_);
  }
  ListView_SortItems(hwnd_, Compare, reinterpret_cast<LPARAM>(this));
  sortTexts_.clear();
}

int CALLBACK ListView::Compare(LPARAM a, LPARAM b, LPARAM self) {
  auto* lv = reinterpret_cast<ListView*>(self);
  int r = CompareText(lv->sortTexts_[a], lv->sortTexts_[b]);
  return lv->ascending_ ? r : -r;
}

}  // namespace common::ui
