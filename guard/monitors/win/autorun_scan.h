// Examining drives for "autorun.inf", away from the window thread: a drive that does not answer must
// not freeze the guard.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "guard/monitors/autorun_rules.h"

namespace zorvix {

struct AutorunFinding {
  std::wstring root;                   // "U:\"
  DriveKind kind;
  std::wstring inf;                    // root + "autorun.inf"
  bool infDeletable = false;           // CleanerMayDelete, decided here: the drive may be slow to answer
  std::optional<std::wstring> target;  // what the file starts, as a full path
  bool targetDeletable = false;
};

// Every drive root ("C:\") in upper case.
std::vector<std::wstring> LogicalDriveRoots();
// The roots of the drives set in a unit mask (bit 0 = A:).
std::vector<std::wstring> DriveRootsOfMask(DWORD unitMask);
// Looks at one drive; blocking. Nothing when it is not scanned or holds no autorun file.
std::optional<AutorunFinding> ExamineDrive(const std::wstring& root);

// One scan at a time on a worker thread; its results are taken on the window thread.
class AutorunScan {
 public:
  using Examiner = std::function<std::optional<AutorunFinding>(const std::wstring& root)>;
  explicit AutorunScan(Examiner examine = ExamineDrive) : examine_(std::move(examine)) {}
  // Starts examining the given drives (all when empty); false while the previous scan still runs.
  bool Start(std::vector<std::wstring> roots = {});
  bool Busy() const;
  // The findings of a finished scan, once.
  std::optional<std::vector<AutorunFinding>> Take();

 private:
  struct State;
  Examiner examine_;
  std::shared_ptr<State> state_;
};

}  // namespace zorvix
