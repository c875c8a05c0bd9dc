// The live process table of the process window: rows added, updated and removed once a tick, from one
// query of every process; only a process not listed yet is opened.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "common/win/ui/list_view.h"
#include "common/win/ui/status_bar.h"
#include "guard/process/win/process_snapshot.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/row_icons.h"
#include "guard/process/win/trust.h"

namespace zorvix {

enum Column { kColName, kColPid, kColMemory, kColOwner, kColTrust, kColPriority, kColPath, kColRemark };

struct GuardFolders {
  std::wstring windowsFolder, systemFolder, logonUser, notesFile;
};

// A listed process as the table knows it: its identity, its program and the texts shown for it.
struct ListedProcess {
  uint64_t started = 0;
  std::wstring path;  // empty when the process could not be opened
  uint64_t workingSet = 0;
  std::wstring memory, priority;
};

class ProcessTable {
 public:
  // The list view must share its image lists (LVS_SHAREIMAGELISTS): the table owns them.
  ProcessTable(common::ui::ListView& lvw, common::ui::StatusBar& sbr, TrustChecker& trust,
               ProcessSystem& system = RealProcessSystem())
      : lvw_(lvw), sbr_(sbr), trust_(trust), system_(system) {}
  void Init(const GuardFolders& folders);
  // Takes the tick's snapshot, adds rows for new processes and updates known ones; true when a row
  // was added.
  bool ListProcess();
  // Removes the rows of processes that have ended (gone from the snapshot, or their PID reused).
  void CheckProcess();
  // Row of a PID, or -1.
  int HaveItem(DWORD pid) const { return lvw_.Find(KeyOf(pid)); }
  // Removes every row marked trusted (the trust filter).
  void RemoveTrustedRows();
  // Reads a listed process's priority again (after the user changed it).
  void RefreshPriority(DWORD pid);
  // The given column of the first row whose path equals path ignoring case; "未知" when none.
  std::wstring LookupProcessColumn(const std::wstring& path, int column) const;
  // When the listed process of a PID started; nullopt when no row has that PID.
  std::optional<uint64_t> RowCreateTime(DWORD pid) const;
  // The listed process of a PID, as of the last tick; nullptr when none.
  const ListedProcess* Listed(DWORD pid) const;
  // The path of a listed process (PID and start time; "" when it could not be opened); nullopt when
  // the table does not list that process.
  std::optional<std::wstring> PathOf(DWORD pid, uint64_t started) const;
  RowIcons& images() { return im1_; }
  static std::wstring KeyOf(DWORD pid) { return L"ID:" + std::to_wstring(pid); }

 private:
  bool AddRow(const ProcessInfo& p);
  void UpdateRow(DWORD pid, ListedProcess& listed, const ProcessInfo& p);
  void SetCell(DWORD pid, int column, std::wstring& shown, std::wstring text);
  void RemoveRow(DWORD pid);
  std::wstring PriorityFromQuery(const ProcessInfo& p) const;
  std::wstring NoteOf(const std::wstring& path) const;
  void DropUnusedIcons();
  void ShowTotals(size_t count, uint64_t memory);

  common::ui::ListView& lvw_;
  common::ui::StatusBar& sbr_;
  TrustChecker& trust_;
  ProcessSystem& system_;
  RowIcons im1_;
  GuardFolders folders_;
  ProcessSnapshot snapshot_;
  // Whether the query's base priorities name priority classes on this system (told by our own).
  bool priorityScale_ = false;
  std::unordered_map<DWORD, ListedProcess> listed_;
  long long lastCount_ = -1;
  uint64_t lastMemory_ = UINT64_MAX;
};

}  // namespace zorvix
