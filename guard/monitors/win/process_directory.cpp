#include "guard/monitors/win/process_directory.h"

#include <winternl.h>

#include "guard/process/win/process_query.h"

namespace zorvix {
namespace {

// The head of one SYSTEM_PROCESS_INFORMATION entry, as far as the id (the layout is fixed per word
// size; winternl.h names only part of it).
struct ProcessEntryHead {
  ULONG NextEntryOffset;
  ULONG NumberOfThreads;
  LARGE_INTEGER Reserved[3];
  LARGE_INTEGER CreateTime;
  LARGE_INTEGER UserTime;
  LARGE_INTEGER KernelTime;
  UNICODE_STRING ImageName;
  LONG BasePriority;
  HANDLE UniqueProcessId;
};

constexpr NTSTATUS kInfoLengthMismatch = NTSTATUS(0xC0000004L);

using QueryFn = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);

QueryFn Query() {
  static auto fn = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  return fn;
}

// The path of a process opened for it; empty when it cannot be opened or the id has passed to another
// process since the snapshot (its path must not be filed under the old start time).
std::wstring OpenedPath(DWORD pid, uint64_t started) {
  HANDLE h = OpenForQuery(pid);
  if (!h) return L"";
  std::wstring path = StartTimeOf(h) == started ? ProcessImagePath(h) : L"";
  CloseHandle(h);
  return path;
}

}  // namespace

bool ProcessDirectory::Refresh() {
  QueryFn query = Query();
  if (!query) return false;
  if (buffer_.empty()) buffer_.resize(256 * 1024);
  ULONG needed = 0;
  NTSTATUS status = kInfoLengthMismatch;
  for (int tries = 0; tries < 4 && status == kInfoLengthMismatch; ++tries) {
    status = query(SystemProcessInformation, buffer_.data(), ULONG(buffer_.size()), &needed);
    if (status == kInfoLengthMismatch) buffer_.resize(std::max<size_t>(needed, buffer_.size()) + 64 * 1024);
  }
  if (status < 0) return false;
  running_.clear();
  for (size_t at = 0;;) {
    auto* e = reinterpret_cast<const ProcessEntryHead*>(buffer_.data() + at);
    running_[DWORD(reinterpret_cast<ULONG_PTR>(e->UniqueProcessId))] = uint64_t(e->CreateTime.QuadPart);
    if (!e->NextEntryOffset || at + e->NextEntryOffset >= buffer_.size()) break;
    at += e->NextEntryOffset;
  }
  std::erase_if(known_, [this](const auto& k) {
    auto it = running_.find(k.first);
    return it == running_.end() || it->second != k.second.id.started;
  });
  return true;
}

std::optional<OwnerProgram> ProcessDirectory::Find(DWORD pid) {
  auto run = running_.find(pid);
  if (run == running_.end()) return std::nullopt;
  auto it = known_.find(pid);
  if (it == known_.end()) {
    OwnerProgram p{{pid, run->second}, L""};
    if (auto path = knownPaths_ ? knownPaths_(pid, run->second) : std::nullopt) {
      p.path = *path;
    } else {
      ++opened_;
      p.path = OpenedPath(pid, run->second);
    }
    it = known_.emplace(pid, std::move(p)).first;
  }
  if (it->second.path.empty()) return std::nullopt;
  return it->second;
}

}  // namespace zorvix
