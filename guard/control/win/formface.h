// Formface: the guard's control centre. A tab strip of seven pages over one list (the first page shows a
// text instead), an action button that follows the page, and the buttons and menus that open the guard's
// other windows and tools.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/win/ui/list_view.h"
#include "common/win/ui/window.h"
#include "guard/control/face_pages.h"
#include "guard/control/installed_programs.h"
#include "guard/control/switches.h"
#include "guard/control/win/switch_registry.h"
#include "guard/control/win/uninstall_entries.h"
#include "guard/monitors/startup_monitor.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/startup_backup.h"
#include "guard/process/win/forminfo.h"
#include "guard/process/win/process_table.h"

namespace zorvix {

// A row of the firewall's program table as the "net" page shows it.
struct FirewallRow {
  int number;  // the entry's number in the table
  std::wstring name, path;
  bool allowed;
};

// What the control centre reaches in the rest of the guard. Each is optional: a missing one leaves its
// page empty or its command without effect.
struct FaceLinks {
  // The process window's table; its untrusted rows (texts and icons) make the "system" page.
  const ProcessTable* processes = nullptr;
  // Ends a process; false when it was refused or failed (the user has been told).
  std::function<bool(uint32_t pid, const std::wstring& name)> endProcess;
  // Whether a process is still listed by the process window.
  std::function<bool(uint32_t pid)> processListed;
  std::function<bool(const std::wstring& program)> isTrusted;
  // The file-information report of a path (Forminfo).
  Forminfo::ReportBuilder fileInfo;
  std::function<void()> showProcessWindow;
  // Opens the firewall window: on its connections tab, hiding on close, from the button; as it is, from
  // the menu.
  std::function<void()> openFirewallConnections;
  std::function<void()> openFirewall;
  std::function<void()> clearAllLists;
  // Drops an allowed start-up location from the registry decision list and rewrites its file.
  std::function<bool(const std::wstring& location)> forgetAllowedLocation;
  std::function<std::vector<FirewallRow>()> firewallRows;
  // The entry the row shows (number and path); false when it is gone (the user has been told).
  std::function<bool(int number, const std::wstring& path)> deleteProgram;
  std::function<std::optional<std::wstring>()> localIp;
  std::vector<WatchedLocation> startupLocations = WatchedLocations();
  // Saves a start-up value to the backup file, then deletes it in the view it was read in.
  std::wstring startupBackup = StartupBackupPath();
  std::function<StartDelete(const RunValue& value, const std::wstring& backupFile)> deleteStartValue =
      [](const RunValue& v, const std::wstring& backupFile) {
        return DeleteStartValue(v.root, v.key, v.view, v.name, backupFile);
      };
  std::vector<UninstallSource> uninstallSources = UninstallSources();
  SwitchRegistry registry = SwitchRegistry::Real();
  // Starts a command line without waiting; false when it could not start.
  std::function<bool(const std::wstring& commandLine)> start;
  std::function<bool(const std::wstring& file)> shellOpen;
  HICON icon = nullptr;
};

class Formface : public common::ui::Window {
 public:
  // Command ids of the menus, buttons and shortcuts.
  enum Id : int {
    kIdTap = 100, kIdList, kIdHelp, kIdCommand4, kIdCommand5, kIdCommand6, kIdCmd0,  // cmd(0..3) follow
    kMnuExit = 300, kMnuDelete, kMnuFolder, kMnuRefresh, kMnuCopy,
    kMnuProcess, kMnuFirewall, kMnuMonitor, kMnuClearAll, kMnuLocalIp, kMnuWanIp,
    kMnuHelp, kMnuAbout, kKeyNextPage, kKeyPrevPage,
  };

  explicit Formface(FaceLinks links);
  ~Formface() override;

  // Creates the window (hidden) when it does not exist.
  bool Load(HWND owner = nullptr);
  // Loads the window, selects a page and shows it in front.
  void Open(int position = 1);
  void Unload();
  bool loaded() const { return hwnd() != nullptr; }

  // Tap_Click: rebuilds the list for the page at this position (1 to 7).
  void SelectTab(int position);
  PageType pageType() const { return page_; }
  void Command4Click();
  void Command5Click();
  void Command6Click() { SelectTab(int(page_)); }
  void CmdClick(int index);
  void MenuCommand(int id);
  void CopyList();
  void ShowLocalIp();
  // One tick of Timer1: rows of processes that have ended leave the "system" page.
  void Timer1Tick();

  // The start-up page: loadreg lists the values through the value lister; readtolvw adds one.
  void loadreg();
  void readtolvw(const RunValue& value);

  // The repair page's ticks (row 1 to 7).
  bool Ticked(int row) const;
  void SetTicked(int row, bool on);

  common::ui::ListView& lvw() { return lvw_; }
  HWND tap() const { return tap_; }
  HWND texhelp() const { return texhelp_; }
  HWND command4() const { return command4_; }
  HWND cmd(int index) const { return cmd_[index]; }
  HMENU menu() const { return menu_; }
  Forminfo& forminfo() { return forminfo_; }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  void CreateControls();
  void BuildMenu();
  void Layout();
  void ShowPage(const FacePage& page);
  void FillPage();
  void FillProcesses();
  void FillFirewall();
  void FillInstalled();
  void FillSwitches();
  void KillProcess(int row);
  void DeleteStartEntry(int row);
  void DeleteFirewallEntry(int row);
  void Uninstall(int row);
  void ApplySwitchPage();
  void OnNotify(NMHDR* hdr);
  void OnCommand(int id, int code);
  void ShowForminfo(POINT client);
  void StartTool(const wchar_t* tool);
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  int KeyNumber(int row) const;
  // The program a row names (for the folder view and the file information), or empty.
  std::wstring RowProgram(int row) const;
  // Asks; true on OK while the window still stands.
  bool Confirm(const std::wstring& question);
  int AddRow(const std::wstring& key, const std::vector<std::wstring>& texts, int image = -1);
  int CopiedIcon(const RowIcons& icons, const std::wstring& path);
  int IconFor(const std::wstring& path);

  FaceLinks links_;
  PageType page_ = PageType::Home;
  HWND tap_ = nullptr, texhelp_ = nullptr, command4_ = nullptr, command5_ = nullptr, command6_ = nullptr;
  HWND cmd_[4] = {};
  HMENU menu_ = nullptr;
  HACCEL accel_ = nullptr;
  common::ui::ListView lvw_;
  common::ui::ImageList images_;
  Forminfo forminfo_;
  POINT pressAt_{-1, -1};
  // What the rows of the current page stand for, by the number in their key.
  std::map<int, RunValue> startValues_;
  std::map<int, InstalledProgram> programs_;
  bool busy_ = false;  // a command that lets messages run is under way
};

}  // namespace zorvix
