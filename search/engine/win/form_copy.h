// The copy window `FormCopy`: copies, moves or deletes the selected rows, one row per message-pump step,
// until the rows are done or "取消(&C)" is pressed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/win/ui/window.h"
#include "search/engine/win/file_ops.h"
#include "search/engine/win/results_list.h"

namespace sercavo {

inline constexpr wchar_t kFormCopyClass[] = L"SercavoFormCopy";

class FormCopy : public common::ui::Window {
 public:
  explicit FormCopy(ResultsList& lvw) : lvw_(lvw) {}
  // Runs the operation of `FileOpKind` on the selected rows and returns when the window has closed.
  void RunModal(HWND owner);

  void FileCopyMan();
  void FileMoveMan();
  void FileDelMan();

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // A moved or deleted row leaves the list only when its file is really gone.
  void RunRows(FileOp op, bool removesRows);
  void Activate();
  // The shell shows its own failures; those of the long-path route are listed once at the end.
  void ReportFailures(HWND owner);

  ResultsList& lvw_;
  HWND label_ = nullptr, cancel_ = nullptr;
  std::vector<std::wstring> failed_;
};

}  // namespace sercavo
