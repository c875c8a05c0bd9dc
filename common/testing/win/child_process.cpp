#include "common/testing/win/child_process.h"

#include "common/path.h"
#include "common/win/system.h"

namespace suite {

std::wstring BinFolder() { return common::AppFolder(); }

ChildProcess::ChildProcess(const std::wstring& args, const std::wstring& exe) {
  std::wstring program = exe.empty() ? BinFolder() + L"suite_child.exe" : exe;
  std::wstring line = common::QuoteArg(program) + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
    pi_ = {};
  if (pi_.hProcess) WaitForInputIdle(pi_.hProcess, 5000);
}

ChildProcess::~ChildProcess() {
  Kill();
  if (pi_.hThread) CloseHandle(pi_.hThread);
  if (pi_.hProcess) CloseHandle(pi_.hProcess);
}

bool ChildProcess::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ChildProcess::WaitExit(DWORD ms) const {
  return !pi_.hProcess || WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0;
}

void ChildProcess::Kill() {
  if (Running()) {
    TerminateProcess(pi_.hProcess, 1);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
}

void PumpFor(DWORD ms) {
  DWORD end = GetTickCount() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    DWORD now = GetTickCount();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

}  // namespace suite
