// corvane.exe: the browser. The frame's load brings it up; its loop runs until a confirmed exit.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "browser/pages/page_rules.h"
#include "browser/shell/win/engine.h"
#include "browser/shell/win/frm_main.h"
#include "browser/tools/win/default_browser.h"
#include "common/text.h"
#include "common/win/msgbox.h"

namespace {
// The suite's uninstaller gives the default-browser role back through the browser's own undo, with no window.
constexpr wchar_t kCancelNavigationSwitch[] = L"/cancelnavigation";
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmdLine, int) {
  if (common::EqualsNoCase(common::Trim(cmdLine ? cmdLine : L""), kCancelNavigationSwitch))
    return corvane::CancelNavigation() == corvane::NavigationResult::kFailed ? 1 : 0;
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  common::SetAppTitle(corvane::kBrowserTitle);
  corvane::RegisterBrowserEmulation();
  int rc = 0;
  {
    corvane::FrmMain frmMain;
    if (frmMain.Load(cmdLine ? cmdLine : L"")) rc = frmMain.Run();
  }
  OleUninitialize();
  return rc;
}
