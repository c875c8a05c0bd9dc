#include "guard/process/win/process_table.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <unordered_set>

#include "common/path.h"
#include "common/text.h"
#include "common/win/shell_icon.h"
#include "common/win/system.h"
#include "guard/process/process_rules.h"
#include "guard/process/win/process_query.h"

namespace zorvix {
namespace {

uint64_t WorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{sizeof pmc};
  return GetProcessMemoryInfo(process, &pmc, sizeof pmc) ? pmc.WorkingSetSize : 0;
}

// The file's name as the directory holds it (hidden and system files included); empty when missing.
std::wstring DirectoryName(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileExW(common::ExtendedPath(path).c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                              nullptr, 0);
  if (h == INVALID_HANDLE_VALUE) return L"";
  FindClose(h);
  return fd.cFileName;
}

bool Alive(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

HANDLE OpenForQuery(ProcessSystem& system, DWORD pid) {
  HANDLE h = system.Open(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, pid);
  return h ? h : system.Open(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, pid);
}

}  // namespace

void ProcessTable::Init(const GuardFolders& folders) {
  folders_ = folders;
  im1_.Create(lvw_.hwnd());
}

bool ProcessTable::ListProcess() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return false;
  bool added = false;
  long long count = 0;
  uint64_t memory = 0;
  seen_.clear();
  PROCESSENTRY32W pe{sizeof pe};
  for (BOOL more = Process32FirstW(snap, &pe); more; more = Process32NextW(snap, &pe)) {
    ++count;
    ProcessHandle process{OpenForQuery(system_, pe.th32ProcessID)};
    if (!process) continue;
    uint64_t started = CreateTimeOf(process.get());
    seen_[pe.th32ProcessID] = started;
    int row = HaveItem(pe.th32ProcessID);
    if (row >= 0 && started_[pe.th32ProcessID] != started) {
      lvw_.Remove(row);  // the PID now belongs to another process
      row = -1;
    }
    uint64_t ws = WorkingSet(process.get());
    if (row >= 0) {
      memory += ws;
      UpdateRow(row, process.get(), ws);
      continue;
    }
    std::wstring path = CheckPath(common::Trim(ProcessImagePath(process.get())), folders_.windowsFolder);
    if (path.empty()) continue;
    memory += ws;
    started_[pe.th32ProcessID] = started;
    AddRow(pe.th32ProcessID, process.get(), path, ws);
    added = true;
  }
  CloseHandle(snap);
  if (added) lvw_.Resort();
  if (count != lastCount_) {
    sbr_.SetText(0, L"系统进程数目：" + std::to_wstring(count));
    lastCount_ = count;
  }
  if (memory != lastMemory_) {
    sbr_.SetText(1, L"已用内存：" + GetUsedMemoryMB() + L" MB");
    lastMemory_ = memory;
  }
  return added;
}

void ProcessTable::UpdateRow(int row, HANDLE process, uint64_t workingSet) {
  lvw_.SetText(row, kColMemory, MemoryText(workingSet));
  lvw_.SetText(row, kColPriority, PriorityText(GetPriorityClass(process)));
}

void ProcessTable::AddRow(DWORD pid, HANDLE process, const std::wstring& path, uint64_t workingSet) {
  int row = lvw_.Add(KeyOf(pid), DirectoryName(path), im1_.Add(path));
  if (row < 0) return;
  lvw_.SetText(row, kColPid, std::to_wstring(pid));
  UpdateRow(row, process, workingSet);
  lvw_.SetText(row, kColPath, path);
  TrustVerdict trust = trust_.IsTrustedFile(path);
  lvw_.SetText(row, kColTrust, trust.trusted ? kTrustedMark : kUntrustedMark);
  auto texts = OwnerAndRemarkFor(NoteOf(path), folders_.logonUser, trust.product);
  lvw_.SetText(row, kColOwner, texts.owner);
  lvw_.SetText(row, kColRemark, texts.remark);
}

std::wstring ProcessTable::NoteOf(const std::wstring& path) const {
  auto key = NoteKeyFor(path, folders_.systemFolder, folders_.windowsFolder);
  return key ? common::ReadIniString(key->section, key->key, folders_.notesFile) : L"";
}

void ProcessTable::CheckProcess() {
  for (int row = lvw_.Count() - 1; row >= 0; --row) {
    DWORD pid = DWORD(common::NumberOrZero(lvw_.Key(row).substr(3)));
    // Seen alive by this tick's snapshot a moment ago: no second open needed.
    if (auto it = seen_.find(pid); it != seen_.end() && it->second == started_[pid]) continue;
    ProcessHandle process{OpenForQuery(system_, pid)};
    if (process && Alive(process.get()) && CreateTimeOf(process.get()) == started_[pid]) continue;
    lvw_.Remove(row);
    started_.erase(pid);
  }
  seen_.clear();  // only the snapshot just taken may stand in for an open
  DropUnusedIcons();
}

void ProcessTable::DropUnusedIcons() {
  std::unordered_set<std::wstring> listed;
  for (int row = 0; row < lvw_.Count(); ++row) listed.insert(lvw_.Text(row, kColPath));
  im1_.Compact(listed);
}

std::optional<uint64_t> ProcessTable::RowCreateTime(DWORD pid) const {
  if (HaveItem(pid) < 0) return std::nullopt;
  auto it = started_.find(pid);
  return it == started_.end() ? std::nullopt : std::optional<uint64_t>(it->second);
}

void ProcessTable::RemoveTrustedRows() {
  for (int row = lvw_.Count() - 1; row >= 0; --row)
    if (lvw_.Text(row, kColTrust) == kTrustedMark) {
      started_.erase(DWORD(common::NumberOrZero(lvw_.Key(row).substr(3))));
      lvw_.Remove(row);
    }
}

std::wstring ProcessTable::LookupProcessColumn(const std::wstring& path, int column) const {
  for (int row = 0; row < lvw_.Count(); ++row)
    if (common::EqualsNoCase(lvw_.Text(row, kColPath), path)) return lvw_.Text(row, column);
  return L"未知";
}

}  // namespace zorvix
