// What the start-up monitor takes from the running guard: the trust verdicts of the process table, the
// registry allow list and the ask dialog in registry mode.
#pragma once
#include <string>

#include "guard/monitors/win/startup_monitor.h"

namespace zorvix {

class FrmMain;
// folder: where the decision list file lives (default: the running program's folder).
StartupMonitor::Hooks StartupAskHooks(FrmMain& frm, const std::wstring& folder = L"");

}  // namespace zorvix
