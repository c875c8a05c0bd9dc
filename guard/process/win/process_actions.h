// Actions on a process and its file, and the desktop and shell commands of the process window.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix {

enum class EndResult { Ended, Critical, Failed };
// Ends a process with exit code 0. A process Windows marks critical is refused: ending it would stop
// the whole system at once.
EndResult EndPro(DWORD pid);
bool IsCriticalProcess(DWORD pid);
// Waits up to ms for a process to be gone, letting window messages run meanwhile. True when gone.
bool WaitProcessGone(DWORD pid, DWORD ms);
// Shows the file selected in an Explorer window.
bool OpenFolderSelect(const std::wstring& path);
bool ShowFileProperties(const std::wstring& path, HWND owner);
// Deletes one file without confirmation, progress or recycle bin. True only when the file is gone.
bool DeleteFileSilent(const std::wstring& path);
// Waits ms while letting window messages run.
void WaitPumping(DWORD ms);

// Desktop and shell commands.
void ShowTaskbar(bool show);
void ShowDesktopIcons(bool show);
void KillExplorer();        // "关闭explorer1"
void WaitThreeSeconds();    // "关闭explorer2"
bool RestoreExplorerShell();  // "恢复explorer"
void OpenExplorer();        // "打开explorer"
void LogOff();              // "注销用户"
void ForceShutdown();       // the confirmed half of "强制关机"
void ShowAbout(HWND owner);

}  // namespace zorvix
