// The guard's shared environment, first-run setup and single-instance rule.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace zorvix {

// Writes one REG_SZ value; true on success.
using RegWriter = std::function<bool(HKEY root, const std::wstring& key, const std::wstring& name,
                                     const std::wstring& data)>;
bool WriteRegistry(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data);

// Fills the guard-wide folders and runs the first-run setup once per user.
void InitEnvironment(const RegWriter& write = WriteRegistry);
// Runs the first-run setup unless an earlier one succeeded; the start is recorded only once every
// value was written, so that a setup that failed (a standard user cannot write the machine's keys)
// is tried again at the next start.
void FirstStartIfNeeded(const RegWriter& write = WriteRegistry);
// True when every registry value was written.
bool FirstRunSetup(const RegWriter& write = WriteRegistry);
// Writes the four Explorer entries that start the search tool on a folder or drive; true when all
// four were written.
bool RegisterSearchMenu(const std::wstring& folder, const RegWriter& write = WriteRegistry);
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
