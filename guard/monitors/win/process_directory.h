// The program of a process id: one snapshot of the running processes a scan, and a path opened once
// per process (id and start time). Stands in for the process table's own look-up by id.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "guard/monitors/win/process_freeze.h"
#include "guard/process/win/process_snapshot.h"

namespace zorvix {

struct OwnerProgram {
  ProcessIdentity id;
  std::wstring path;
};

class ProcessDirectory {
 public:
  // Takes the snapshot: the ids and start times of the processes running now. False when it failed.
  bool Refresh();
  // The program of a process of the last snapshot; nullopt when it is not in it or has no image path.
  std::optional<OwnerProgram> Find(DWORD pid);
  size_t opened() const { return opened_; }
  // Where paths are known without an open: the path of a process (id and start time), "" for one
  // known to have none, nullopt when unknown. Only a process it does not know is opened.
  using KnownPaths = std::function<std::optional<std::wstring>(DWORD pid, uint64_t started)>;
  void UseKnownPaths(KnownPaths known) { knownPaths_ = std::move(known); }

 private:
  ProcessSnapshot running_;
  std::unordered_map<DWORD, OwnerProgram> known_;  // paths found, by id, valid for the same start time
  KnownPaths knownPaths_;
  size_t opened_ = 0;
};

}  // namespace zorvix
