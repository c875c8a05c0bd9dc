#include "browser/tools/win/tools_menu.h"

#include "browser/shell/win/frm_main.h"
#include "browser/shell/win/not_yet.h"
#include "browser/tools/win/default_browser.h"

namespace corvane {

// Windows still to be joined to the frame say so when asked for; the meters stay empty until then.
void StartSpeedMeter(FrmMain&) {}
void ShowPageSource(FrmMain& frame, const std::wstring&) { NotYetAvailable(frame.hwnd(), L"源文件"); }
void ShowTraceCleaner(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"清除历史记录"); }
void ShowOptions(FrmMain& frame) { NotYetAvailable(frame.hwnd(), L"系统选项"); }
void setnavigation(FrmMain& frame) { setnavigation(frame.hwnd()); }
void cancelnavigation(FrmMain& frame) { cancelnavigation(frame.hwnd()); }

}  // namespace corvane
