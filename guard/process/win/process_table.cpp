#include "guard/process/win/process_table.h"

#include <unordered_set>

#include "common/path.h"
#include "common/text.h"
#include "common/win/system.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/process_query.h"

namespace zorvix {
namespace {

// The file's name as the directory holds it (hidden and system files included); empty when missing.
std::wstring DirectoryName(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(common::ExtendedPath(path).c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                              nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return L"";
  FindClose(h);
  return fd.cFileName;
}

// What the one open of a new process tells. Limited rights suffice for all of it.
struct NewProcess {
  bool opened = false;
  uint64_t started = 0;
  std::wstring path, priority;
};

NewProcess OpenNew(ProcessSystem& system, DWORD pid, const std::wstring& windowsFolder) {
  NewProcess n;
  ProcessHandle h{system.Open(PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  if (!h) return n;
  n.opened = true;
  n.started = CreateTimeOf(h.get());
  n.path = CheckPath(common::Trim(ProcessImagePath(h.get())), windowsFolder);
  n.priority = PriorityText(GetPriorityClass(h.get()));
  return n;
}

// Whether the query's base priorities name the classes here: our own process's must match its class.
// (Some systems report another scale, on which the classes cannot be told apart.)
bool PriorityScaleKnown(const ProcessSnapshot& snapshot) {
  const ProcessInfo* self = snapshot.Find(GetCurrentProcessId());
  return self && PriorityClassOfBase(self->basePriority) == GetPriorityClass(GetCurrentProcess());
}

}  // namespace

void ProcessTable::Init(const GuardFolders& folders) {
  folders_ = folders;
  im1_.Create(lvw_.hwnd());
}

bool ProcessTable::ListProcess() {
  if (!snapshot_.Take(system_)) return false;
  priorityScale_ = PriorityScaleKnown(snapshot_);
  bool added = false;
  uint64_t memory = 0;
  for (const ProcessInfo& p : snapshot_.processes()) {
    auto it = listed_.find(p.pid);
    if (it != listed_.end() && it->second.started != p.started) {
      RemoveRow(p.pid);  // the PID now belongs to another process
      it = listed_.end();
    }
    if (it != listed_.end()) {
      UpdateRow(p.pid, it->second, p);
    } else if (AddRow(p)) {
      added = true;
    } else {
      continue;
    }
    memory += p.workingSet;
  }
  if (added) lvw_.Resort();
  ShowTotals(snapshot_.processes().size(), memory);
  return added;
}

void ProcessTable::ShowTotals(size_t count, uint64_t memory) {
  if (static_cast<long long>(count) != lastCount_) {
    sbr_.SetText(0, L"系统进程数目：" + std::to_wstring(count));
    lastCount_ = static_cast<long long>(count);
  }
  if (memory != lastMemory_) {
    sbr_.SetText(1, L"已用内存：" + GetUsedMemoryMB() + L" MB");
    lastMemory_ = memory;
  }
}

void ProcessTable::UpdateRow(DWORD pid, ListedProcess& listed, const ProcessInfo& p) {
  if (p.workingSet != listed.workingSet) {
    listed.workingSet = p.workingSet;
    SetCell(pid, kColMemory, listed.memory, MemoryText(p.workingSet));
  }
  if (priorityScale_) SetCell(pid, kColPriority, listed.priority, PriorityFromQuery(p));
}

void ProcessTable::SetCell(DWORD pid, int column, std::wstring& shown, std::wstring text) {
  if (text == shown) return;
  shown = std::move(text);
  if (int row = HaveItem(pid); row >= 0) lvw_.SetText(row, column, shown);
}

std::wstring ProcessTable::PriorityFromQuery(const ProcessInfo& p) const {
  return PriorityText(PriorityClassOfBase(p.basePriority));
}

bool ProcessTable::AddRow(const ProcessInfo& p) {
  if (p.name.empty()) return false;  // the idle process: no program of its own
  NewProcess n = OpenNew(system_, p.pid, folders_.windowsFolder);
  if (n.opened && n.started != p.started) return false;  // the PID passed on since the query: next tick
  ListedProcess listed{p.started, n.path, p.workingSet, MemoryText(p.workingSet),
                       priorityScale_ ? PriorityFromQuery(p) : n.priority};
  // A process that cannot be opened keeps the name the query gave.
  std::wstring name = n.opened && !n.path.empty() ? DirectoryName(n.path) : std::wstring(p.name);
  int row = lvw_.Add(KeyOf(p.pid), name, n.path.empty() ? -1 : im1_.Add(n.path));
  if (row < 0) return false;
  lvw_.SetText(row, kColPid, std::to_wstring(p.pid));
  lvw_.SetText(row, kColMemory, listed.memory);
  lvw_.SetText(row, kColPriority, listed.priority);
  lvw_.SetText(row, kColPath, n.path);
  TrustVerdict trust = n.path.empty() ? TrustVerdict{} : trust_.IsTrustedFile(n.path);
  lvw_.SetText(row, kColTrust, trust.trusted ? kTrustedMark : kUntrustedMark);
  auto texts = OwnerAndRemarkFor(NoteOf(n.path), folders_.logonUser, trust.product);
  lvw_.SetText(row, kColOwner, texts.owner);
  lvw_.SetText(row, kColRemark, texts.remark);
  listed_[p.pid] = std::move(listed);
  return true;
}

std::wstring ProcessTable::NoteOf(const std::wstring& path) const {
  auto key = path.empty() ? std::nullopt : NoteKeyFor(path, folders_.systemFolder, folders_.windowsFolder);
  return key ? common::ReadIniString(key->section, key->key, folders_.notesFile) : L"";
}

void ProcessTable::RemoveRow(DWORD pid) {
  if (int row = HaveItem(pid); row >= 0) lvw_.Remove(row);
  listed_.erase(pid);
}

void ProcessTable::CheckProcess() {
  if (!snapshot_.taken()) return;
  std::vector<DWORD> ended;
  for (const auto& [pid, listed] : listed_) {
    const ProcessInfo* p = snapshot_.Find(pid);
    if (!p || p->started != listed.started) ended.push_back(pid);
  }
  for (DWORD pid : ended) RemoveRow(pid);
  if (!ended.empty()) DropUnusedIcons();
}

void ProcessTable::RefreshPriority(DWORD pid) {
  auto it = listed_.find(pid);
  if (it == listed_.end()) return;
  ProcessHandle h{system_.Open(PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  if (h && CreateTimeOf(h.get()) == it->second.started)
    SetCell(pid, kColPriority, it->second.priority, PriorityText(GetPriorityClass(h.get())));
}

void ProcessTable::DropUnusedIcons() {
  std::unordered_set<std::wstring> paths;
  for (const auto& entry : listed_) paths.insert(entry.second.path);
  im1_.Compact(paths);
}

const ListedProcess* ProcessTable::Listed(DWORD pid) const {
  auto it = listed_.find(pid);
  return it == listed_.end() ? nullptr : &it->second;
}

std::optional<std::wstring> ProcessTable::PathOf(DWORD pid, uint64_t started) const {
  const ListedProcess* listed = Listed(pid);
  if (!listed || listed->started != started) return std::nullopt;
  return listed->path;
}

std::optional<uint64_t> ProcessTable::RowCreateTime(DWORD pid) const {
  const ListedProcess* listed = Listed(pid);
  return listed ? std::optional<uint64_t>(listed->started) : std::nullopt;
}

void ProcessTable::RemoveTrustedRows() {
  for (int row = lvw_.Count() - 1; row >= 0; --row)
    if (lvw_.Text(row, kColTrust) == kTrustedMark) RemoveRow(DWORD(common::NumberOrZero(lvw_.Key(row).substr(3))));
}

std::wstring ProcessTable::LookupProcessColumn(const std::wstring& path, int column) const {
  for (int row = 0; row < lvw_.Count(); ++row)
    if (common::EqualsNoCase(lvw_.Text(row, kColPath), path)) return lvw_.Text(row, column);
  return L"未知";
}

}  // namespace zorvix
