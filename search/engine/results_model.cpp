#include "search/engine/results_model.h"

#include <algorithm>

namespace sercavo {
namespace {
wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c; }
}  // namespace

const std::wstring& ColumnText(const ResultRow& r, int column) {
  switch (column) {
    case kColPath: return r.path;
    case kColSize: return r.size;
    case kColType: return r.type;
    case kColModified: return r.modified;
    default: return r.name;
  }
}

const std::wstring& ResultsModel::Text(size_t i, int column) const { return ColumnText(rows_[i], column); }

size_t ResultsModel::Add(ResultRow row) {
  rows_.push_back(std::move(row));
  return rows_.size() - 1;
}

void ResultsModel::Remove(size_t i) {
  if (i < rows_.size()) rows_.erase(rows_.begin() + std::ptrdiff_t(i));
}

void ResultsModel::Clear() { rows_.clear(); }

void ResultsModel::SelectAll() {
  for (auto& r : rows_) r.selected = true;
}

void ResultsModel::InvertSelection() {
  for (auto& r : rows_) r.selected = !r.selected;
}

void ResultsModel::ClearSelection() {
  for (auto& r : rows_) r.selected = false;
}

std::vector<size_t> ResultsModel::SelectedIndices() const {
  std::vector<size_t> out;
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) out.push_back(i);
  return out;
}

void ResultsModel::ColumnClick(int column) {
  if (column < 0 || column >= kColumnCount) return;
  sortColumn_ = column;
  ascending_ = !ascending_;
  Resort();
}

void ResultsModel::Resort() {
  if (sortColumn_ < 0) return;
  // Folding each text once and sorting positions moves each row only once: far cheaper than comparing
  // with folding and swapping rows of five texts a million times.
  struct Key {
    std::wstring folded;
    uint32_t index;
  };
  std::vector<Key> keys(rows_.size());
  for (uint32_t i = 0; i < keys.size(); ++i) {
    keys[i].folded = ColumnText(rows_[i], sortColumn_);
    for (wchar_t& c : keys[i].folded) c = Fold(c);
    keys[i].index = i;
  }
  bool up = ascending_;
  int col = sortColumn_;
  std::sort(keys.begin(), keys.end(), [&](const Key& a, const Key& b) {
    int c = a.folded.compare(b.folded);
    if (c == 0) c = ColumnText(rows_[a.index], col).compare(ColumnText(rows_[b.index], col));
    if (c == 0) return a.index < b.index;  // equal texts keep their order
    return up ? c < 0 : c > 0;
  });
  std::vector<ResultRow> sorted;
  sorted.reserve(rows_.size());
  for (const Key& k : keys) sorted.push_back(std::move(rows_[k.index]));
  rows_ = std::move(sorted);
}

}  // namespace sercavo
