// The process window's list `lvw`: a virtual report list over the process table's rows. The control
// holds no text: it asks the rows for each cell as it draws (LVN_GETDISPINFOW).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/win/ui/list_view.h"
#include "guard/process/process_rows.h"
#include "guard/process/win/row_icons.h"

namespace zorvix {

class ProcessList {
 public:
  ProcessList();
  HWND hwnd() const { return hwnd_; }
  void Create(HWND parent, int id);
  void AddColumn(const std::wstring& caption, int twips, common::ui::ListView::Align align = {});
  ProcessRows& rows() { return rows_; }
  const ProcessRows& rows() const { return rows_; }
  RowIcons& icons() { return icons_; }
  const RowIcons& icons() const { return icons_; }

  // The control owns the selection while the user works. A change that adds, removes or moves rows
  // takes it into the rows first and shows the rows (count, selection, texts) after.
  void PullSelection();
  void Show();
  // One row's texts changed in place.
  void Redraw(int index);

  int Count() const;
  // The row's key, "ID:" and its PID.
  std::wstring Key(int index) const;
  // A cell as the control gets it from the rows.
  std::wstring Text(int index, int column) const;
  int Selected() const;
  // The selected row (the first one), or nullptr.
  const ProcessRow* SelectedRow() const;
  void Select(int index);
  // Index of the row under a point in client coordinates, or -1.
  int HitTest(POINT client) const;

  void SortBy(int column, bool ascending);
  void OnHeaderClick(int column);
  void Resort();
  int sortColumn() const { return rows_.sortColumn(); }
  bool sortAscending() const { return rows_.sortAscending(); }

  // The list's notifications to its parent; true when handled.
  bool OnNotify(NMHDR* hdr);

 private:
  void OnGetDispInfo(NMLVDISPINFOW* info) const;
  HWND hwnd_ = nullptr;
  int columns_ = 0;
  ProcessRows rows_;
  RowIcons icons_;
  mutable std::wstring text_;
};

}  // namespace zorvix
