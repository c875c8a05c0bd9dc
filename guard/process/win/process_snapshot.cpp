#include "guard/process/win/process_snapshot.h"

#include <winternl.h>

#include "guard/process/win/process_system.h"

namespace zorvix {
namespace {
constexpr NTSTATUS kInfoLengthMismatch = NTSTATUS(0xC0000004L);
constexpr size_t kFirstBuffer = 256 * 1024;
}  // namespace

void ProcessSnapshot::Allocate(size_t size) {
  buffer_ = std::make_unique_for_overwrite<BYTE[]>(size);
  size_ = size;
}

bool ProcessSnapshot::Take(ProcessSystem& system) {
  taken_ = false;
  list_.clear();
  index_.clear();
  if (!buffer_) Allocate(kFirstBuffer);
  NTSTATUS status = kInfoLengthMismatch;
  for (int tries = 0; tries < 8 && status == kInfoLengthMismatch; ++tries) {
    ULONG needed = 0;
    status = system.QueryProcesses(buffer_.get(), ULONG(size_), &needed);
    // Room for the processes started between the two calls as well.
    if (status == kInfoLengthMismatch) Allocate(std::max<size_t>(needed, size_) * 5 / 4);
  }
  if (status < 0) return false;
  for (size_t at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= size_;) {
    auto* e = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer_.get() + at);
    ProcessInfo p;
    p.pid = DWORD(reinterpret_cast<ULONG_PTR>(e->UniqueProcessId));
    p.started = uint64_t(e->CreateTime.QuadPart);
    p.workingSet = e->VirtualMemoryCounters.WorkingSetSize;
    p.basePriority = e->BasePriority;
    p.threads = e->NumberOfThreads;
    if (e->ImageName.Buffer) p.name = std::wstring_view(e->ImageName.Buffer, e->ImageName.Length / sizeof(wchar_t));
    index_[p.pid] = list_.size();
    list_.push_back(p);
    if (!e->NextEntryOffset) break;
    at += e->NextEntryOffset;
  }
  taken_ = true;
  return true;
}

const ProcessInfo* ProcessSnapshot::Find(DWORD pid) const {
  auto it = index_.find(pid);
  return it == index_.end() ? nullptr : &list_[it->second];
}

}  // namespace zorvix
