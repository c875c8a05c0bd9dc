// Guard-wide flags and values, and the start-up rules that need no system.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/reg_entry.h"

namespace zorvix {

// How many ask or alert windows are open. Polls, start-up asks and autorun scans wait while any is, so
// the first window to close must not let them run while another is still waiting for an answer.
class WindowCount {
 public:
  void Raise() { ++count_; }
  void Lower() {
    if (count_ > 0) --count_;
  }
  int count() const { return count_; }
  explicit operator bool() const { return count_ > 0; }

 private:
  int count_ = 0;
};

// Counts one open window from construction until Release or destruction, exactly once.
class OpenWindowMark {
 public:
  explicit OpenWindowMark(WindowCount& count) : count_(&count) { count_->Raise(); }
  OpenWindowMark(const OpenWindowMark&) = delete;
  OpenWindowMark& operator=(const OpenWindowMark&) = delete;
  ~OpenWindowMark() { Release(); }
  void Release() {
    if (count_) count_->Lower();
    count_ = nullptr;
  }

 private:
  WindowCount* count_;
};

struct GuardState {
  WindowCount askWindowOpen;       // AskWindowOpen
  bool firewallEnabled = true;     // FirewallEnabled
  bool autorunScanPaused = false;  // AutorunScanPaused
  bool shownFromTray = false;      // ShownFromTray
  int scanLimit = 9;               // ScanLimit
  std::wstring windowsFolder, systemFolder, logonUser;
};
GuardState& Guard();

inline constexpr wchar_t kGuardApp[] = L"ZorvixSafe";
inline constexpr wchar_t kGuardTitle[] = L"Zorvix安全卫士";
inline constexpr wchar_t kMainCaption[] = L"系统进程管理";

// The command line starts the guard hidden and locked when it is 1, empty or not a number at all.
bool StartsHiddenAndLocked(std::wstring_view commandLine);

// The values the first run writes: the guard's start-up value, then the Explorer entries of the search
// tool beside it. folder: the program's folder as the system reports it (no trailing separator but at a
// drive root).
std::vector<common::RegEntry> FirstRunEntries(std::wstring_view folder);
// The four registrar command lines of the first run; the registrar is named by its full path in the
// system folder.
std::vector<std::wstring> RegistrarCommands(std::wstring_view systemFolder, std::wstring_view folder);
// folder + "\" + file (file may start with its "\"), without doubling the separator at a drive root.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view file);
// A path quoted when it holds a blank, so that a command line cannot split it.
std::wstring QuoteIfSpaced(std::wstring_view path);

}  // namespace zorvix
