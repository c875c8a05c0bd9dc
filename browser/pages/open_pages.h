// The open-pages file: one record per open page ("caption@#$%address" and an empty line), so that the
// next start can offer the pages again after an abnormal end.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr wchar_t kPageSeparator[] = L"@#$%";
// What a caption shows in place of the separator: its full-width form, so the first separator of a record
// is always the one the writer put there.
inline constexpr wchar_t kPageSeparatorShown[] = L"\uFF20\uFF03\uFF04\uFF05";
// A file shorter than this means the last run ended normally.
constexpr long long kRestoreMinBytes = 11;
// Each running browser keeps its own open-pages file in the "temp" folder, the first "page.his", others
// "page2.his", "page3.his", ..., and beside it, while it runs, a lock file of that name and ".lock".
constexpr int kMaxRecords = 64;
std::wstring RecordFileName(int slot);
std::wstring LockFileName(int slot);
// The slot a record or lock file's name belongs to; nullopt for any other name.
std::optional<int> RecordSlotOf(std::wstring_view fileName);

struct OpenPage {
  std::wstring caption;
  std::wstring url;
};

// The whole text of the file for the pages in window-number order; blank pages (and addresses of blanks
// only) are left out. Captions are only shown, so their separators are written in full-width form; line
// breaks become blanks.
std::wstring FormatOpenPages(const std::vector<OpenPage>& pages);
// Every non-empty line that holds the separator with an address after it, split at its first one (an
// address may hold it).
std::vector<OpenPage> ParseOpenPages(std::wstring_view text);
// What a row of the restore dialog shows: the caption, or the address when the caption is empty.
std::wstring RowText(const OpenPage& page);
// The status text when a restore held more pages than the window table could take.
std::wstring RestoreNotOpenedStatus(int notOpened);
// The record that FormatOpenPages writes for a page, as ParseOpenPages gives it back.
OpenPage StoredForm(const OpenPage& page);

}  // namespace corvane
