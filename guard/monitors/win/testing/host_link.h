// Tests: a folder link made on the host's side, as a stick formatted elsewhere may carry one. Under Wine a
// host symlink is a link that Windows code sees (a folder with a reparse point); the system's own call to
// make one does not make one there, so the host's "ln" makes it. Wine starts a host program without a handle
// to wait on, so the link's arrival (and its removal) is watched for instead.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix::test_support {

class HostLink {
 public:
  // A link at `link` (a Windows path) to the folder `target`.
  HostLink(const std::wstring& target, const std::wstring& link) : path_(link) {
    size_t cut = link.find_last_of(L'\\');
    std::string folder = UnixName(link.substr(0, cut)), to = UnixName(target);
    if (!folder.empty() && cut != std::wstring::npos) {
      std::wstring leaf = link.substr(cut + 1);
      link_ = folder + "/" + std::string(leaf.begin(), leaf.end());
    }
    ok_ = !to.empty() && !link_.empty() && Run(L"Z:\\bin\\ln -s " + Quoted(to) + L" " + Quoted(link_)) &&
          Await(true);
  }
  ~HostLink() {
    if (ok_ && Run(L"Z:\\bin\\rm " + Quoted(link_))) Await(false);
  }
  HostLink(const HostLink&) = delete;
  HostLink& operator=(const HostLink&) = delete;
  bool ok() const { return ok_; }

 private:
  static std::string UnixName(const std::wstring& path) {
    using Fn = char*(CDECL*)(LPCWSTR);
    auto name = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = name ? name(path.c_str()) : nullptr;
    if (!unix) return "";
    std::string s = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return s;
  }
  static std::wstring Quoted(const std::string& s) { return L"\"" + std::wstring(s.begin(), s.end()) + L"\""; }
  static bool Run(std::wstring command) {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return true;
  }
  // Waits up to 10 s for the link to be there (or gone).
  bool Await(bool there) const {
    for (int i = 0; i < 500; ++i, Sleep(20))
      if ((GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) == there) return true;
    return false;
  }
  std::wstring path_;
  std::string link_;
  bool ok_ = false;
};

}  // namespace zorvix::test_support
