// What an ask dialog takes from the running guard: the file report and the process table.
#pragma once
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/monitor_host.h"

namespace zorvix {

// The hooks every opener starts from: the file-information report, the running process of a path
// (from the guard's process table) and the signer of a file. The guard's window must outlive the
// dialogs (it closes them when it unloads).
AskHooks GuardAskHooks(MonitorHost& guard);

}  // namespace zorvix
