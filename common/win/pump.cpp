#include "common/win/pump.h"

#include <windows.h>

#include "common/win/message_loop.h"

namespace common {

void PumpMessages() {
  if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace common
