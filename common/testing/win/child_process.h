// Child processes for tests: the suite's harmless test program, started, found and ended.
#pragma once
#include <windows.h>

#include <string>

namespace suite {

// Folder of the built programs (where the test binaries run from).
std::wstring BinFolder();

class ChildProcess {
 public:
  // Starts exe (default: the test program) with the given arguments; no wait.
  explicit ChildProcess(const std::wstring& args = L"", const std::wstring& exe = L"");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool started() const { return pi_.hProcess != nullptr; }
  DWORD pid() const { return pi_.dwProcessId; }
  HANDLE handle() const { return pi_.hProcess; }
  bool Running() const;
  // Waits up to ms for the process to end.
  bool WaitExit(DWORD ms) const;
  void Kill();

 private:
  PROCESS_INFORMATION pi_{};
};

// Runs the message loop for about ms milliseconds, so that timers and posted messages are handled.
void PumpFor(DWORD ms);
// Pumps until pred() holds or ms passes; returns pred().
template <typename P>
bool PumpUntil(P pred, DWORD ms) {
  DWORD end = GetTickCount() + ms;
  while (!pred()) {
    if (GetTickCount() > end) return pred();
    PumpFor(20);
  }
  return true;
}

}  // namespace suite
