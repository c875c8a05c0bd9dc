// Tests: links and special files made by the host system in a test folder. Under Wine the platform's own
// call makes no link; a link the host makes is one the Windows side meets: a link to a folder shows as a
// reparse point, a link to a file is followed without a sign.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "common/text_codec.h"

namespace sercavo::test_support {

// The host's name of a path; empty when this is no Wine.
inline std::string HostPath(const std::wstring& path) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unixName ? unixName(path.c_str()) : nullptr;
  if (!name) return {};
  std::string r = name;
  HeapFree(GetProcessHeap(), 0, name);
  return r;
}

// Runs a script of the host's shell and waits (up to ten seconds) until done() holds: the host runs it
// apart from this process, so there is nothing else to wait on.
inline bool HostScript(const std::string& script, const std::function<bool()>& done) {
  std::wstring line = L"Z:\\bin\\sh -c \"" + common::FromUtf8(script) + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
    return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  for (int i = 0; i < 1000 && !done(); ++i) Sleep(10);
  return done();
}

// Listed in its folder (a pipe or a link to a device may not answer a look at itself).
inline bool Listed(const std::wstring& path) {
  WIN32_FIND_DATAW e;
  HANDLE h = FindFirstFileW(path.c_str(), &e);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return true;
}

// Links and pipes made by the host, removed (not what they lead to) when it goes: before the test's
// folder is, whose removal would otherwise open a pipe and wait.
class HostLinks {
 public:
  HostLinks() = default;
  HostLinks(const HostLinks&) = delete;
  HostLinks& operator=(const HostLinks&) = delete;
  ~HostLinks() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) Remove(*it);
  }

  // A symbolic link at link to target (a path of this side, or of the host when it starts with "/").
  bool Link(const std::wstring& target, const std::wstring& link) {
    std::string to = !target.empty() && target[0] == L'/' ? common::ToUtf8(target).value_or("") : HostPath(target);
    return Make("ln -s '" + to + "'", to.empty(), link);
  }
  // A named pipe: opening it for reading would wait for a writer that never comes.
  bool Pipe(const std::wstring& path) { return Make("mkfifo", false, path); }

  bool Remove(const std::wstring& path) {
    std::string at = HostPath(path);
    return !at.empty() && HostScript("rm -f '" + at + "'", [&] { return !Listed(path); });
  }

 private:
  bool Make(const std::string& command, bool failed, const std::wstring& path) {
    std::string at = HostPath(path);
    if (failed || at.empty()) return false;
    made_.push_back(path);
    return HostScript(command + " '" + at + "'", [&] { return Listed(path); });
  }
  std::vector<std::wstring> made_;
};

}  // namespace sercavo::test_support
