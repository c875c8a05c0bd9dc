#include "search/engine/results_model.h"

#include <algorithm>
#include <cwchar>
#include <numeric>

#include "common/text.h"
#include "search/engine/case_fold.h"
#include "search/engine/search_rules.h"

namespace sercavo {

ResultsModel::ResultsModel(TimeTextFn timeText) : timeText_(timeText ? std::move(timeText) : IsoTimeText) {}

uint32_t ResultsModel::FolderIndex(std::wstring_view folder) {
  auto it = folderIndex_.find(folder);
  if (it != folderIndex_.end()) return it->second;
  folders_.push_back(std::make_unique<std::wstring>(folder));
  uint32_t index = uint32_t(folders_.size() - 1);
  folderIndex_.emplace(*folders_.back(), index);
  return index;
}

uint32_t ResultsModel::StoreName(std::wstring_view name) {
  if (used_ + name.size() > kBlockChars) {
    blocks_.push_back(std::make_unique<wchar_t[]>(kBlockChars));
    used_ = 0;
  }
  uint32_t offset = uint32_t(blocks_.size() - 1) * kBlockChars + used_;
  std::copy(name.begin(), name.end(), blocks_.back().get() + used_);
  used_ += uint32_t(name.size());
  return offset;
}

size_t ResultsModel::Append(Row row, std::wstring_view folder, std::wstring_view name) {
  if (name.size() > 0xFFFF) name = name.substr(0, 0xFFFF);  // no file system gives such a name
  row.folder = FolderIndex(folder);
  row.name = StoreName(name);
  row.nameLength = uint16_t(name.size());
  rows_.push_back(row);
  return rows_.size() - 1;
}

size_t ResultsModel::AddFile(std::wstring_view folder, std::wstring_view name, uint64_t bytes, uint64_t modified,
                             int icon) {
  return Append(Row{bytes, modified, 0, 0, icon, 0, 0}, folder, name);
}

size_t ResultsModel::AddFolder(std::wstring_view path, std::wstring_view name, uint64_t modified, int icon) {
  return Append(Row{0, modified, 0, 0, icon, 0, kFolder}, path, name);
}

void ResultsModel::Remove(size_t i) {
  if (i < rows_.size()) rows_.erase(rows_.begin() + std::ptrdiff_t(i));
}

void ResultsModel::Clear() {
  rows_.clear();
  rows_.shrink_to_fit();
  blocks_.clear();
  used_ = kBlockChars;
  folderIndex_.clear();
  folders_.clear();
}

std::wstring_view ResultsModel::Name(size_t i) const {
  const Row& r = rows_[i];
  return {blocks_[r.name / kBlockChars].get() + r.name % kBlockChars, r.nameLength};
}

std::wstring ResultsModel::Path(size_t i) const {
  const std::wstring& folder = *folders_[rows_[i].folder];
  return IsFolder(i) ? folder : folder + std::wstring(Name(i));
}

std::wstring_view ResultsModel::TypeView(const Row& r) const {
  if (r.flags & kFolder) return kFolderType;
  std::wstring_view name{blocks_[r.name / kBlockChars].get() + r.name % kBlockChars, r.nameLength};
  size_t dot = name.rfind(L'.');
  return dot == std::wstring_view::npos ? name : name.substr(dot + 1);
}

void ResultsModel::AppendText(size_t i, int column, std::wstring& out) const {
  const Row& r = rows_[i];
  bool folder = r.flags & kFolder;
  switch (column) {
    case kColName: out += Name(i); return;
    case kColPath:
      out += *folders_[r.folder];
      if (!folder) out += Name(i);
      return;
    case kColSize: out += folder ? std::wstring(kFolderSize) : SizeText(r.bytes); return;
    case kColType: out += folder ? std::wstring(kFolderType) : common::ToUpper(TypeView(r)); return;
    case kColModified: timeText_(r.modified, out); return;
  }
}

std::wstring ResultsModel::Text(size_t i, int column) const {
  std::wstring s;
  AppendText(i, column, s);
  return s;
}

void ResultsModel::SetSelected(size_t i, bool on) {
  rows_[i].flags = uint8_t(on ? rows_[i].flags | kSelected : rows_[i].flags & ~kSelected);
}

void ResultsModel::SelectAll() {
  for (Row& r : rows_) r.flags |= kSelected;
}

void ResultsModel::InvertSelection() {
  for (Row& r : rows_) r.flags ^= kSelected;
}

void ResultsModel::ClearSelection() {
  for (Row& r : rows_) r.flags &= uint8_t(~kSelected);
}

std::vector<size_t> ResultsModel::SelectedIndices() const {
  std::vector<size_t> out;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].flags & kSelected) out.push_back(i);
  return out;
}

