#include "guard/process/win/process_actions.h"

#include <shellapi.h>

#include "common/path.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_actions.h"

namespace zorvix {
namespace {

bool WindowGone(HWND window) { return window && !IsWindow(window); }

// Waits for `object` (or only for the time, without one) until the deadline, running window messages
// as they come. WAIT_OBJECT_0 when the object was signalled, WAIT_ABANDONED when the window went,
// WAIT_TIMEOUT otherwise.
DWORD WaitRunningMessages(HANDLE object, DWORD ms, HWND window) {
  ULONGLONG deadline = GetTickCount64() + ms;
  common::PumpMessages();  // what is already waiting runs first
  for (;;) {
    if (WindowGone(window)) return WAIT_ABANDONED;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WAIT_TIMEOUT;
    DWORD r = MsgWaitForMultipleObjects(object ? 1 : 0, &object, FALSE, DWORD(deadline - now), QS_ALLINPUT);
    if (object && r == WAIT_OBJECT_0) return WAIT_OBJECT_0;
    if (r == WAIT_FAILED) return WAIT_TIMEOUT;
    common::PumpMessages();
  }
}

}  // namespace

EndResult EndPro(DWORD pid, uint64_t created, ProcessSystem& system) {
  ProcessHandle h{system.Open(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  if (!h) return EndResult::Failed;
  if (CreateTimeOf(h.get()) != created) return EndResult::NotSame;
  if (system.IsCritical(h.get())) return EndResult::Critical;
  return TerminateProcess(h.get(), 0) ? EndResult::Ended : EndResult::Failed;
}

bool WaitProcessGone(DWORD pid, uint64_t created, DWORD ms, HWND window) {
  ProcessHandle h{OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)};
  if (!h || CreateTimeOf(h.get()) != created) {
    common::PumpMessages();
    return true;  // that process is gone; the PID may name another one now
  }
  return WaitRunningMessages(h.get(), ms, window) == WAIT_OBJECT_0;
}

bool WaitPumping(DWORD ms, HWND window) { return WaitRunningMessages(nullptr, ms, window) != WAIT_ABANDONED; }

bool OpenFolderSelect(const std::wstring& path) {
  return common::StartCommand(FolderSelectCommand(common::GetWindowsFolder(), path), SW_SHOWNORMAL);
}

bool ShowFileProperties(const std::wstring& path, HWND owner) {
  SHELLEXECUTEINFOW sei{sizeof sei};
  sei.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  sei.hwnd = owner;
  sei.lpVerb = L"properties";
  sei.lpFile = path.c_str();
  sei.lpParameters = L"";
  sei.lpDirectory = L"";
  sei.nShow = SW_SHOWNORMAL;
  bool ok = ShellExecuteExW(&sei);
  if (sei.hProcess) CloseHandle(sei.hProcess);
  return ok;
}

bool DeleteFileSilent(const std::wstring& path) {
  if (path.empty()) return false;
  std::wstring from = path + L'\0';  // the list ends with a second NUL
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = kSilentDeleteFlags;
  int r = SHFileOperationW(&op);
  return r == 0 && !op.fAnyOperationsAborted && !common::FileExists(path);
}

void ShowTaskbar(bool show) {
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) ShowWindow(tray, show ? SW_SHOWNORMAL : SW_HIDE);
}

void ShowDesktopIcons(bool show) {
  HWND progman = FindWindowW(L"Progman", nullptr);
  HWND view = progman ? FindWindowExW(progman, nullptr, L"ShellDll_DefView", nullptr) : nullptr;
  if (view) ShowWindow(view, show ? SW_SHOW : SW_HIDE);
}

void KillExplorer(HWND window) {
  std::wstring line = KillExplorerCommand(common::GetSystemFolder());
  for (int i = 0; i < 30; ++i) {
    common::StartCommand(line, SW_HIDE);
    if (!WaitPumping(100, window)) return;
  }
}

void WaitThreeSeconds(HWND window) { WaitPumping(3000, window); }

bool RestoreExplorerShell() {
  return common::WriteRegString(HKEY_LOCAL_MACHINE, kWinlogonKey, L"Shell", L"explorer.exe");
}

void OpenExplorer() {
  auto lines = OpenExplorerCommands(common::GetWindowsFolder());
  const int shows[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWNORMAL};
  for (size_t i = 0; i < lines.size(); ++i) common::StartCommand(lines[i], shows[i]);
}

void LogOff() {
  // Every supported system is of the NT family, where the privilege is needed.
  common::EnableShutdownPrivilege();
  ExitWindowsEx(EWX_LOGOFF, 0);
}

void ForceShutdown() {
  common::EnableShutdownPrivilege();
  ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0);
}

void ShowAbout(HWND owner) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICON));  // the class's icon
  ShellAboutW(owner, common::ui::WindowText(owner).c_str(), L"进程管理、网络防火墙与系统监控", icon);
}

}  // namespace zorvix
