// What the monitors' windows and hooks reach in the running guard (its frame implements it): the
// process table, the trust verdicts, the firewall and the guard's restart.
#pragma once
#include <windows.h>

#include "common/win/ui/status_bar.h"
#include "guard/monitors/win/connection_monitor.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/process/win/process_table.h"
#include "guard/process/win/trust.h"

namespace zorvix {

class Formfire;

class MonitorHost {
 public:
  // The guard's window, owner of the monitors' message boxes.
  virtual HWND frame() const = 0;
  virtual ProcessTable& table() = 0;
  virtual TrustChecker& trust() = 0;
  // The firewall: its connection monitor and program table, its stored settings and its window.
  virtual ConnectionMonitor& monitor() = 0;
  virtual SettingsSection& fireStore() = 0;
  virtual Formfire& formfire() = 0;
  // FirewallEnabled and "断开网络", shown by every view that shows them.
  virtual void SetFirewall(bool on) = 0;
  virtual void SetNetworkCut(bool on) = 0;
  // The guard's status bar (process count, memory, CPU load).
  virtual common::ui::StatusBar& sbr() = 0;
  // The next tick unloads the guard, which then starts again.
  virtual void RequestRestart() = 0;

 protected:
  ~MonitorHost() = default;
};

}  // namespace zorvix
