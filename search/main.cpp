// sercavo.exe: the file search. Explorer starts it with the folder or drive that was right-clicked.
#include <objbase.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "search/engine/win/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  common::SetAppTitle(sercavo::kMainCaption);
  sercavo::FrmMain frmMain;
  if (!frmMain.Load(cmdLine ? cmdLine : L"")) return 0;
  return common::RunMessageLoop();
}
