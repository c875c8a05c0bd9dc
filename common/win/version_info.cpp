#include "common/win/version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/path.h"
#include "common/text.h"

namespace common {
namespace {

std::wstring Query(const std::vector<BYTE>& data, const wchar_t* block, const wchar_t* name) {
  wchar_t sub[96];
  swprintf(sub, 96, L"\\StringFileInfo\\%ls\\%ls", block, name);
  wchar_t* text = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), sub, reinterpret_cast<void**>(&text), &len) || !text) return {};
  return Trim(CutAtNul(std::wstring_view(text, len)));
}

}  // namespace

std::optional<VersionTexts> ReadVersionTexts(const std::wstring& path) {
  std::wstring p = ExtendedPath(path);
  DWORD size = GetFileVersionInfoSizeW(p.c_str(), nullptr);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(p.c_str(), 0, size, data.data())) return std::nullopt;

  // The first listed language and code page, then the usual fallbacks.
  std::vector<std::wstring> blocks;
  struct Lang {
    WORD lang, cp;
  }* langs = nullptr;
  UINT len = 0;
  if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&langs), &len) && langs)
    for (UINT i = 0; i < len / sizeof(Lang); ++i) {
      wchar_t b[16];
      swprintf(b, 16, L"%04x%04x", langs[i].lang, langs[i].cp);
      blocks.push_back(b);
    }
  for (const wchar_t* b : {L"080404b0", L"040904b0", L"040904e4", L"000004b0"}) blocks.push_back(b);

  for (auto& b : blocks) {
    VersionTexts v{Query(data, b.c_str(), L"CompanyName"),     Query(data, b.c_str(), L"FileDescription"),
                   Query(data, b.c_str(), L"FileVersion"),     Query(data, b.c_str(), L"ProductName"),
                   Query(data, b.c_str(), L"ProductVersion"),  Query(data, b.c_str(), L"LegalCopyright"),
                   Query(data, b.c_str(), L"OriginalFilename")};
    if (!v.company.empty() || !v.description.empty() || !v.product.empty() || !v.fileVersion.empty()) return v;
  }
  return VersionTexts{};
}

}  // namespace common
