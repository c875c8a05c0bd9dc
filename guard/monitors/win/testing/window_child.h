// Tests: the suite's child program with a window of its own, which answers messages only while its
// thread runs, so a test sees whether the program is frozen.
#pragma once
#include <windows.h>

#include <string>

#include "common/testing/win/child_process.h"
#include "guard/monitors/win/process_freeze.h"

namespace zorvix::test_support {

struct WindowChild {
  // exe: a copy of the child program (default: the program itself).
  explicit WindowChild(const std::wstring& caption, const std::wstring& exe = L"")
      : child(L"--window " + caption, exe), title(caption), answered(Responds()) {}
  HWND Window() const { return FindWindowW(L"SuiteChild", title.c_str()); }
  // A running program answers at once, but a loaded machine may keep it waiting for seconds; a frozen one
  // never answers, so that check need not wait long.
  bool Responds() const { return Answers(10000); }
  // Only a program that answered once counts as frozen when it stops answering: a window not made yet
  // answers nothing either.
  bool Frozen() const { return answered && !Answers(400); }
  bool Answers(UINT ms) const {
    DWORD_PTR r = 0;
    return SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_BLOCK, ms, &r) != 0;
  }
  ProcessIdentity Id() const { return IdentityOf(child.pid()); }
  DWORD pid() const { return child.pid(); }
  suite::ChildProcess child;
  std::wstring title;
  bool answered;  // it answered when started
};

// A copy of the child program under another name (and folder), so that it is another program.
inline std::wstring CopyOfChild(const std::wstring& path) {
  CreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
  CopyFileW((suite::BinFolder() + L"suite_child.exe").c_str(), path.c_str(), FALSE);
  return path;
}

}  // namespace zorvix::test_support
