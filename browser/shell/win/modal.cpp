#include "browser/shell/win/modal.h"

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
  bool wasEnabled = owner && IsWindowEnabled(owner);
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(dlg, SW_SHOW);
  if (Hook()) Hook()(dialog);
  MSG msg;
  while (IsWindow(dlg)) {
    int r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) {
      if (r == 0) PostQuitMessage(int(msg.wParam));
      break;
    }
    if (!IsDialogMessageW(dlg, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (owner && wasEnabled) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

void ClickControl(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

}  // namespace corvane
