// Start-up of the search program: system folders, the first-run Explorer entries and the shields.
#pragma once
#include <string>

#include "common/win/system.h"
#include "search/engine/search_rules.h"

namespace sercavo {

// The system folders and the user, as read at start-up (common::ReadSystemPaths).
const common::SystemPaths& Paths();

// Writes the four Explorer entries that start exePath on a folder or drive; false when one failed.
bool RegisterContextMenu(const std::wstring& exePath);
// When the marker file in folder is there and long enough, registers and then deletes the marker.
// True when it registered.
bool RunFirstRun(const std::wstring& folder, const std::wstring& exePath);
ShieldFlags ReadShieldFlags();

// The whole start-up: paths, first run, shields into the search state.
void StartUp();

}  // namespace sercavo
