// The guard's shared environment, first-run setup and single-instance rule.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/registry.h"

namespace zorvix {

using RegWriter = common::RegStringWriter;

// Fills the guard-wide folders and runs the first-run setup once per user.
void InitEnvironment(const RegWriter& write = common::WriteRegString);
// Runs the first-run setup unless an earlier one succeeded; the start is recorded only once every
// value was written, so that a setup that failed (a standard user cannot write the machine's keys)
// is tried again at the next start.
void FirstStartIfNeeded(const RegWriter& write = common::WriteRegString);
// True when every registry value was written: the start-up value and the search tool's Explorer entries.
bool FirstRunSetup(const RegWriter& write = common::WriteRegString);
// The program's folder as the system reports it: no trailing separator except at a drive root.
std::wstring ProgramFolder();
// Sets hidden + system on the program's "sys" folder.
void HideSysFolder();

// Holds the guard's instance lock; false when another instance already holds it.
class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  bool first() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = false;
};

}  // namespace zorvix
