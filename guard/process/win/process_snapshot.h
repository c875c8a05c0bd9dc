// Every running process as one system query describes it: taken once a tick, so that a process the
// table already lists costs no open of its own.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zorvix {

class ProcessSystem;

struct ProcessInfo {
  DWORD pid = 0;
  uint64_t started = 0;  // create time (FILETIME ticks): with the PID it names one process for good
  uint64_t workingSet = 0;
  long basePriority = 0;
  unsigned long threads = 0;
  std::wstring_view name;  // the image's file name; points into the snapshot, valid until the next Take
};

class ProcessSnapshot {
 public:
  // One query of every process (asked again only when the kept buffer was too small). False when the
  // query failed; the last snapshot is then gone.
  bool Take(ProcessSystem& system);
  bool taken() const { return taken_; }
  const std::vector<ProcessInfo>& processes() const { return list_; }
  const ProcessInfo* Find(DWORD pid) const;

 private:
  void Allocate(size_t size);
  // Left unfilled: a resident guard should not hold pages that only the query's spare room fills.
  std::unique_ptr<BYTE[]> buffer_;
  size_t size_ = 0;
  std::vector<ProcessInfo> list_;
  std::unordered_map<DWORD, size_t> index_;
  bool taken_ = false;
};

}  // namespace zorvix
