// The installed-programs page's rules: which uninstall entries are listed, and one row per program
// however many places registered it.
#pragma once
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zorvix {

struct InstalledProgram {
  std::wstring name;       // "DisplayName"
  std::wstring uninstall;  // "UninstallString"
  std::wstring helpLink;   // "HelpLink"
};

// An entry is listed when its display name is not empty and does not begin with "windows xp" in any
// letter case.
bool ListedProgram(std::wstring_view displayName);

// Collects the listed programs of every source in order. A program registered in several places (the
// 64-bit and 32-bit machine views, the user's own key) has the same name and uninstall command there: it
// is listed once, where it was met first.
class InstalledList {
 public:
  // False when the entry is not listed or already is.
  bool Add(InstalledProgram program);
  const std::vector<InstalledProgram>& programs() const { return programs_; }

 private:
  std::vector<InstalledProgram> programs_;
  std::unordered_set<std::wstring> seen_;
};

// The key Windows lists installed programs under, below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

}  // namespace zorvix
