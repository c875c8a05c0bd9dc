#include "common/path.h"

#include "common/text.h"

namespace common {

namespace {
bool IsDrivePath(std::wstring_view p) { return p.size() >= 3 && p[1] == L':' && p[2] == L'\\'; }
bool IsUncPath(std::wstring_view p) { return p.size() >= 3 && p[0] == L'\\' && p[1] == L'\\' && p[2] != L'\\'; }
// "\\?\" and the device form "\\.\" are already what the file calls take.
bool IsRawPath(std::wstring_view p) { return p.starts_with(L"\\\\?\\") || p.starts_with(L"\\\\.\\"); }
}  // namespace

bool NeedsResolving(std::wstring_view path) {
  if (IsRawPath(path)) return false;
  if (!IsDrivePath(path) && !IsUncPath(path)) return true;
  if (path.find(L'/') != std::wstring_view::npos) return true;
  // Parts are checked after the root ("C:\" or the leading "\\" of a share).
  size_t from = IsUncPath(path) ? 2 : 3;
  for (size_t b = from; b <= path.size();) {
    size_t e = path.find(L'\\', b);
    if (e == std::wstring_view::npos) e = path.size();
    std::wstring_view part = path.substr(b, e - b);
    if (part == L"." || part == L"..") return true;
    if (part.empty() && e < path.size()) return true;
    b = e + 1;
  }
  return false;
}

std::wstring AddExtendedPrefix(std::wstring_view fullPath) {
  if (IsRawPath(fullPath)) return std::wstring(fullPath);
  if (IsUncPath(fullPath)) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
  if (IsDrivePath(fullPath)) return L"\\\\?\\" + std::wstring(fullPath);
  return std::wstring(fullPath);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view file) {
  if (file.starts_with(L"\\")) file.remove_prefix(1);
  return WithTrailingSlash(folder) + std::wstring(file);
}

std::wstring QuoteArg(std::wstring_view arg, Quoting quoting) {
  if (quoting == Quoting::WhenNeeded && !arg.empty() && arg.find_first_of(L" \t\"") == std::wstring_view::npos)
    return std::wstring(arg);
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
