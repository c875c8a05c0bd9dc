#include "common/win/system.h"

#include <shellapi.h>

#include "common/path.h"
#include "common/ini.h"
#include "common/text.h"
#include "common/win/text_file.h"

namespace common {
namespace {

// Calls fill(buffer, size) with a growing buffer until the text fits; fill returns the length written,
// or a value >= size when the buffer was too small.
template <typename F>
std::wstring GrowingText(F fill, DWORD start = 260) {
  for (DWORD size = start; size <= (1u << 20); size *= 2) {
    std::wstring buf(size, L'\0');
    DWORD n = fill(buf.data(), size);
    if (n == 0) return {};
    if (n < size - 1) {
      buf.resize(n);
      return buf;
    }
  }
  return {};
}

}  // namespace

std::wstring ExePath() {
  return GrowingText([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
}

std::wstring AppFolder() {
  std::wstring exe = ExePath();
  return WithTrailingSlash(exe.substr(0, exe.find_last_of(L'\\')));
}

std::wstring GetWindowsFolder() {
  return RTrim(GrowingText([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }));
}

std::wstring GetSystemFolder() {
  return RTrim(GrowingText([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); }));
}

std::wstring GetLogonUser() {
  DWORD size = 0;
  GetUserNameW(nullptr, &size);
  std::wstring buf(size + 1, L'\0');
  DWORD n = DWORD(buf.size());
  if (!GetUserNameW(buf.data(), &n)) return {};
  return RTrim(CutAtNul(buf));
}

SystemPaths ReadSystemPaths() {
  SystemPaths p{RTrim(GetWindowsFolder()), RTrim(GetSystemFolder()), RTrim(GetLogonUser())};
  if (p.windowsFolder.size() >= 2) {
    std::wstring local =
        p.windowsFolder.substr(0, 2) + L"\\Documents and Settings\\" + p.userName + L"\\Local Settings";
    SetFileAttributesW(ExtendedPath(local).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  return p;
}

void SetTopMost(HWND hwnd, bool on) {
  SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &tp.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

bool StartCommand(const std::wstring& commandLine, int show, const std::wstring& dir) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = WORD(show);
  PROCESS_INFORMATION pi{};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.empty() ? nullptr : dir.c_str(),
                      &si, &pi))
    return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool ShellOpen(const std::wstring& file, const std::wstring& params, int show, const std::wstring& verb) {
  auto rc = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, verb.c_str(), file.c_str(), params.empty() ? nullptr : params.c_str(), nullptr, show));
  return rc > 32;
}

bool FileExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(ExtendedPath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD a = GetFileAttributesW(ExtendedPath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA d{};
  if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &d)) return -1;
  return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
  auto text = ReadFileText(file, kSmallFileCap);
  return text ? IniValue(*text, section, key).value_or(L"") : L"";
}

}  // namespace common
