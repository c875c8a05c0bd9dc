#include "search/engine/win/results_list.h"

#include <shellapi.h>

#include <algorithm>
#include <unordered_map>

#include "common/text.h"
#include "common/win/shell_icon.h"
#include "common/win/ui/window.h"
#include "search/engine/search_rules.h"

namespace sercavo {
namespace {
constexpr struct {
  const wchar_t* header;
  int twips;
} kColumns[kColumnCount] = {
    {L"文件名称", 2200}, {L"文件路径", 4200}, {L"大小", 1200}, {L"类型", 900}, {L"修改时间", 2000}};

// A file that carries its own icons shows its first one; the shell's icon when it has none.
common::Icon OwnIcon(const std::wstring& path) {
  if (common::Icon own = common::FirstIconOfFile(path, false)) return own;
  return common::GetFileIcon(path, false);
}

common::Icon FolderIcon() {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
    return common::Icon();
  return common::Icon(info.hIcon);
}
}  // namespace

ResultsList::ResultsList() : model_(AppendGeneralDateText) {}

void ResultsList::Create(HWND parent, int id) {
  hwnd_ = common::ui::CreateControl(parent, WC_LISTVIEWW, L"",
                                    WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                                    id, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  for (int c = 0; c < kColumnCount; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = common::ui::Twips(parent, kColumns[c].twips);
    col.pszText = const_cast<wchar_t*>(kColumns[c].header);
    ListView_InsertColumn(hwnd_, c, &col);
  }
  Clear();
}

size_t ResultsList::AddFile(const std::wstring& folder, const WIN32_FIND_DATAW& e) {
  uint64_t size = (uint64_t(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
  uint64_t time = (uint64_t(e.ftLastWriteTime.dwHighDateTime) << 32) | e.ftLastWriteTime.dwLowDateTime;
  int icon = common::IconLivesInFile(e.cFileName) ? IconFor(folder + e.cFileName, false) : IconFor(e.cFileName, false);
  return model_.AddFile(folder, e.cFileName, size, time, icon);
}

size_t ResultsList::AddFolder(const std::wstring& path, const FILETIME& modified) {
  uint64_t time = (uint64_t(modified.dwHighDateTime) << 32) | modified.dwLowDateTime;
  return model_.AddFolder(path, FolderName(path), time, IconFor(path, true));
}

void ResultsList::ShowNewRows() {
  if (shown_ == model_.size()) return;
  shown_ = model_.size();
  ListView_SetItemCountEx(hwnd_, int(shown_), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ResultsList::Clear() {
  model_.Clear();
  // The list shares the image list (it never frees it); ours goes only after the new one is in place.
  auto images = std::make_unique<common::ui::ImageList>();
  images->Create(16, 16);
  ListView_SetImageList(hwnd_, images->handle(), LVSIL_SMALL);
  images_ = std::move(images);
  ListView_SetItemCountEx(hwnd_, 0, 0);
  shown_ = 0;
}

void ResultsList::Refresh() {
  shown_ = model_.size();
  ListView_SetItemCountEx(hwnd_, int(shown_), LVSICF_NOSCROLL);
  PushSelection();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ResultsList::PullSelection() {
  model_.ClearSelection();
  for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i >= 0 && size_t(i) < model_.size();
       i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
    model_.SetSelected(size_t(i), true);
}

void ResultsList::PushSelection() {
  ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
  for (size_t i = 0; i < model_.size(); ++i)
    if (model_.Selected(i)) ListView_SetItemState(hwnd_, int(i), LVIS_SELECTED, LVIS_SELECTED);
}

void ResultsList::SelectAll() {
  model_.SelectAll();
  ListView_SetItemState(hwnd_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void ResultsList::InvertSelection() {
  PullSelection();
  model_.InvertSelection();
  PushSelection();
}

int ResultsList::ActiveRow() const {
  int focused = ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
  if (focused >= 0 && ListView_GetItemState(hwnd_, focused, LVIS_SELECTED)) return focused;
  return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

POINT ResultsList::KeyboardMenuPoint() const {
  POINT p{4, 4};
  RECT r{LVIR_LABEL};
  int row = ActiveRow();
  if (row >= 0 && SendMessageW(hwnd_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r))) p = {r.left, r.bottom};
  RECT client{};
  GetClientRect(hwnd_, &client);
  p.x = std::clamp<LONG>(p.x, 0, client.right);
  p.y = std::clamp<LONG>(p.y, 0, client.bottom);
  ClientToScreen(hwnd_, &p);
  return p;
}

void ResultsList::ColumnClick(int column) {
  PullSelection();
  model_.ColumnClick(column);
  Refresh();
}

void ResultsList::Resort() {
  PullSelection();
  model_.Resort();
  Refresh();
}

void ResultsList::OnGetDispInfo(NMLVDISPINFOW* info) const {
  LVITEMW& item = info->item;
  if (item.iItem < 0 || size_t(item.iItem) >= model_.size()) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    text_.clear();
    model_.AppendText(size_t(item.iItem), item.iSubItem, text_);
    lstrcpynW(item.pszText, text_.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_IMAGE) item.iImage = model_.Icon(size_t(item.iItem));
}

int ResultsList::IconFor(const std::wstring& path, bool folder) {
  bool own = !folder && common::IconLivesInFile(path);
  std::wstring key = folder ? L"\\folder" : own ? path : L"." + common::ToLower(common::ExtensionOf(path));
  if (int i = images_->Find(key); i >= 0) return i;
  common::Icon icon = folder ? FolderIcon()
                      : own  ? OwnIcon(path)
                             : common::GetFileIcon(common::FileNameOf(path), true, true);
  return images_->Add(key, icon.get());
}

std::wstring GeneralDateText(const FILETIME& utc) {
  std::wstring s;
  AppendGeneralDateText((uint64_t(utc.dwHighDateTime) << 32) | utc.dwLowDateTime, s);
  return s;
}

namespace {
// Local time is file time plus the zone's present bias, as FileTimeToLocalFileTime reckons it.
int64_t LocalBias() {
  FILETIME utc{}, local{};
  GetSystemTimeAsFileTime(&utc);
  if (!FileTimeToLocalFileTime(&utc, &local)) return 0;
  auto n = [](const FILETIME& f) { return int64_t((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime); };
  return n(local) - n(utc);
}

std::wstring PlatformDate(const SYSTEMTIME& st, bool date) {
  wchar_t buf[80] = {};
  if (date)
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 80, nullptr);
  else
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buf, 80);
  return buf;
}
}  // namespace

void AppendGeneralDateText(uint64_t utc, std::wstring& out) {
  constexpr int64_t kTicksPerSecond = 10000000, kSecondsPerDay = 86400;
  static const int64_t bias = LocalBias();
  // A sort formats every row; days and seconds repeat, the platform's formatting is slow.
  static std::unordered_map<int64_t, std::wstring> days, seconds;
  int64_t local = int64_t(utc) + bias;
  if (local < 0) return;
  int64_t day = local / kTicksPerSecond / kSecondsPerDay, second = local / kTicksPerSecond % kSecondsPerDay;
  auto text = [&](std::unordered_map<int64_t, std::wstring>& cache, int64_t key, bool date) -> const std::wstring& {
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    FILETIME ft{DWORD(uint64_t(local)), DWORD(uint64_t(local) >> 32)};
    SYSTEMTIME st{};
    if (!FileTimeToSystemTime(&ft, &st)) st = {};
    return cache.emplace(key, PlatformDate(st, date)).first->second;
  };
  out += text(days, day, true);
  out += L' ';
  out += text(seconds, second, false);
}

}  // namespace sercavo
