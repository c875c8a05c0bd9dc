// frmMain "系统进程管理": the process window, whose load brings the guard up and whose unload ends it.
#pragma once
#include <memory>
#include <string>

#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "guard/control/win/formface.h"
#include "guard/monitors/win/autorun_guard.h"
#include "guard/monitors/win/connection_monitor.h"
#include "guard/monitors/win/formfire.h"
#include "guard/monitors/win/monitor_host.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/monitors/win/startup_monitor.h"
#include "guard/process/win/cpu_meter.h"
#include "guard/process/win/process_commands.h"
#include "guard/process/win/process_host.h"
#include "guard/process/win/process_list.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/process_table.h"
#include "guard/process/win/signer_process.h"
#include "guard/process/win/trust.h"
#include "guard/startup/win/environment.h"
#include "guard/startup/win/tuopan.h"

namespace zorvix {

// The registered message by which another program (the suite's uninstaller and setup) asks the running
// guard to end as "软件退出" ends it: every window unloaded, every frozen program resumed.
inline constexpr wchar_t kUnloadRequestMessage[] = L"ZorvixSafe.Guard.Unload";

class FrmMain : public common::ui::Window, public ProcessHost, public MonitorHost {
 public:
  explicit FrmMain(TrustChecker::SignerCheck check = GuardSignerOf, ProcessSystem& system = RealProcessSystem());
  // Runs the load steps in order. False when the guard must end at once (another instance runs).
  bool Load(const std::wstring& commandLine);
  // The heartbeat, one tick of Timer1.
  void Timer1Tick();
  // The check box "隐藏通过数字签名认证的进程" was clicked (or set by code).
  void ChkClick();
  void SetChk(bool on) override;
  bool Chk() const;
  bool TimerRunning() const { return timerOn_; }

  HWND frame() const override { return hwnd(); }
  ProcessTable& table() override { return table_; }
  ProcessList& lvw() override { return lvw_; }
  common::ui::StatusBar& sbr() override { return sbr_; }
  TrustChecker& trust() override { return trust_; }
  ProcessSystem& system() override { return system_; }
  void RefreshTable() override { ListChanged = table_.ListProcess() || ListChanged; }
  // Menu bar, buttons, list mouse, lock and Forminfo.
  ProcessCommands& commands() { return commands_; }
  HWND cmd(int index) const { return cmd_[index]; }
  HWND chk() const { return chk_; }
  Tuopan& tuopan() { return tuopan_; }
  AutorunGuard& autorun() { return autorun_; }
  Formfire& formfire() override { return formfire_; }
  // The firewall: the connection monitor and its table run from load to unload, whatever its window does.
  ConnectionMonitor& monitor() override { return monitor_; }
  SettingsSection& fireStore() override { return fireStore_; }
  // Replaces the system's TCP tables (tests).
  void SetTcpSource(std::unique_ptr<TcpSource> source);
  // FirewallEnabled and "断开网络", shown by the firewall window's menu and box and by the tray tip.
  void SetFirewall(bool on) override;
  void SetNetworkCut(bool on) override;
  // One poll of the connection monitor (its 200 ms timer).
  void FirewallTick();
  StartupMonitor& startup() { return startup_; }
  Formface& formface() { return formface_; }

  // Unloads the guard as soon as the menu or sender that asked has returned.
  void RequestUnload();
  // The next tick unloads the guard, which then starts again (after its lists were cleared).
  void RequestRestart() override { restart_ = unloadme = true; }
  bool restartRequested() const { return restart_; }

  bool unloadme = false;
  bool ListChanged = false;
  bool RegBusy = false;
  std::wstring NotesFile;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  void CreateControls();
  void CreateColumns();
  void TellListFileProblems();
  void StartFirewall();
  void ShowFirewallState();
  void Centre();
  void Layout();
  void QueryUnload();
  void Unload();
  void StartTimer(bool on);
  void OnNotify(NMHDR* hdr);
  void OnCommand(int id, int code);

  std::unique_ptr<SingleInstance> instance_;
  ProcessSystem& system_;
  TrustChecker trust_;
  ProcessList lvw_;
  common::ui::StatusBar sbr_;
  ProcessTable table_;
  CpuMeter cpu_;
  HWND chk_ = nullptr;
  HWND cmd_[4] = {};
  HWND tip_ = nullptr;
  ProcessCommands commands_{*this};
  Tuopan tuopan_;
  AutorunGuard autorun_;
  std::unique_ptr<TcpSource> tcpSource_;
  SettingsSection fireStore_{kGuardApp, kFireWallSection};
  ConnectionMonitor monitor_;
  Formfire formfire_{*this};
  StartupMonitor startup_;
  Formface formface_;
  bool restart_ = false;
  bool timerOn_ = false;
  bool inTick_ = false;
  int ticks_ = 0;
};

}  // namespace zorvix
