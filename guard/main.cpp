// zorvix.exe: the guard. Its process window's load brings everything up; its unload ends the program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "guard/startup/guard_state.h"
#include "guard/startup/win/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  common::SetAppTitle(zorvix::kGuardTitle);
  zorvix::FrmMain frmMain;
  if (!frmMain.Load(cmdLine ? cmdLine : L"")) return 0;
  common::RunMessageLoop();
  return 0;
}
