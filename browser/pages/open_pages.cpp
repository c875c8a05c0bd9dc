#include "browser/pages/open_pages.h"

#include "browser/shell/page_rules.h"
#include "common/text.h"

namespace corvane {
namespace {
// A line break inside a title or address would split its record.
std::wstring OneLine(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r)
    if (c == L'\r' || c == L'\n') c = L' ';
  return r;
}
}  // namespace

std::wstring FormatOpenPages(const std::vector<OpenPage>& pages) {
  std::wstring text;
  for (const auto& p : pages) {
    if (IsBlankAddress(p.url)) continue;
    text += OneLine(p.caption) + kPageSeparator + OneLine(p.url) + L"\r\n\r\n";
  }
  return text;
}

std::vector<OpenPage> ParseOpenPages(std::wstring_view text) {
  std::vector<OpenPage> pages;
  for (auto& line : common::SplitLines(text)) {
    size_t at = line.rfind(kPageSeparator);
    if (line.empty() || at == std::wstring::npos) continue;
    pages.push_back({line.substr(0, at), line.substr(at + 4)});
  }
  return pages;
}

}  // namespace corvane
