// The rows of the results list, their selection and their text order. A search may list a million rows,
// so a row keeps numbers and shares its folder's text; the texts the list shows are made when drawn.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sercavo {

enum Column { kColName = 0, kColPath = 1, kColSize = 2, kColType = 3, kColModified = 4, kColumnCount = 5 };

// The text of a last-modified time (a file time in 100 ns units since 1601, as the file system gives it).
using TimeTextFn = std::function<void(uint64_t fileTime, std::wstring& out)>;

class ResultsModel {
 public:
  explicit ResultsModel(TimeTextFn timeText = {});
  size_t size() const { return rows_.size(); }

  // Appends a file found in folder (a text ending in "\") and returns its index.
  size_t AddFile(std::wstring_view folder, std::wstring_view name, uint64_t bytes, uint64_t modified, int icon = -1);
  // Appends a folder: its path as walked and its own name.
  size_t AddFolder(std::wstring_view path, std::wstring_view name, uint64_t modified, int icon = -1);
  void Remove(size_t i);
  void Clear();

  std::wstring_view Name(size_t i) const;
  std::wstring Path(size_t i) const;
  bool IsFolder(size_t i) const { return rows_[i].flags & kFolder; }
  uint64_t Bytes(size_t i) const { return rows_[i].bytes; }
  uint64_t Modified(size_t i) const { return rows_[i].modified; }
  int Icon(size_t i) const { return rows_[i].icon; }
  // A column's text as the list shows it.
  std::wstring Text(size_t i, int column) const;
  void AppendText(size_t i, int column, std::wstring& out) const;

  bool Selected(size_t i) const { return rows_[i].flags & kSelected; }
  void SetSelected(size_t i, bool on);
  void SelectAll();
  void InvertSelection();
  void ClearSelection();
  std::vector<size_t> SelectedIndices() const;

  // A header click: sorts by that column as text; the order flips on every click, starting from
  // ascending, so the first click gives the descending order.
  void ColumnClick(int column);
  // Sorts again by the last key (rows added since stay in order).
  void Resort();
  bool sorted() const { return sortColumn_ >= 0; }
  int sortColumn() const { return sortColumn_; }
  bool ascending() const { return ascending_; }

  // Bytes held beyond the rows themselves (names and folder texts), for the memory figures.
  size_t TextBytes() const;

 private:
  enum : uint8_t { kFolder = 1, kSelected = 2 };
  struct Row {
    uint64_t bytes;
    uint64_t modified;
    uint32_t name;    // offset in the name store
    uint32_t folder;  // index of the folder text (a folder row: its own path)
    int32_t icon;
    uint16_t nameLength;
    uint8_t flags;
  };
  uint32_t FolderIndex(std::wstring_view folder);
  uint32_t StoreName(std::wstring_view name);
  size_t Append(Row row, std::wstring_view folder, std::wstring_view name);
  std::wstring_view TypeView(const Row& r) const;
  void SortRows();

  std::vector<Row> rows_;
  // Names live in fixed blocks, so storing one never moves the others.
  static constexpr uint32_t kBlockChars = 1u << 16;
  std::vector<std::unique_ptr<wchar_t[]>> blocks_;
  uint32_t used_ = kBlockChars;  // characters used in the last block
  std::vector<std::unique_ptr<std::wstring>> folders_;
  std::unordered_map<std::wstring_view, uint32_t> folderIndex_;
  TimeTextFn timeText_;
  int sortColumn_ = -1;
  bool ascending_ = true;
};

// The time text of host builds and tests: "2024-01-05 13:45:12" (UTC).
void IsoTimeText(uint64_t fileTime, std::wstring& out);

}  // namespace sercavo
