#include "browser/pages/file_names.h"

#include "common/text.h"

namespace corvane {

bool IsForbiddenNameChar(wchar_t c) {
  return c < 0x20 || c == 0x7F || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

bool IsDeviceName(std::wstring_view name) {
  std::wstring base = common::RTrim(name.substr(0, name.find(L'.')));
  for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (common::EqualsNoCase(base, device)) return true;
  if (base.size() != 4) return false;
  bool port = common::EqualsNoCase(base.substr(0, 3), L"COM") || common::EqualsNoCase(base.substr(0, 3), L"LPT");
  // The superscript digits count as port numbers too.
  return port && std::wstring_view(L"0123456789\u00B9\u00B2\u00B3").find(base[3]) != std::wstring_view::npos;
}

std::wstring NotADevice(std::wstring name) {
  if (IsDeviceName(name)) name.insert(common::RTrim(name.substr(0, name.find(L'.'))).size(), L"_");
  return name;
}

bool IsOnlyDots(std::wstring_view name) {
  return !name.empty() && name.find_first_not_of(L". ") == std::wstring_view::npos;
}

}  // namespace corvane
