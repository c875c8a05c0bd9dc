// The file "\sys\startup-backup.reg" beside the guard, to which every start-up value is added before the
// guard deletes it.
#pragma once
#include <string>

#include "guard/monitors/startup_backup.h"

namespace zorvix {

// folder: the program's folder (default: the running program's).
std::wstring StartupBackupPath(const std::wstring& folder = L"");
// Adds one value to the end of the file, which is made (UTF-16 with its mark, as the registry editor writes
// it) when it is not there. A file that cannot be read whole and written back as it was is left alone.
// False when the value was not written.
bool AppendStartupBackup(const std::wstring& file, const SavedRegValue& value);

}  // namespace zorvix
