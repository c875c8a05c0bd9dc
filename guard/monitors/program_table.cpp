#include "guard/monitors/program_table.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "common/text.h"

namespace zorvix {
namespace {

const wchar_t* const kFields[] = {L"Name", L"Path", L"Status", L"Attempts", L"Blocks"};

std::wstring Key(int n, const wchar_t* field) { return std::to_wstring(n) + field; }

int32_t Increment(int32_t& counter) { return counter < INT32_MAX ? ++counter : counter; }

// The stored fields of one numbered entry.
struct StoredEntry {
  std::optional<std::wstring> fields[5];
  bool listed() const { return (fields[0] && !fields[0]->empty()) || (fields[1] && !fields[1]->empty()); }
};

// The entries of a section by number, up to "ProgramCount": one enumeration of its values.
struct Section {
  std::map<int, StoredEntry> entries;
  int count = 0;  // the last number in use: "ProgramCount", or fewer when no entry is that far
};

int CountOf(const std::optional<std::wstring>& stored) {
  long long n = common::NumberOrZero(stored.value_or(L""));
  return n > 0 && n < INT32_MAX ? int(n) : 0;
}

Section ReadSection(const KeyStore& store) {
  Section s;
  std::optional<std::wstring> stored;
  for (auto& [key, value] : store.All()) {
    if (common::EqualsNoCase(key, kProgramCount)) stored = value;
    size_t digits = 0;
    while (digits < key.size() && digits < 10 && key[digits] >= L'0' && key[digits] <= L'9') ++digits;
    if (digits == 0 || key[0] == L'0') continue;
    long long n = std::stoll(key.substr(0, digits));
    if (n >= INT32_MAX) continue;
    for (int f = 0; f < 5; ++f)
      if (common::EqualsNoCase(std::wstring_view(key).substr(digits), kFields[f])) s.entries[int(n)].fields[f] = value;
  }
  int count = CountOf(stored);
  s.entries.erase(s.entries.upper_bound(count), s.entries.end());
  s.count = s.entries.empty() ? 0 : std::min(count, s.entries.rbegin()->first);
  return s;
}

MonitoredProgram ProgramOf(int n, const StoredEntry& e) {
  MonitoredProgram p;
  p.number = n;
  p.Path = e.fields[1].value_or(L"");
  p.Name = e.fields[0].value_or(L"");
  if (p.Name.empty()) p.Name = common::ToLower(common::FileNameOf(p.Path));
  p.Status = StatusOf(e.fields[2]);
  p.Attempts = int32_t(common::NumberOrZero(e.fields[3].value_or(L"")));
  p.Blocks = int32_t(common::NumberOrZero(e.fields[4].value_or(L"")));
  return p;
}

}  // namespace

int16_t StatusOf(const std::optional<std::wstring>& stored) {
  return stored && common::NumberOrZero(*stored) != 0 ? kAllowed : kBlocked;
}

int ProgramCount(const KeyStore& store) { return CountOf(store.Get(kProgramCount)); }

bool AddProgram(KeyStore& store, std::wstring_view programPath, int block) {
  Section section = ReadSection(store);
  for (const auto& [n, e] : section.entries)
    if (common::EqualsNoCase(e.fields[1].value_or(L""), programPath)) return false;
  int n = section.count + 1;
  store.Set(Key(n, L"Name"), common::ToLower(common::FileNameOf(programPath)));
  store.Set(Key(n, L"Path"), common::ToLower(programPath));
  store.Set(Key(n, L"Status"), std::to_wstring(block));
  // Counters left behind at this number by an interrupted delete must not pass to the new program.
  store.Remove(Key(n, L"Attempts"));
  store.Remove(Key(n, L"Blocks"));
  store.Set(kProgramCount, std::to_wstring(n));
  return true;
}

bool DeleteProgram(KeyStore& store, int index, std::wstring_view programPath) {
  Section section = ReadSection(store);
  auto samePath = [&](const auto& entry) {
    return common::EqualsNoCase(entry.second.fields[1].value_or(L""), programPath);
  };
  auto it = section.entries.find(index);
  if (it == section.entries.end() || !samePath(*it))
    it = std::find_if(section.entries.begin(), section.entries.end(), samePath);
  if (it == section.entries.end()) return false;
  // Each later entry moves down one number, counters absent moving as 0.
  int vacated = it->first;
  for (auto next = std::next(it); next != section.entries.end(); ++next) {
    for (int f = 0; f < 5; ++f) {
      const auto& value = next->second.fields[f];
      store.Set(Key(next->first - 1, kFields[f]), value ? *value : f >= 3 ? L"0" : L"");
    }
    vacated = next->first;
  }
  for (const wchar_t* f : kFields) store.Remove(Key(vacated, f));
  store.Set(kProgramCount, std::to_wstring(section.count - 1));
  return true;
}

std::wstring ProgramGoneText(std::wstring_view name) {
  return L"列表【 " + std::wstring(name) + L" 】已经不存在（可能已在其它窗口中删除），没有删除任何项目。";
}

void ProgramTable::UpdatePrograms(const KeyStore& store) {
  entries_.clear();
  byPath_.clear();
  for (const auto& [n, e] : ReadSection(store).entries) {
    if (!e.listed()) continue;
    MonitoredProgram p = ProgramOf(n, e);
    byPath_.try_emplace(common::ToLower(p.Path), entries_.size());
    entries_.push_back(std::move(p));
  }
}

const MonitoredProgram* ProgramTable::Find(std::wstring_view path) const {
  auto it = byPath_.find(common::ToLower(path));
  return it == byPath_.end() ? nullptr : &entries_[it->second];
}

ProgramTable::Verdict ProgramTable::Count(KeyStore& store, std::wstring_view path) {
  auto it = byPath_.find(common::ToLower(path));
  if (it == byPath_.end()) return Verdict::Unknown;
  MonitoredProgram& p = entries_[it->second];
  store.Set(Key(p.number, L"Attempts"), std::to_wstring(Increment(p.Attempts)));
  if (p.Status != kBlocked) return Verdict::Allowed;
  store.Set(Key(p.number, L"Blocks"), std::to_wstring(Increment(p.Blocks)));
  return Verdict::Blocked;
}

}  // namespace zorvix
