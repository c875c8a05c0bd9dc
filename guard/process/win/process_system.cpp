#include "guard/process/win/process_system.h"

#include <winternl.h>

#include "common/win/system.h"

namespace zorvix {

HANDLE ProcessSystem::Open(DWORD access, DWORD pid) { return OpenProcess(access, FALSE, pid); }

LONG ProcessSystem::QueryProcesses(void* buffer, ULONG size, ULONG* needed) {
  using Fn = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  static auto fn = common::FindProc<Fn>(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
  return fn ? fn(SystemProcessInformation, buffer, size, needed) : LONG(0xC0000002L);  // not implemented
}

bool ProcessSystem::IsCritical(HANDLE process) {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static auto fn = common::FindProc<Fn>(GetModuleHandleW(L"kernel32.dll"), "IsProcessCritical");
  BOOL critical = FALSE;
  return fn && fn(process, &critical) && critical;
}

ProcessSystem& RealProcessSystem() {
  static ProcessSystem real;
  return real;
}

bool IsCriticalProcess(DWORD pid, ProcessSystem& system) {
  ProcessHandle h{system.Open(PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  return h && system.IsCritical(h.get());
}

uint64_t CreateTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace zorvix
