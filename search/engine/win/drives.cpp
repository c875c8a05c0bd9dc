#include "search/engine/win/drives.h"

#include <windows.h>

#include "search/engine/search_rules.h"

namespace sercavo {

std::vector<std::wstring> LogicalDrives() {
  wchar_t buf[512] = {};
  DWORD n = GetLogicalDriveStringsW(511, buf);
  if (n == 0 || n > 511) return {};
  return SplitDriveStrings(std::wstring_view(buf, n));
}

std::vector<std::wstring> ListSearchDrives() {
  std::vector<std::wstring> roots;
  for (const std::wstring& root : LogicalDrives())
    if (IsSearchedDriveType(GetDriveTypeW(root.c_str()))) roots.push_back(root);
  return roots;
}

}  // namespace sercavo
