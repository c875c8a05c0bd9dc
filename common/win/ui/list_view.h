// Report-style list view with keyed rows, columns in twips, text sorting and a keyed image list.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace common::ui {

// Small icons held once per key (e.g. a path) and shared by every row that shows them.
class ImageList {
 public:
  ~ImageList();
  HIMAGELIST handle() const { return list_; }
  void Create(int cx, int cy);
  // Index of the key's image; adds the icon (the list keeps a copy) when the key is new. -1 on failure.
  int Add(const std::wstring& key, HICON icon);
  int Find(const std::wstring& key) const;
  size_t size() const { return index_.size(); }
  // How many of the keys have an image here.
  size_t CountOf(const std::unordered_set<std::wstring>& keys) const;
  // Keeps the images of these keys only, moved down in the same list (whose handle controls may show), and
  // gives each old index its new one (-1: the image could not be kept).
  std::unordered_map<int, int> KeepOnly(const std::unordered_set<std::wstring>& keys);

 private:
  HIMAGELIST list_ = nullptr;
  std::unordered_map<std::wstring, int> index_;
};

// Row rules every list control shares, virtual or not: the first selected row (-1 when none), one row
// selected and focused alone, and the row under a client point (-1 when none).
int SelectedRow(HWND list);
void SelectOnly(HWND list, int index);
int RowAt(HWND list, POINT client);

class ListView {
 public:
  enum class Align { Left, Right, Center };
  HWND hwnd() const { return hwnd_; }
  void Create(HWND parent, int id, DWORD extraStyle = 0);
  void AddColumn(const std::wstring& caption, int twips, Align align = Align::Left);
  void SetSmallImages(const ImageList& images);

  int Count() const;
  // Index of the row with this key, or -1.
  int Find(const std::wstring& key) const;
  // Adds a row at the end and returns its index.
  int Add(const std::wstring& key, const std::wstring& text, int image = -1);
  std::wstring Key(int index) const;
  std::wstring Text(int index, int column) const;
  // Writes the cell only when its text differs, so that an unchanged refresh does not flicker.
  void SetText(int index, int column, const std::wstring& text);
  void Remove(int index);
  void Clear();
  // Removes every row and every column, for a view that changes what it shows.
  void ClearColumns();
  int Selected() const;
  void Select(int index);
  // Index of the row under a point in client coordinates, or -1.
  int HitTest(POINT client) const;

  // Sorting by the texts of a column. A header click on the sort column flips the order; on
  // another column it sorts ascending by that one.
  void SortBy(int column, bool ascending);
  void OnHeaderClick(int column);
  void Resort();
  int sortColumn() const { return sortColumn_; }
  bool sortAscending() const { return ascending_; }
  bool sorted() const { return sortColumn_ >= 0; }

 private:
  static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM self);
  HWND hwnd_ = nullptr;
  int columns_ = 0;
  LPARAM nextId_ = 1;
  std::unordered_map<std::wstring, LPARAM> ids_;
  std::unordered_map<LPARAM, std::wstring> keys_;
  std::unordered_map<LPARAM, std::wstring> sortTexts_;
  int sortColumn_ = -1;
  bool ascending_ = true;
};

// Case-ignoring text order of the user's locale, as list headers sort.
int CompareText(const std::wstring& a, const std::wstring& b);

}  // namespace common::ui
