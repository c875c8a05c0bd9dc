#include "guard/monitors/win/process_freeze.h"

#include <tlhelp32.h>

#include "guard/process/win/process_actions.h"

namespace zorvix {
namespace {
int g_frozen = 0;
constexpr DWORD kIdlePid = 0, kSystemPid = 4;
}  // namespace

uint64_t StartTimeOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

ProcessIdentity IdentityOf(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) return {};
  ProcessIdentity id{pid, StartTimeOf(h)};
  CloseHandle(h);
  return id;
}

bool IsRunning(const ProcessIdentity& id) {
  if (id.pid == 0) return false;
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id.pid);
  if (!h) return false;
  bool same = WaitForSingleObject(h, 0) == WAIT_TIMEOUT && (id.started == 0 || StartTimeOf(h) == id.started);
  CloseHandle(h);
  return same;
}

bool MayFreeze(DWORD pid) {
  return pid != kIdlePid && pid != kSystemPid && pid != GetCurrentProcessId() && !IsCriticalProcess(pid);
}

std::unique_ptr<FrozenProcess> FrozenProcess::Freeze(const ProcessIdentity& id) {
  if (!MayFreeze(id.pid)) return nullptr;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id.pid);
  if (!process) return nullptr;
  std::unique_ptr<FrozenProcess> frozen(new FrozenProcess);
  frozen->process_ = process;
  frozen->id_ = {id.pid, StartTimeOf(process)};
  if ((id.started && frozen->id_.started != id.started) || WaitForSingleObject(process, 0) != WAIT_TIMEOUT)
    return nullptr;
  if (DebugActiveProcess(id.pid)) {
    DebugSetProcessKillOnExit(FALSE);  // the guard's end, of any kind, lets the program go
    frozen->debugged_ = true;
  } else {
    frozen->threads_ = SuspendProcess(id.pid);
    if (frozen->threads_.empty()) return nullptr;
  }
  ++g_frozen;
  return frozen;
}

FrozenProcess::~FrozenProcess() {
  if (debugged_ || !threads_.empty()) --g_frozen;
  if (debugged_) DebugActiveProcessStop(id_.pid);
  ResumeProcess(threads_);
  if (process_) CloseHandle(process_);
}

std::vector<HANDLE> FrozenProcess::SuspendProcess(DWORD pid) {
  std::vector<HANDLE> threads;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return threads;
  THREADENTRY32 te{sizeof te};
  for (BOOL more = Thread32First(snap, &te); more; more = Thread32Next(snap, &te)) {
    if (te.th32OwnerProcessID != pid) continue;
    HANDLE t = OpenThread(THREAD_SUSPEND_RESUME, FALSE, te.th32ThreadID);
    if (t && SuspendThread(t) != DWORD(-1))
      threads.push_back(t);
    else if (t)
      CloseHandle(t);
  }
  CloseHandle(snap);
  return threads;
}

// The very handles that were suspended are resumed: a fresh thread list could hold threads started
// since, which were never stopped by us.
void FrozenProcess::ResumeProcess(std::vector<HANDLE>& threads) {
  for (HANDLE t : threads) {
    ResumeThread(t);
    CloseHandle(t);
  }
  threads.clear();
}

int FrozenProcess::Count() { return g_frozen; }

}  // namespace zorvix
