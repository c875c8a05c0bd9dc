#include "guard/monitors/win/autorun_guard.h"

#include <dbt.h>

#include "guard/guard_state.h"

namespace zorvix {

bool AutorunGuard::ScanAllowed() { return !Guard().askWindowOpen && !Guard().autorunScanPaused; }

void AutorunGuard::ScanAutorunDrives() { scan_.Start(); }

void AutorunGuard::OnDeviceChange(WPARAM event, LPARAM data) {
  auto* hdr = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (event != DBT_DEVICEARRIVAL || !hdr || hdr->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
  auto roots = DriveRootsOfMask(reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data)->dbcv_unitmask);
  if (!ScanAllowed()) return;
  if (!scan_.Start(roots)) arrived_.insert(arrived_.end(), roots.begin(), roots.end());
}

void AutorunGuard::Poll() {
  if (auto found = scan_.Take()) {
    if (ScanAllowed() && !form_.loaded()) Report(*found);
  }
  if (!arrived_.empty() && !scan_.Busy()) {
    if (ScanAllowed()) scan_.Start(arrived_);
    arrived_.clear();
  }
}

void AutorunGuard::Report(const std::vector<AutorunFinding>& found) {
  for (const AutorunFinding& f : found) {
    if (!form_.Load()) return;
    form_.addlist(f.inf, f.root, f.infDeletable);
    if (f.target) form_.addlist(*f.target, f.root, f.targetDeletable);
    if (f.kind == DriveKind::Removable) form_.SetHeading(kAutorunHeadingRemovable);
  }
  if (!found.empty()) form_.Show();
}

}  // namespace zorvix
