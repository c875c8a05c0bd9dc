// Actions on a process and its file, and the desktop and shell commands of the process window.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "guard/process/win/process_system.h"

namespace zorvix {

enum class EndResult {
  Ended,
  NotSame,   // the PID no longer names the process that started at the given time: nothing ended
  Critical,  // the system marks the process critical: refused
  Failed
};
// Ends a process with exit code 0, only if it is still the one that started at `created`: between a
// look at the list and the user's answer the process may have ended and its PID gone to another.
EndResult EndPro(DWORD pid, uint64_t created, ProcessSystem& system = RealProcessSystem());
// Waits up to ms for the process (PID and start time) to be gone, letting window messages run, the
// pending ones at once. Stops early when `window` is destroyed meanwhile. True when the process is gone.
bool WaitProcessGone(DWORD pid, uint64_t created, DWORD ms, HWND window = nullptr);
// Waits ms while letting window messages run; false when `window` was destroyed meanwhile.
bool WaitPumping(DWORD ms, HWND window = nullptr);
// Shows the file selected in an Explorer window.
bool OpenFolderSelect(const std::wstring& path);
bool ShowFileProperties(const std::wstring& path, HWND owner);
// Deletes one file without confirmation, progress, error box or recycle bin. True only when the file
// is gone.
bool DeleteFileSilent(const std::wstring& path);
// No box of the shell's own (a failure is told by the caller's message), no recycle bin.
inline constexpr FILEOP_FLAGS kSilentDeleteFlags =
    FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;

// Desktop and shell commands. The waiting ones stop when `window` is destroyed meanwhile.
void ShowTaskbar(bool show);
void ShowDesktopIcons(bool show);
void KillExplorer(HWND window);       // "关闭explorer1"
void WaitThreeSeconds(HWND window);   // "关闭explorer2"
bool RestoreExplorerShell();          // "恢复explorer"
void OpenExplorer();                  // "打开explorer"
void LogOff();                        // "注销用户"
void ForceShutdown();                 // the confirmed half of "强制关机"
void ShowAbout(HWND owner);

}  // namespace zorvix
