#include "guard/monitors/ask_lists.h"

#include <algorithm>

#include "common/text.h"

namespace zorvix {

namespace {

bool IsStrayByte(wchar_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// Lower-case, except a character right after a byte that was no character of the file's form: "A" after
// a stray lead byte is that byte's partner in another program's eyes, and "a" would make it another pair.
std::wstring LowerKeepingStrayPairs(std::wstring_view line) {
  std::wstring lowered = common::ToLower(line);
  for (size_t i = 1; i < line.size(); ++i)
    if (IsStrayByte(line[i - 1])) lowered[i] = line[i];
  return lowered;
}

}  // namespace

DecisionList::DecisionList(std::wstring_view line) : text_(LowerKeepingStrayPairs(line)) {}

bool DecisionList::Storable(std::wstring_view entry) {
  return !entry.empty() && entry.find_first_of(L";\r\n") == std::wstring_view::npos;
}

// Position of ";" + lowered as a whole entry (followed by ";" or the end), or npos.
size_t DecisionList::Find(std::wstring_view lowered, size_t from) const {
  std::wstring needle = L";" + std::wstring(lowered);
  for (size_t at = text_.find(needle, from); at != std::wstring::npos; at = text_.find(needle, at + 1)) {
    size_t end = at + needle.size();
    if (end == text_.size() || text_[end] == L';') return at;
  }
  return std::wstring::npos;
}

bool DecisionList::Contains(std::wstring_view entry) const {
  if (entry.empty()) return false;
  std::wstring lowered = common::ToLower(entry);
  if (std::find(runOnly_.begin(), runOnly_.end(), lowered) != runOnly_.end()) return true;
  return Storable(lowered) && Find(lowered, 0) != std::wstring::npos;
}

bool DecisionList::Add(std::wstring_view entry) {
  if (!Storable(entry)) {
    AddForRun(entry);
    return false;
  }
  text_ += L";" + common::ToLower(entry);
  return true;
}

void DecisionList::AddForRun(std::wstring_view entry) {
  if (!entry.empty() && !Contains(entry)) runOnly_.push_back(common::ToLower(entry));
}

bool DecisionList::Remove(std::wstring_view entry) {
  if (entry.empty()) return false;
  std::wstring lowered = common::ToLower(entry);
  bool removed = std::erase(runOnly_, lowered) > 0;
  if (!Storable(lowered)) return removed;
  for (size_t at = Find(lowered, 0); at != std::wstring::npos; at = Find(lowered, at)) {
    text_.erase(at, lowered.size() + 1);
    removed = true;
  }
  return removed;
}

void AskFileLists::Reload(const AskFileLists& read) {
  allow.Reload(read.allow);
  deny.Reload(read.deny);
}

AskFileLists ParseAskFile(std::wstring_view text) {
  auto lines = common::SplitLines(text);
  AskFileLists lists;
  if (lines.size() > 0) lists.allow = DecisionList(lines[0]);
  if (lines.size() > 1) lists.deny = DecisionList(lines[1]);
  return lists;
}

std::wstring FormatAskFile(const AskFileLists& lists) {
  return lists.allow.text() + L"\r\n" + lists.deny.text() + L"\r\n";
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
