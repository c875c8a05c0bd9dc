// The results list `lvw`: a virtual report list over the results model, with icons cached by type.
#pragma once
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <memory>
#include <string>

#include "common/win/ui/list_view.h"
#include "search/engine/results_model.h"

namespace sercavo {

class ResultsList {
 public:
  ResultsList();
  HWND hwnd() const { return hwnd_; }
  void Create(HWND parent, int id);
  ResultsModel& model() { return model_; }
  const ResultsModel& model() const { return model_; }

  // Appends a found file or folder with its icon and returns its index (`CurrentRow`). The control
  // learns of new rows at the next ShowNewRows: telling it row by row costs more than the search itself.
  size_t AddFile(const std::wstring& folder, const WIN32_FIND_DATAW& entry);
  size_t AddFolder(const std::wstring& path, const FILETIME& modified);
  void ShowNewRows();
  // Removes every row and the icon list.
  void Clear();
  // Shows the model's rows and selection again after it changed underneath.
  void Refresh();

  // The control owns the selection while the user works; these move it to and from the model.
  void PullSelection();
  void PushSelection();
  void SelectAll();
  void InvertSelection();
  // The row the user is at: the focused row when it is selected, else the first selected one; -1 for none.
  int ActiveRow() const;
  // Where a menu opened from the keyboard shows: below the active row's name (the list's corner when
  // there is none), in screen coordinates.
  POINT KeyboardMenuPoint() const;
  int Count() const { return int(model_.size()); }

  void ColumnClick(int column);
  // Puts rows added since the last sort into the order of the sort key.
  void Resort();
  // LVN_GETDISPINFO: texts are made from the model's row as it is drawn.
  void OnGetDispInfo(NMLVDISPINFOW* info) const;

  // The icon of a row: by type, except types whose icon lives in each file, which are keyed by path.
  int IconFor(const std::wstring& path, bool folder);

 private:
  HWND hwnd_ = nullptr;
  ResultsModel model_;
  std::unique_ptr<common::ui::ImageList> images_;
  size_t shown_ = 0;  // rows the control has been told of
  mutable std::wstring text_;
};

// The system's general date-and-time text of a file time (local short date and long time).
std::wstring GeneralDateText(const FILETIME& utc);
// The same, appended, with the texts of each day and each second of a day made once.
void AppendGeneralDateText(uint64_t utc, std::wstring& out);

}  // namespace sercavo
