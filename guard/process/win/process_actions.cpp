#include "guard/process/win/process_actions.h"

#include <shellapi.h>

#include "common/path.h"
#include "common/win/pump.h"
#include "common/win/registry.h"
#include "common/win/system.h"
#include "common/win/ui/window.h"
#include "guard/process/process_actions.h"

namespace zorvix {

bool IsCriticalProcess(DWORD pid) {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsProcessCritical")));
  if (!fn) return false;
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return false;
  BOOL critical = FALSE;
  bool known = fn(h, &critical);
  CloseHandle(h);
  return known && critical;
}

EndResult EndPro(DWORD pid) {
  if (IsCriticalProcess(pid)) return EndResult::Critical;
  HANDLE h = OpenProcess(PROCESS_TERMINATE, TRUE, pid);
  if (!h) return EndResult::Failed;
  bool ok = TerminateProcess(h, 0);
  CloseHandle(h);
  return ok ? EndResult::Ended : EndResult::Failed;
}

bool WaitProcessGone(DWORD pid, DWORD ms) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return true;
  DWORD end = GetTickCount() + ms;
  bool gone = false;
  for (;;) {
    DWORD now = GetTickCount();
    DWORD left = now < end ? end - now : 0;
    DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, left, QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      gone = true;
      break;
    }
    if (r != WAIT_OBJECT_0 + 1) break;  // time is up, or the wait failed
    common::PumpMessages();
  }
  CloseHandle(h);
  return gone;
}

void WaitPumping(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    common::PumpMessages();
  }
}

bool OpenFolderSelect(const std::wstring& path) {
  return common::StartCommand(L"explorer.exe /select," + common::QuoteArg(path), SW_SHOWNORMAL);
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
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOCONFIRMMKDIR;
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

void KillExplorer() {
  for (int i = 0; i < 30; ++i) {
    common::StartCommand(L"tskill explorer", SW_HIDE);
    WaitPumping(100);
  }
}

void WaitThreeSeconds() { WaitPumping(3000); }

bool RestoreExplorerShell() {
  return common::WriteRegString(HKEY_LOCAL_MACHINE, kWinlogonKey, L"Shell", L"explorer.exe");
}

void OpenExplorer() {
  common::StartCommand(L"explorer", SW_HIDE);
  common::StartCommand(L"explorer", SW_SHOWNORMAL);
  common::StartCommand(L"regedit", SW_SHOWNORMAL);
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
