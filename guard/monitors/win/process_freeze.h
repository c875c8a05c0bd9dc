// Freezing a program while the user decides about it: every thread suspended, and resumed exactly once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace zorvix {

// A process as the monitors name it: its id and its start time, so that a reused id is not taken
// for the process that had it before.
struct ProcessIdentity {
  DWORD pid = 0;
  uint64_t started = 0;  // creation time (FILETIME ticks); 0 when unknown
  bool operator==(const ProcessIdentity&) const = default;
};

uint64_t StartTimeOf(HANDLE process);
// The identity of a running process; pid 0 when it cannot be opened.
ProcessIdentity IdentityOf(DWORD pid);
// True when the process runs and is the one named (an unknown start time matches any).
bool IsRunning(const ProcessIdentity& id);

// Programs that must never be frozen: the guard itself, the idle and system processes (0 and 4), and
// any process Windows marks critical (freezing one hangs the system).
bool MayFreeze(DWORD pid);

// The threads of one process, suspended for as long as the object lives. The process handle it holds
// keeps the id from passing to another process, so the resume cannot reach a stranger.
class FrozenProcess {
 public:
  // Null when the program may not be frozen, is not the named process any more, or no thread stopped.
  static std::unique_ptr<FrozenProcess> Freeze(const ProcessIdentity& id);
  ~FrozenProcess();
  FrozenProcess(const FrozenProcess&) = delete;
  FrozenProcess& operator=(const FrozenProcess&) = delete;
  const ProcessIdentity& id() const { return id_; }
  // How many frozen processes the guard holds now.
  static int Count();

 private:
  FrozenProcess() = default;
  // Suspends every thread of the process once; the handles of those that stopped.
  static std::vector<HANDLE> SuspendProcess(DWORD pid);
  // Resumes and closes the threads SuspendProcess stopped.
  static void ResumeProcess(std::vector<HANDLE>& threads);
  ProcessIdentity id_;
  HANDLE process_ = nullptr;
  std::vector<HANDLE> threads_;  // each suspended once by us
};

}  // namespace zorvix
