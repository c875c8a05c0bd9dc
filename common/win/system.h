// Folders, processes and small window operations shared by the programs.
#pragma once
#include <windows.h>

#include <string>

namespace common {

// Folder of the running executable with one trailing "\".
std::wstring AppFolder();
// Full path of the running executable.
std::wstring ExePath();
std::wstring GetWindowsFolder();
std::wstring GetSystemFolder();
std::wstring GetLogonUser();
struct SystemPaths {
  std::wstring windowsFolder, systemFolder, userName;
};
// The folders and the user each program reads once at start; makes the old per-user settings folder
// visible again on the way (errors ignored).
SystemPaths ReadSystemPaths();
// A function of a loaded library as the type it is called through; null when the library lacks it.
template <typename F>
F FindProc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
void SetTopMost(HWND hwnd, bool on);
bool EnableShutdownPrivilege();
// Starts a command line and does not wait for it. False when it could not be started.
bool StartCommand(const std::wstring& commandLine, int show = SW_SHOWNORMAL, const std::wstring& dir = L"");
// Starts a document or program through the shell, without waiting.
bool ShellOpen(const std::wstring& file, const std::wstring& params = L"", int show = SW_SHOWNORMAL,
               const std::wstring& verb = L"open");
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Size in bytes of a file, or -1 when it cannot be measured.
long long FileSize(const std::wstring& path);
// A value of an INI file read in its own form (UTF-16, UTF-8 or the code page); empty when absent.
std::wstring ReadIniString(const std::wstring& section, const std::wstring& key, const std::wstring& file);

}  // namespace common
