// The removable-drive autorun guard: the scan every tenth tick and on a drive's arrival, and the alert.
#pragma once
#include <windows.h>

#include <vector>

#include "guard/monitors/win/autorun_scan.h"
#include "guard/monitors/win/formautorun.h"

namespace zorvix {

class AutorunGuard {
 public:
  // ScanAutorunDrives: starts examining every drive; the findings are shown by a later Poll.
  void ScanAutorunDrives();
  // WM_DEVICECHANGE: a drive that arrives is examined at once.
  void OnDeviceChange(WPARAM event, LPARAM data);
  // Shows the alert for what a finished scan found. Runs on every tick of the main timer.
  void Poll();
  // No scan starts while an ask or alert window is open or the user put the scans off.
  static bool ScanAllowed();

  FormAutoRun& form() { return form_; }
  bool scanning() const { return scan_.Busy(); }

 private:
  void Report(const std::vector<AutorunFinding>& found);
  AutorunScan scan_;
  std::vector<std::wstring> arrived_;  // drives that arrived while a scan was running
  FormAutoRun form_;
};

}  // namespace zorvix
