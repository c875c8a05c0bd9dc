// Guard-wide flags and values: the open ask windows, the switches every part reads, the guard's names.
#pragma once
#include <string>

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

}  // namespace zorvix
