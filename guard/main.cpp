// zorvix.exe: the guard. Its process window's load brings everything up; its unload ends the program.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "common/path.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/system.h"
#include "guard/guard_state.h"
#include "guard/startup/win/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&icc);
  common::SetAppTitle(zorvix::kGuardTitle);
  zorvix::FrmMain frmMain;
  if (!frmMain.Load(cmdLine ? cmdLine : L"")) return 0;
  common::RunMessageLoop();
  // After "清除所有列表" the guard starts again as it was started.
  if (frmMain.restartRequested()) {
    std::wstring args = cmdLine ? cmdLine : L"";
    common::StartCommand(common::QuoteArg(common::ExePath()) + (args.empty() ? L"" : L" " + args));
  }
  return 0;
}
