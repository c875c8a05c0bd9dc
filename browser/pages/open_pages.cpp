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

OpenPage StoredForm(const OpenPage& page) {
  return {OneLine(common::ReplaceAll(page.caption, kPageSeparator, kPageSeparatorShown)), OneLine(page.url)};
}

std::wstring FormatOpenPages(const std::vector<OpenPage>& pages) {
  std::wstring text;
  for (const auto& p : pages) {
    if (IsBlankAddress(p.url)) continue;
    OpenPage stored = StoredForm(p);
    text += stored.caption + kPageSeparator + stored.url + L"\r\n\r\n";
  }
  return text;
}

std::vector<OpenPage> ParseOpenPages(std::wstring_view text) {
  std::vector<OpenPage> pages;
  for (auto& line : common::SplitLines(text)) {
    size_t at = line.find(kPageSeparator);
    if (line.empty() || at == std::wstring::npos) continue;
    pages.push_back({line.substr(0, at), line.substr(at + 4)});
  }
  return pages;
}

}  // namespace corvane
