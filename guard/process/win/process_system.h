// The guard's one way to query and open other processes, so that tests can count opens and queries,
// stand in for a PID that was reused, refuse an open, or mark a process critical.
#pragma once
#include <windows.h>

#include <cstdint>

namespace zorvix {

class ProcessSystem {
 public:
  virtual ~ProcessSystem() = default;
  virtual HANDLE Open(DWORD access, DWORD pid);
  // One system query of every process (SystemProcessInformation) into the buffer: the NTSTATUS, with
  // the size it needs when the buffer is too small.
  virtual LONG QueryProcesses(void* buffer, ULONG size, ULONG* needed);
  // Whether the system marks the process critical: ending it stops the whole system at once.
  virtual bool IsCritical(HANDLE process);
};
ProcessSystem& RealProcessSystem();
// Whether the process of a PID is marked critical (false when it cannot be opened).
bool IsCriticalProcess(DWORD pid, ProcessSystem& system = RealProcessSystem());

// When the process started (FILETIME ticks); 0 when it cannot be read. With the PID it names one
// process for good: a PID is reused once its process has ended, a start time is not.
uint64_t CreateTimeOf(HANDLE process);

// Closes a process handle when it goes out of scope.
class ProcessHandle {
 public:
  explicit ProcessHandle(HANDLE h = nullptr) : h_(h) {}
  ~ProcessHandle() {
    if (h_) CloseHandle(h_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_;
};

}  // namespace zorvix