size_t ResultsModel::TextBytes() const {
  size_t n = blocks_.size() * kBlockChars * sizeof(wchar_t);
  for (const auto& f : folders_) n += f->capacity() * sizeof(wchar_t);
  return n;
}

void ResultsModel::ColumnClick(int column) {
  if (column < 0 || column >= kColumnCount) return;
  sortColumn_ = column;
  ascending_ = !ascending_;
  Resort();
}

void ResultsModel::Resort() {
  if (sortColumn_ >= 0) SortRows();
}

namespace {

// Texts of one column for every row, letter case folded, made once per sort and kept in one block:
// comparing them needs no lookups, and a row's text is not made anew for each of its comparisons.
class KeyTexts {
 public:
  template <typename Make>
  KeyTexts(size_t rows, size_t charsHint, Make make) : starts_(rows + 1) {
    const CaseFold& fold = CaseFold::Get();
    chars_.reserve(charsHint);
    std::wstring one;
    for (size_t i = 0; i < rows; ++i) {
      starts_[i] = uint32_t(chars_.size());
      one.clear();
      make(i, one);
      for (wchar_t c : one) chars_.push_back(fold(c));
    }
    starts_[rows] = uint32_t(chars_.size());
  }
  std::wstring_view operator[](size_t i) const { return {chars_.data() + starts_[i], starts_[i + 1] - starts_[i]}; }

 private:
  std::vector<wchar_t> chars_;
  std::vector<uint32_t> starts_;
};

// A path compared as one text (folder, then name), without joining the two.
int ComparePaths(std::wstring_view fa, std::wstring_view na, std::wstring_view fb, std::wstring_view nb) {
  size_t la = fa.size() + na.size(), lb = fb.size() + nb.size();
  for (size_t i = 0; i < la && i < lb; ++i) {
    wchar_t x = i < fa.size() ? fa[i] : na[i - fa.size()];
    wchar_t y = i < fb.size() ? fb[i] : nb[i - fb.size()];
    if (x != y) return x < y ? -1 : 1;
  }
  return la == lb ? 0 : la < lb ? -1 : 1;
}

int Sign(int c) { return c < 0 ? -1 : c > 0 ? 1 : 0; }

}  // namespace

void ResultsModel::SortRows() {
  const size_t n = rows_.size();
  const int column = sortColumn_;
  size_t nameChars = 0;
  for (const Row& r : rows_) nameChars += r.nameLength;
  // Folded keys: the column's text; for the path the name alone, beside the folded folder texts.
  KeyTexts keys(n, column == kColName || column == kColPath ? nameChars : n * 12, [&](size_t i, std::wstring& out) {
    if (column == kColPath) {
      if (!IsFolder(i)) out += Name(i);
    } else if (column == kColType) {
      out += TypeView(rows_[i]);
    } else {
      AppendText(i, column, out);
    }
  });
  std::vector<std::wstring> folders;
  if (column == kColPath)
    for (const auto& f : folders_) folders.push_back(CaseFold::Get().Folded(*f));
  // Folded texts first, then the exact ones (the type is shown upper-cased: folded is exact).
  auto compare = [&](uint32_t a, uint32_t b) -> int {
    if (column == kColPath) {
      const Row &ra = rows_[a], &rb = rows_[b];
      if (int c = ComparePaths(folders[ra.folder], keys[a], folders[rb.folder], keys[b])) return c;
      std::wstring_view na = IsFolder(a) ? std::wstring_view() : Name(a),
                        nb = IsFolder(b) ? std::wstring_view() : Name(b);
      return ComparePaths(*folders_[ra.folder], na, *folders_[rb.folder], nb);
    }
    if (int c = Sign(keys[a].compare(keys[b]))) return c;
    return column == kColName ? Sign(Name(a).compare(Name(b))) : 0;
  };
  std::vector<uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  bool up = ascending_;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    int c = compare(a, b);
    if (c == 0) return a < b;  // equal texts keep their order
    return up ? c < 0 : c > 0;
  });
  std::vector<Row> sorted;
  sorted.reserve(n);
  for (uint32_t i : order) sorted.push_back(rows_[i]);
  rows_ = std::move(sorted);
}

void IsoTimeText(uint64_t fileTime, std::wstring& out) {
  int64_t seconds = int64_t(fileTime / 10000000ull) - 11644473600ll;  // 1601 to 1970
  int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  int64_t rest = seconds - days * 86400;
  // Civil date from days since 1970-01-01.
  int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  int64_t d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9, y = yoe + era * 400 + (m <= 2);
  wchar_t buf[40];
  swprintf(buf, 40, L"%04lld-%02lld-%02lld %02lld:%02lld:%02lld", (long long)y, (long long)m, (long long)d,
           (long long)(rest / 3600), (long long)(rest / 60 % 60), (long long)(rest % 60));
  out += buf;
}

}  // namespace sercavo
