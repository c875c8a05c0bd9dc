// The guard's shared environment, first-run setup and single-instance rule.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix {

// Fills the guard-wide folders and runs the first-run setup once per user.
void InitEnvironment();
void FirstRunSetup();
// Writes the four Explorer entries that start the search tool on a folder or drive.
void RegisterSearchMenu(const std::wstring& folder);
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
