// What the start-up monitor takes from the running guard: the trust verdicts of the process table, the
// registry allow list and the ask dialog in registry mode.
#pragma once
#include <string>

#include "guard/monitors/win/monitor_host.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/startup_monitor.h"

namespace zorvix {

// folder: where the decision list and backup files live (default: the running program's folder). A denied
// value is saved to the backup file, then deleted through deleteValue.
StartupMonitor::Hooks StartupAskHooks(MonitorHost& guard, const std::wstring& folder = L"",
                                      RegValueDelete deleteValue = RegDeleteValueW);

}  // namespace zorvix
