#include "browser/pages/open_pages.h"

#include "browser/pages/page_rules.h"
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
    OpenPage stored = StoredForm(p);
    if (IsBlankAddress(p.url) || common::Trim(stored.url).empty()) continue;
    text += stored.caption + kPageSeparator + stored.url + L"\r\n\r\n";
  }
  return text;
}

std::vector<OpenPage> ParseOpenPages(std::wstring_view text) {
  std::vector<OpenPage> pages;
  for (auto& line : common::SplitLines(text)) {
    size_t at = line.find(kPageSeparator);
    // A record without an address opens nothing: it is no record.
    if (line.empty() || at == std::wstring::npos || common::Trim(line.substr(at + 4)).empty()) continue;
    pages.push_back({line.substr(0, at), line.substr(at + 4)});
  }
  return pages;
}

std::wstring RowText(const OpenPage& page) { return page.caption.empty() ? page.url : page.caption; }

std::wstring RestoreNotOpenedStatus(int notOpened) {
  return L"上次打开的网页中有 " + std::to_wstring(notOpened) + L" 个没有打开：最多只能同时打开 51 个窗口";
}

std::wstring RecordFileName(int slot) { return slot <= 1 ? L"page.his" : L"page" + std::to_wstring(slot) + L".his"; }
std::wstring LockFileName(int slot) { return RecordFileName(slot) + L".lock"; }

std::optional<int> RecordSlotOf(std::wstring_view name) {
  for (int slot = 1; slot <= kMaxRecords; ++slot)
    if (common::EqualsNoCase(name, RecordFileName(slot)) || common::EqualsNoCase(name, LockFileName(slot))) return slot;
  return std::nullopt;
}

}  // namespace corvane
