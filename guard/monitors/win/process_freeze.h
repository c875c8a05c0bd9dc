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

// One process held still for as long as the object lives. The guard attaches to it as its debugger and
// answers none of its debug events, with kill-on-exit off: if the guard ends in any way, the system
// detaches it and the program runs on. A program the guard cannot attach to (one being debugged already)
// has its threads suspended instead, which only the guard's own resume undoes. The process handle it
// holds keeps the id from passing to another process, so the resume cannot reach a stranger.
class FrozenProcess {
 public:
  // Null when the program may not be frozen, is not the named process any more, or nothing stopped it.
  static std::unique_ptr<FrozenProcess> Freeze(const ProcessIdentity& id);
  ~FrozenProcess();
  FrozenProcess(const FrozenProcess&) = delete;
  FrozenProcess& operator=(const FrozenProcess&) = delete;
  const ProcessIdentity& id() const { return id_; }
  // Held by the debug attachment, which outlives the guard's end in no case.
  bool releasedWithTheGuard() const { return debugged_; }
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
  bool debugged_ = false;
  std::vector<HANDLE> threads_;  // each suspended once by us
};

}  // namespace zorvix
