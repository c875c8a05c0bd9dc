#include "common/path.h"

namespace common {

std::wstring ExtendedPath(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\")) return std::wstring(path);
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(path.substr(2));
  bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  if (!drive) return std::wstring(path);
  std::wstring r = L"\\\\?\\" + std::wstring(path);
  for (auto& c : r)
    if (c == L'/') c = L'\\';
  return r;
}

std::wstring QuoteArg(std::wstring_view arg) {
  std::wstring r = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    r.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    r.push_back(c);
  }
  r.append(slashes * 2, L'\\');
  r.push_back(L'"');
  return r;
}

}  // namespace common
