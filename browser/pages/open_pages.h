// The open-pages file: one record per open page ("caption@#$%address" and an empty line), so that the
// next start can offer the pages again after an abnormal end.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr wchar_t kPageSeparator[] = L"@#$%";
// A file shorter than this means the last run ended normally.
constexpr long long kRestoreMinBytes = 11;

struct OpenPage {
  std::wstring caption;
  std::wstring url;
};

// The whole text of the file for the pages in window-number order; blank pages are left out.
std::wstring FormatOpenPages(const std::vector<OpenPage>& pages);
// Every non-empty line that holds the separator, split at its last one: a page title may contain the
// separator, an address (which escapes "%") does not.
std::vector<OpenPage> ParseOpenPages(std::wstring_view text);

}  // namespace corvane
