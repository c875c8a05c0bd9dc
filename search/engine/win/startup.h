// Start-up of the search program: system folders, the first-run Explorer entries and the shields.
#pragma once
#include <string>

#include "search/engine/search_rules.h"

namespace sercavo {

struct SystemPaths {
  std::wstring windowsFolder, systemFolder, userName;
};
// Reads the folders and the user and makes the old per-user settings folder visible (errors ignored).
SystemPaths ReadSystemPaths();
const SystemPaths& Paths();

// Writes the four Explorer entries that start exePath on a folder or drive; false when one failed.
bool RegisterContextMenu(const std::wstring& exePath);
// When the marker file in folder is there and long enough, registers and then deletes the marker.
// True when it registered.
bool RunFirstRun(const std::wstring& folder, const std::wstring& exePath);
ShieldFlags ReadShieldFlags();

// The whole start-up: paths, first run, shields into the search state.
void StartUp();

}  // namespace sercavo
