// "清除所有列表": forgets every decision of the monitors, then the guard starts afresh.
#pragma once
#include <string>

#include "guard/monitors/win/monitor_host.h"

namespace zorvix {

inline constexpr wchar_t kClearAllListsCaption[] = L"清除所有列表";

// Asks first. On OK: deletes "\sys\ask.dat" and "\sys\regask.dat" in folder (default: the program's)
// and the whole settings section "FireWall", empties the lists in memory and has the guard restart.
// True when the user agreed.
bool ClearAllLists(MonitorHost& guard, const std::wstring& folder = L"");

}  // namespace zorvix
