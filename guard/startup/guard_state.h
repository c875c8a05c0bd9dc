// Guard-wide flags and values, and the start-up rules that need no system.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

struct GuardState {
  bool askWindowOpen = false;      // AskWindowOpen
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

// A registry value the first run writes.
struct RegEntry {
  enum class Root { CurrentUser, ClassesRoot, LocalMachine } root;
  std::wstring key, name, data;
};
// folder: the program's folder as the system reports it (no trailing separator but at a drive root).
std::vector<RegEntry> FirstRunEntries(std::wstring_view folder);
// The four registrar command lines of the first run.
std::vector<std::wstring> RegistrarCommands(std::wstring_view folder);
// folder + "\" + file (file may start with its "\"), without doubling the separator at a drive root.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view file);
// A path quoted when it holds a blank, so that a command line cannot split it.
std::wstring QuoteIfSpaced(std::wstring_view path);

}  // namespace zorvix
