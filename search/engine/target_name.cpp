#include "search/engine/target_name.h"

#include "common/text.h"

namespace sercavo {

std::wstring FreeName(std::wstring_view name, bool folder, const std::function<bool(const std::wstring&)>& taken) {
  if (!taken(std::wstring(name))) return std::wstring(name);
  size_t dot = folder ? std::wstring_view::npos : name.rfind(L'.');
  if (dot == 0) dot = std::wstring_view::npos;  // ".profile" has no stem to number
  std::wstring_view stem = name.substr(0, dot), ext = dot == std::wstring_view::npos ? L"" : name.substr(dot);
  for (int n = 2; n < 10000; ++n) {
    std::wstring candidate = std::wstring(stem) + L" (" + std::to_wstring(n) + L")" + std::wstring(ext);
    if (!taken(candidate)) return candidate;
  }
  return {};
}

bool IsInside(std::wstring_view path, std::wstring_view folder) {
  while (!folder.empty() && folder.back() == L'\\') folder.remove_suffix(1);
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  if (!common::StartsWithNoCase(path, folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == L'\\';
}

}  // namespace sercavo
