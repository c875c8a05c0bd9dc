#include "common/win/ui/modal.h"

#include "common/win/message_loop.h"

namespace common::ui {
namespace {
ModalHook& Hook() {
  static ModalHook hook;
  return hook;
}
}  // namespace

void SetModalHook(ModalHook hook) { Hook() = std::move(hook); }

void RunModal(Window& dialog, HWND owner) {
  HWND dlg = dialog.hwnd();
  if (!dlg) return;
  // A window that registered keys of its own (the group editor's shortcuts) keeps them.
  if (!common::HasDialogKeys(dlg)) common::SetDialogKeys(dlg);
  if (!IsWindowVisible(dlg)) ShowWindow(dlg, SW_SHOW);
  if (Hook()) Hook()(dialog);
  common::RunModalLoop(dlg, owner);
}

void ClickControl(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

}  // namespace common::ui
