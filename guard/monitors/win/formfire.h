// Formfire "可疑程序检测": a view of the guard's firewall, created when first shown and free to be hidden or
// destroyed at any time (the connection monitor runs in the guard's core). Its three tabs show the
// untrusted processes, the current connections and the monitored-program table.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win/ui/list_view.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"
#include "guard/monitors/tcp_source.h"
#include "guard/monitors/win/connection_monitor.h"
#include "guard/monitors/win/monitor_host.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/process/win/forminfo.h"

namespace zorvix {

// ViewKind: the tab shown.
enum ViewKind : int { kViewProcesses = 1, kViewConnections = 2, kViewPrograms = 3 };

class Formfire : public common::ui::Window {
 public:
  explicit Formfire(MonitorHost& guard);
  ~Formfire() override;

  // Creates the window hidden with its first tab.
  bool Load();
  bool loaded() const { return hwnd() != nullptr; }
  // Shows the window on a tab, top-most; with hideOnClose (exitme) closing it only hides it.
  void Open(ViewKind view, bool hideOnClose);
  // Closing: hidden while exitme is set, otherwise unloaded. The monitor runs on either way.
  void QueryUnload();
  void Unload();

  // Public operations of the window, on the guard's firewall.
  void UpdatePrograms();
  bool AddProgram(const std::wstring& path, int block);
  // The entry the row shows (its number and path); false when it is gone.
  bool DeleteProgram(int index, const std::wstring& path);
  ConnectionMonitor& monitor();
  SettingsSection& store();
  // The table changed (here or in another view): the program tab is read again.
  void ProgramsChanged();
  // The firewall's switches changed: the menu and the box show them.
  void ShowSwitches();

  // The controls' actions.
  void SelectTab(ViewKind view);  // a tab of Tap chosen
  void CmdClick(int index);       // cmd(0..2)
  void ToolbarClick(const std::wstring& key);
  void ChkClick();
  void SetFirewall(bool on);  // menus "启用防火墙" / "禁止防火墙"
  void RowClick(POINT client);
  void Timer1Tick();
  void RefreshList();

  int ViewKind = kViewProcesses;
  bool exitme = false;
  bool FillList = false;

  common::ui::ListView& lvw() { return lvw_; }
  common::ui::StatusBar& sbr() { return sbr_; }
  HWND tap() const { return tap_; }
  HWND cmd(int index) const { return cmd_[index]; }
  HWND chk() const { return chk_; }
  HWND notice() const { return notice_; }
  HWND toolbar() const { return toolbar_; }
  HMENU menu() const { return menu_; }
  HACCEL accel() const { return accel_; }
  Forminfo& forminfo() { return forminfo_; }
  // Ids of the menu items and of the command that shows the window as the tray does.
  enum : int {
    kIdEnable = 2001,
    kIdDisable,
    kIdFolder,
    kIdEnd,
    kIdExit,
    kIdHelp,
    kIdAbout,
    kIdNextTab,
    kIdPrevTab,
    kIdRefresh,
    kIdShowFromTray = 2100
  };

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateControls();
  void CreateMenu();
  void CreateToolbar();
  void Layout();
  void OnCommand(int id);
  void OnNotify(NMHDR* hdr);
  void ShowCount();
  void FillProcesses();
  void FillPrograms();
  void EndSelected();
  void DeleteSelected();
  std::wstring SelectedPath() const;
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  void ShowNotice();

  MonitorHost& frm_;
  common::ui::ListView lvw_;
  common::ui::StatusBar sbr_;
  common::ui::ImageList icons_;    // the program and connection tabs' own icons
  std::vector<Connection> shown_;  // the rows of the connections tab, by tag
  Forminfo forminfo_;
  HWND tap_ = nullptr, chk_ = nullptr, toolbar_ = nullptr, notice_ = nullptr;
  HWND cmd_[3] = {};
  HMENU menu_ = nullptr;
  HACCEL accel_ = nullptr;
  HBRUSH yellow_ = nullptr;
  POINT pressAt_{-1, -1};
};

}  // namespace zorvix
