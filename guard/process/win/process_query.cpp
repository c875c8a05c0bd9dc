#include "guard/process/win/process_query.h"

#include "common/win/system.h"
#include "guard/process/process_rules.h"

namespace zorvix {

HANDLE OpenForQuery(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
  return h ? h : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
}

std::wstring ProcessImagePath(HANDLE process) {
  for (DWORD size = MAX_PATH; size <= 32768; size *= 4) {
    std::wstring buf(size, L'\0');
    DWORD n = size;
    if (QueryFullProcessImageNameW(process, 0, buf.data(), &n)) {
      buf.resize(n);
      return buf;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
  }
  return {};
}

std::wstring GetProClass(DWORD pid) {
  HANDLE h = OpenForQuery(pid);
  if (!h) return L"";
  std::wstring text = PriorityText(GetPriorityClass(h));
  CloseHandle(h);
  return text;
}

bool SetProClass(DWORD pid, DWORD priorityClass) {
  HANDLE h = OpenProcess(0x264, FALSE, pid);
  if (!h) return false;
  bool ok = SetPriorityClass(h, priorityClass);
  CloseHandle(h);
  return ok;
}

std::wstring GetUsedMemoryMB() {
  MEMORYSTATUSEX m{sizeof m};
  if (!GlobalMemoryStatusEx(&m)) return L"";
  return std::to_wstring((m.ullTotalPhys - m.ullAvailPhys) / 1024 / 1024);
}

std::wstring ResolveBareName(const std::wstring& name) {
  if (name.find(L'\\') != std::wstring::npos) return name;
  std::wstring inWindows = common::GetWindowsFolder() + L"\\" + name;
  if (common::FileSize(inWindows) > 10) return inWindows;
  return common::GetSystemFolder() + L"\\" + name;
}

}  // namespace zorvix
