// The rows of the results list, their selection and their text order. The list control only shows them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sercavo {

enum Column { kColName = 0, kColPath = 1, kColSize = 2, kColType = 3, kColModified = 4, kColumnCount = 5 };

struct ResultRow {
  std::wstring name, path, size, type, modified;
  bool folder = false;
  bool selected = false;
  int icon = -1;  // index in the list's image list
};

const std::wstring& ColumnText(const ResultRow& row, int column);

class ResultsModel {
 public:
  size_t size() const { return rows_.size(); }
  const ResultRow& row(size_t i) const { return rows_[i]; }
  const std::wstring& Text(size_t i, int column) const;
  // Appends a row and returns its index.
  size_t Add(ResultRow row);
  void Remove(size_t i);
  void Clear();

  void SetSelected(size_t i, bool on) { rows_[i].selected = on; }
  void SelectAll();
  void InvertSelection();
  void ClearSelection();
  std::vector<size_t> SelectedIndices() const;

  // A header click: sorts by that column; the order flips on every click, starting from ascending, so
  // the first click gives the descending order.
  void ColumnClick(int column);
  // Sorts again by the last key (rows added since stay in order).
  void Resort();
  bool sorted() const { return sortColumn_ >= 0; }
  int sortColumn() const { return sortColumn_; }
  bool ascending() const { return ascending_; }

 private:
  std::vector<ResultRow> rows_;
  int sortColumn_ = -1;
  bool ascending_ = true;
};

}  // namespace sercavo
