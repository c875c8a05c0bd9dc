#include <windows.h>

#include "common/path.h"

namespace common {

std::wstring ExtendedPath(std::wstring_view path) {
  if (path.empty() || !NeedsResolving(path)) return AddExtendedPrefix(path);
  std::wstring in(path), full(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetFullPathNameW(in.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (n == 0) return AddExtendedPrefix(path);
    if (n < full.size()) {
      full.resize(n);
      return AddExtendedPrefix(full);
    }
    full.resize(n);
  }
}

}  // namespace common
