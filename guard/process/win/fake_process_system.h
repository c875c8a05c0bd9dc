// Tests' process system: the real one, with its opens and queries counted. It can let another process
// answer to a PID (as when a PID is reused: opens of the PID reach the other process, and the query
// lists the other process under the PID), refuse to open PIDs, give processes other base priorities in
// the query, and mark processes critical.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <map>
#include <set>

#include "guard/process/win/process_system.h"

namespace zorvix::testing {

struct FakeSystem : ProcessSystem {
  HANDLE Open(DWORD access, DWORD pid) override {
    ++opens;
    if (refused.count(pid)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    auto it = standIns.find(pid);
    return ProcessSystem::Open(access, it == standIns.end() ? pid : it->second);
  }
  LONG QueryProcesses(void* buffer, ULONG size, ULONG* needed) override {
    ++queries;
    LONG status = ProcessSystem::QueryProcesses(buffer, size, needed);
    if (status >= 0) Rewrite(static_cast<BYTE*>(buffer), size);
    return status;
  }
  bool IsCritical(HANDLE process) override { return critical || ProcessSystem::IsCritical(process); }

  int opens = 0, queries = 0;
  std::map<DWORD, DWORD> standIns;  // PID -> PID of the process that answers to it now
  std::set<DWORD> refused;
  std::map<DWORD, LONG> basePriorities;  // PID -> base priority the query gives
  bool critical = false;

 private:
  void Rewrite(BYTE* buffer, ULONG size) const {
    for (ULONG at = 0; at + sizeof(SYSTEM_PROCESS_INFORMATION) <= size;) {
      auto* e = reinterpret_cast<SYSTEM_PROCESS_INFORMATION*>(buffer + at);
      DWORD pid = DWORD(reinterpret_cast<ULONG_PTR>(e->UniqueProcessId));
      if (auto it = basePriorities.find(pid); it != basePriorities.end()) e->BasePriority = it->second;
      for (const auto& [listedAs, real] : standIns)
        if (pid == listedAs) e->UniqueProcessId = reinterpret_cast<HANDLE>(ULONG_PTR(0xFFFFFFF0));  // gone
        else if (pid == real) e->UniqueProcessId = reinterpret_cast<HANDLE>(ULONG_PTR(listedAs));
      if (!e->NextEntryOffset) break;
      at += e->NextEntryOffset;
    }
  }
};

}  // namespace zorvix::testing
