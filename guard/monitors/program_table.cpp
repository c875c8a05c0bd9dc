#include "guard/monitors/program_table.h"

#include <cstdint>

#include "common/text.h"

namespace zorvix {
namespace {

const wchar_t* const kFields[] = {L"Name", L"Path", L"Status", L"Attempts", L"Blocks"};

std::wstring Key(int n, const wchar_t* field) { return std::to_wstring(n) + field; }

int32_t Counter(const KeyStore& store, int n, const wchar_t* field) {
  return int32_t(common::NumberOrZero(store.Get(Key(n, field)).value_or(L"")));
}

int32_t Increment(int32_t& counter) { return counter < INT32_MAX ? ++counter : counter; }

}  // namespace

int16_t StatusOf(const std::optional<std::wstring>& stored) {
  return stored && common::NumberOrZero(*stored) != 0 ? kAllowed : kBlocked;
}

int ProgramCount(const KeyStore& store) {
  long long n = common::NumberOrZero(store.Get(kProgramCount).value_or(L""));
  return n > 0 && n < INT32_MAX ? int(n) : 0;
}

bool AddProgram(KeyStore& store, std::wstring_view programPath, int block) {
  int count = ProgramCount(store);
  for (int n = 1; n <= count; ++n)
    if (common::EqualsNoCase(store.Get(Key(n, L"Path")).value_or(L""), programPath)) return false;
  int n = count + 1;
  store.Set(Key(n, L"Name"), common::ToLower(common::FileNameOf(programPath)));
  store.Set(Key(n, L"Path"), common::ToLower(programPath));
  store.Set(Key(n, L"Status"), std::to_wstring(block));
  // Counters left behind at this number by an interrupted delete must not pass to the new program.
  store.Remove(Key(n, L"Attempts"));
  store.Remove(Key(n, L"Blocks"));
  store.Set(kProgramCount, std::to_wstring(n));
  return true;
}

void DeleteProgram(KeyStore& store, int index) {
  int count = ProgramCount(store);
  if (index < 1 || index > count) return;
  for (int n = index; n < count; ++n) {
    for (const wchar_t* f : kFields) {
      auto next = store.Get(Key(n + 1, f));
      bool counter = f == kFields[3] || f == kFields[4];
      store.Set(Key(n, f), next ? *next : counter ? L"0" : L"");
    }
  }
  for (const wchar_t* f : kFields) store.Remove(Key(count, f));
  store.Set(kProgramCount, std::to_wstring(count - 1));
}

void ProgramTable::UpdatePrograms(const KeyStore& store) {
  entries_.clear();
  byPath_.clear();
  int count = ProgramCount(store);
  for (int n = 1; n <= count; ++n) {
    MonitoredProgram p;
    p.Name = store.Get(Key(n, L"Name")).value_or(L"");
    if (p.Name.empty()) continue;
    p.number = n;
    p.Path = store.Get(Key(n, L"Path")).value_or(L"");
    p.Status = StatusOf(store.Get(Key(n, L"Status")));
    p.Attempts = Counter(store, n, L"Attempts");
    p.Blocks = Counter(store, n, L"Blocks");
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
