// The live process table of the process window: rows added, updated and removed once a tick.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "common/win/ui/list_view.h"
#include "common/win/ui/status_bar.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/row_icons.h"
#include "guard/process/win/trust.h"

namespace zorvix {

enum Column { kColName, kColPid, kColMemory, kColOwner, kColTrust, kColPriority, kColPath, kColRemark };

struct GuardFolders {
  std::wstring windowsFolder, systemFolder, logonUser, notesFile;
};

class ProcessTable {
 public:
  // The list view must share its image lists (LVS_SHAREIMAGELISTS): the table owns them.
  ProcessTable(common::ui::ListView& lvw, common::ui::StatusBar& sbr, TrustChecker& trust,
               ProcessSystem& system = RealProcessSystem())
      : lvw_(lvw), sbr_(sbr), trust_(trust), system_(system) {}
  void Init(const GuardFolders& folders);
  // Adds rows for new processes and updates known ones; true when a row was added.
  bool ListProcess();
  // Removes the rows of processes that have ended.
  void CheckProcess();
  // Row of a PID, or -1.
  int HaveItem(DWORD pid) const { return lvw_.Find(KeyOf(pid)); }
  // Removes every row marked trusted (the trust filter).
  void RemoveTrustedRows();
  // The given column of the first row whose path equals path ignoring case; "未知" when none.
  std::wstring LookupProcessColumn(const std::wstring& path, int column) const;
  // When the listed process of a PID started; nullopt when no row has that PID.
  std::optional<uint64_t> RowCreateTime(DWORD pid) const;
  RowIcons& images() { return im1_; }
  static std::wstring KeyOf(DWORD pid) { return L"ID:" + std::to_wstring(pid); }

 private:
  void AddRow(DWORD pid, HANDLE process, const std::wstring& path, uint64_t workingSet);
  void UpdateRow(int row, HANDLE process, uint64_t workingSet);
  std::wstring NoteOf(const std::wstring& path) const;
  void DropUnusedIcons();

  common::ui::ListView& lvw_;
  common::ui::StatusBar& sbr_;
  TrustChecker& trust_;
  ProcessSystem& system_;
  RowIcons im1_;
  GuardFolders folders_;
  // Start time of each listed PID, so that a reused PID is seen as a new process.
  std::unordered_map<DWORD, uint64_t> started_;
  // Processes the last snapshot found alive, with their start times.
  std::unordered_map<DWORD, uint64_t> seen_;
  long long lastCount_ = -1;
  uint64_t lastMemory_ = UINT64_MAX;
};

}  // namespace zorvix
