#include "browser/shell/win/modal.h"

#include "common/win/message_loop.h"

namespace corvane {
namespace {
ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}
}  // namespace

void SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

void RunModal(common::ui::Window& dialog, HWND owner) {
  HWND dlg = dialog.hwnd();
  if (!dlg) return;
  common::SetDialogKeys(dlg);
  ShowWindow(dlg, SW_SHOW);
  if (Hook()) Hook()(dialog);
  common::RunModalLoop(dlg, owner);
}

void ClickControl(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

}  // namespace corvane
