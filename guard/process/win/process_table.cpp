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
  std::wstring path;
  unsigned long priorityClass = 0;
};

NewProcess OpenNew(ProcessSystem& system, DWORD pid, const std::wstring& windowsFolder) {
  NewProcess n;
  ProcessHandle h{system.Open(PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  if (!h) return n;
  n.opened = true;
  n.started = CreateTimeOf(h.get());
  n.path = CheckPath(common::Trim(ProcessImagePath(h.get())), windowsFolder);
  n.priorityClass = GetPriorityClass(h.get());
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
  images().Create(lvw_.hwnd());
}

bool ProcessTable::ListProcess() {
  if (!snapshot_.Take(system_)) return false;
  priorityScale_ = PriorityScaleKnown(snapshot_);
  lvw_.PullSelection();
  ProcessRows& rows = lvw_.rows();
  bool added = false, removed = false;
  std::vector<int> changed;
  uint64_t memory = 0;
  for (const ProcessInfo& p : snapshot_.processes()) {
    int i = rows.Find(p.pid);
    if (i >= 0 && rows[i].started != p.started) {
      rows.Remove(p.pid);  // the PID now belongs to another process
      removed = true;
      i = -1;
    }
    if (i >= 0) {
      if (UpdateRow(rows[i], p)) changed.push_back(i);
    } else if (AddRow(p)) {
      added = true;
    } else {
      continue;
    }
    memory += p.workingSet;
  }
  if (added) rows.Resort();
  if (added || removed) {
    lvw_.Show();
  } else {
    for (int i : changed) lvw_.Redraw(i);
  }
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

// True when what the row shows changed.
bool ProcessTable::UpdateRow(ProcessRow& row, const ProcessInfo& p) {
  unsigned long priorityClass = priorityScale_ ? PriorityFromQuery(p) : row.priorityClass;
  bool changed = p.workingSet != row.workingSet || priorityClass != row.priorityClass;
  row.workingSet = p.workingSet;
  row.priorityClass = priorityClass;
  return changed;
}

unsigned long ProcessTable::PriorityFromQuery(const ProcessInfo& p) const {
  return PriorityClassOfBase(p.basePriority);
}

bool ProcessTable::AddRow(const ProcessInfo& p) {
  if (p.name.empty()) return false;  // the idle process: no program of its own
  NewProcess n = OpenNew(system_, p.pid, folders_.windowsFolder);
  if (n.opened && n.started != p.started) return false;  // the PID passed on since the query: next tick
  ProcessRow row;
  row.pid = p.pid;
  row.started = p.started;
  row.path = n.path;
  row.workingSet = p.workingSet;
  row.priorityClass = priorityScale_ ? PriorityFromQuery(p) : n.priorityClass;
  // A process that cannot be opened keeps the name the query gave.
  row.name = n.opened && !n.path.empty() ? DirectoryName(n.path) : std::wstring(p.name);
  if (!n.path.empty()) images().Add(n.path);
  TrustVerdict trust = n.path.empty() ? TrustVerdict{} : trust_.IsTrustedFile(n.path);
  row.trusted = trust.trusted;
  auto texts = OwnerAndRemarkFor(NoteOf(n.path), folders_.logonUser, trust.product);
  row.owner = std::move(texts.owner);
  row.remark = std::move(texts.remark);
  lvw_.rows().Add(std::move(row));
  return true;
}

std::wstring ProcessTable::NoteOf(const std::wstring& path) const {
  auto key = path.empty() ? std::nullopt : NoteKeyFor(path, folders_.systemFolder, folders_.windowsFolder);
  return key ? common::ReadIniString(key->section, key->key, folders_.notesFile) : L"";
}

void ProcessTable::CheckProcess() {
  if (!snapshot_.taken()) return;
  lvw_.PullSelection();
  size_t ended = lvw_.rows().RemoveIf([this](const ProcessRow& row) {
    const ProcessInfo* p = snapshot_.Find(row.pid);
    return !p || p->started != row.started;
  });
  if (!ended) return;
  lvw_.Show();
  DropUnusedIcons();
}

void ProcessTable::RefreshPriority(DWORD pid) {
  ProcessRows& rows = lvw_.rows();
  int i = rows.Find(pid);
  if (i < 0) return;
  ProcessHandle h{system_.Open(PROCESS_QUERY_LIMITED_INFORMATION, pid)};
  if (!h || CreateTimeOf(h.get()) != rows[i].started) return;
  rows[i].priorityClass = GetPriorityClass(h.get());
  lvw_.Redraw(i);
}

void ProcessTable::DropUnusedIcons() {
  std::unordered_set<std::wstring> paths;
  for (size_t i = 0; i < rows().size(); ++i) paths.insert(rows()[i].path);
  if (images().Compact(paths)) InvalidateRect(lvw_.hwnd(), nullptr, FALSE);
}

std::optional<std::wstring> ProcessTable::PathOf(DWORD pid, uint64_t started) const {
  const ProcessRow* row = rows().Row(pid);
  if (!row || row->started != started) return std::nullopt;
  return row->path;
}

std::optional<uint64_t> ProcessTable::RowCreateTime(DWORD pid) const {
  const ProcessRow* row = rows().Row(pid);
  return row ? std::optional<uint64_t>(row->started) : std::nullopt;
}

void ProcessTable::RemoveTrustedRows() {
  lvw_.PullSelection();
  if (lvw_.rows().RemoveIf([](const ProcessRow& row) { return row.trusted; })) lvw_.Show();
}

std::wstring ProcessTable::LookupProcessColumn(const std::wstring& path, int column) const {
  int row = rows().FindPath(path);
  return row >= 0 ? rows().Text(size_t(row), column) : L"未知";
}

}  // namespace zorvix
