#include "search/engine/win/form_copy.h"

#include "common/path.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/pump.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"
#include "search/engine/search_state.h"
#include "search/engine/win/busy.h"

namespace sercavo {
namespace {
enum : int { kIdCancel = 1, kIdLabel = 2 };
constexpr UINT kActivate = WM_APP + 1;
constexpr size_t kListedFailures = 10;
}  // namespace

void FormCopy::RunModal(HWND owner) {
  if (!common::ui::CreateForm(*this, kFormCopyClass, L"", 4800, 1800, owner)) return;
  label_ =
      common::ui::Put(hwnd(), L"STATIC", L"任务正在执行当中，请您稍等……", SS_CENTER, kIdLabel, 200, 250, 4200, 300);
  cancel_ =
      common::ui::Put(hwnd(), L"BUTTON", L"取消(&C)", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdCancel, 1700, 750, 1200, 380);
  // The start is queued before the window shows, so that anything the showing queues runs during the work.
  PostMessageW(hwnd(), kActivate, 0, 0);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(cancel_);
  common::ui::RunModal(*this, owner);
  ReportFailures(owner);
}

void FormCopy::ReportFailures(HWND owner) {
  if (failed_.empty()) return;
  std::wstring text = L"下列文件未能完成操作：\n";
  for (size_t i = 0; i < failed_.size() && i < kListedFailures; ++i) text += L"\n" + failed_[i];
  if (failed_.size() > kListedFailures) text += L"\n……";
  common::MsgBox(owner, text, MB_ICONWARNING);
}

void FormCopy::Activate() {
  Busy busy;
  State().stopRequested = false;
  switch (State().fileOpKind) {
    case kFileOpCopy: FileCopyMan(); break;
    case kFileOpMove: FileMoveMan(); break;
    default: FileDelMan(); break;
  }
}

void FormCopy::FileCopyMan() {
  SetWindowTextW(hwnd(), L"文件正在复制");
  RunRows(FileOp::Copy, false);
}

void FormCopy::FileMoveMan() {
  SetWindowTextW(hwnd(), L"文件正在移动");
  RunRows(FileOp::Move, true);
}

void FormCopy::FileDelMan() {
  SetWindowTextW(hwnd(), L"文件正在删除");
  RunRows(FileOp::Delete, true);
}

void FormCopy::RunRows(FileOp op, bool removesRows) {
  ResultsModel& rows = lvw_.model();
  size_t i = 0;
  while (i < rows.size()) {
    if (!rows.Selected(i)) {
      ++i;
      continue;
    }
    common::PumpMessages();
    if (i >= rows.size()) break;
    std::wstring path = rows.Path(i);
    if (op == FileOp::Move) SetFileAttributesW(common::ExtendedPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    bool done = ShellFileOperation(op, path, State().targetFolder, &failed_);
    if (removesRows && (done || !PathExists(path)))
      rows.Remove(i);  // the list is told once at the end
    else
      ++i;
    if (State().stopRequested) break;
  }
  lvw_.Refresh();
  Destroy();
}

LRESULT FormCopy::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kActivate: Activate(); return 0;
    case WM_SETCURSOR:
      if (HoldBusyCursor()) return TRUE;
      break;
    case WM_COMMAND:
      // "取消(&C)", Enter and Esc all stop after the current row.
      if (LOWORD(wp) == kIdCancel || LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) State().stopRequested = true;
      return 0;
    // Closing asks the work to stop; the work closes the window after the current row.
    case WM_CLOSE: State().stopRequested = true; return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
