#include "guard/startup/win/tuopan_hooks.h"

#include "guard/guard_state.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix {

Tuopan::Hooks TrayHooks(FrmMain& f) {
  Tuopan::Hooks h;
  h.mainWindow = f.hwnd();
  h.showProcessWindow = [&f] {
    Guard().shownFromTray = true;
    ShowWindow(f.hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(f.hwnd());
  };
  h.openControlCentre = [&f] { f.formface().Open(1); };
  h.openFirewall = [&f] {
    Guard().autorunScanPaused = false;
    f.formfire().Open(kViewConnections, true);  // hidden again on close
  };
  h.exit = [&f] { f.RequestUnload(); };
  return h;
}

}  // namespace zorvix
