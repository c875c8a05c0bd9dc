#include "guard/monitors/ask_lists.h"

#include "common/text.h"

namespace zorvix {

// Position of ";" + lowered as a whole entry (followed by ";" or the end), or npos.
size_t DecisionList::Find(std::wstring_view lowered, size_t from) const {
  std::wstring needle = L";" + std::wstring(lowered);
  std::wstring hay = common::ToLower(text_);
  for (size_t at = hay.find(needle, from); at != std::wstring::npos; at = hay.find(needle, at + 1)) {
    size_t end = at + needle.size();
    if (end == hay.size() || hay[end] == L';') return at;
  }
  return std::wstring::npos;
}

bool DecisionList::Contains(std::wstring_view entry) const {
  return !entry.empty() && Find(common::ToLower(entry), 0) != std::wstring::npos;
}

void DecisionList::Add(std::wstring_view entry) { text_ += L";" + common::ToLower(entry); }

bool DecisionList::Remove(std::wstring_view entry) {
  if (entry.empty()) return false;
  std::wstring lowered = common::ToLower(entry);
  bool removed = false;
  for (size_t at = Find(lowered, 0); at != std::wstring::npos; at = Find(lowered, at)) {
    text_.erase(at, lowered.size() + 1);
    removed = true;
  }
  return removed;
}

AskFileLists ParseAskFile(std::wstring_view text) {
  auto lines = common::SplitLines(text);
  AskFileLists lists;
  if (lines.size() > 0) lists.allow = DecisionList(lines[0]);
  if (lines.size() > 1) lists.deny = DecisionList(lines[1]);
  return lists;
}

std::wstring FormatAskFile(const AskFileLists& lists) {
  return common::ToLower(lists.allow.text()) + L"\r\n" + common::ToLower(lists.deny.text()) + L"\r\n";
}

bool RegLocation::localMachine() const { return common::EqualsNoCase(rootName, L"hkey_local_machine"); }

std::vector<RegLocation> RegPathReadings(std::wstring_view regpath) {
  std::vector<RegLocation> readings;
  size_t first = regpath.find(L'\\');
  if (first == std::wstring_view::npos) return readings;
  std::wstring root(regpath.substr(0, first));
  for (size_t at = regpath.rfind(L'\\'); at > first + 1; at = regpath.rfind(L'\\', at - 1)) {
    // A key name is never empty: "run\\x" is the value "\x" of "run", not "x" of it.
    if (regpath[at - 1] == L'\\') continue;
    readings.push_back(
        {root, std::wstring(regpath.substr(first + 1, at - first - 1)), std::wstring(regpath.substr(at + 1))});
  }
  return readings;
}

}  // namespace zorvix
