// The live process table of the process window: rows added, updated and removed once a tick, from one
// query of every process; only a process not listed yet is opened. The rows live in the list's model.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/win/ui/status_bar.h"
#include "guard/process/process_rows.h"
#include "guard/process/win/process_list.h"
#include "guard/process/win/process_snapshot.h"
#include "guard/process/win/process_system.h"
#include "guard/process/win/row_icons.h"
#include "guard/process/win/trust.h"

namespace zorvix {

struct GuardFolders {
  std::wstring windowsFolder, systemFolder, logonUser, notesFile;
};

class ProcessTable {
 public:
  ProcessTable(ProcessList& lvw, common::ui::StatusBar& sbr, TrustChecker& trust,
               ProcessSystem& system = RealProcessSystem())
      : lvw_(lvw), sbr_(sbr), trust_(trust), system_(system) {}
  void Init(const GuardFolders& folders);
  // Takes the tick's snapshot, adds rows for new processes and updates known ones; true when a row
  // was added.
  bool ListProcess();
  // Removes the rows of processes that have ended (gone from the snapshot, or their PID reused).
  void CheckProcess();
  // Row of a PID, or -1.
  int HaveItem(DWORD pid) const { return rows().Find(pid); }
  // Removes every row marked trusted (the trust filter).
  void RemoveTrustedRows();
  // Reads a listed process's priority again (after the user changed it).
  void RefreshPriority(DWORD pid);
  // The given column of the first row whose path equals path ignoring case; "未知" when none.
  std::wstring LookupProcessColumn(const std::wstring& path, int column) const;
  // When the listed process of a PID started; nullopt when no row has that PID.
  std::optional<uint64_t> RowCreateTime(DWORD pid) const;
  // The path of a listed process (PID and start time; "" when it could not be opened); nullopt when
  // the table does not list that process.
  std::optional<std::wstring> PathOf(DWORD pid, uint64_t started) const;
  const ProcessRows& rows() const { return lvw_.rows(); }
  // The row the user selected in the list, or nullptr.
  const ProcessRow* SelectedRow() const { return lvw_.SelectedRow(); }
  RowIcons& images() { return lvw_.icons(); }
  const RowIcons& images() const { return lvw_.icons(); }
  static std::wstring KeyOf(DWORD pid) { return L"ID:" + std::to_wstring(pid); }

 private:
  bool AddRow(const ProcessInfo& p);
  bool UpdateRow(ProcessRow& row, const ProcessInfo& p);
  unsigned long PriorityFromQuery(const ProcessInfo& p) const;
  std::wstring NoteOf(const std::wstring& path) const;
  void DropUnusedIcons();
  void ShowTotals(size_t count, uint64_t memory);

  ProcessList& lvw_;
  common::ui::StatusBar& sbr_;
  TrustChecker& trust_;
  ProcessSystem& system_;
  GuardFolders folders_;
  ProcessSnapshot snapshot_;
  // Whether the query's base priorities name priority classes on this system (told by our own).
  bool priorityScale_ = false;
  long long lastCount_ = -1;
  uint64_t lastMemory_ = UINT64_MAX;
};

}  // namespace zorvix
