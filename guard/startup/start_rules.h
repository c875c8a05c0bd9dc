// The guard's start-up rules that need no system: its command line and what its first run writes and starts.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/reg_entry.h"

namespace zorvix {

// The command line starts the guard hidden and locked when it is 1, empty or not a number at all.
bool StartsHiddenAndLocked(std::wstring_view commandLine);

// The values the first run writes: the guard's start-up value, then the Explorer entries of the search
// tool beside it. folder: the program's folder as the system reports it (no trailing separator but at a
// drive root).
std::vector<common::RegEntry> FirstRunEntries(std::wstring_view folder);
// The four registrar command lines of the first run; the registrar is named by its full path in the
// system folder.
std::vector<std::wstring> RegistrarCommands(std::wstring_view systemFolder, std::wstring_view folder);

}  // namespace zorvix
