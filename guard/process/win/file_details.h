// What the shell shows about a file, and the file-information report built from it.
#pragma once
#include <string>

#include "guard/process/file_info.h"
#include "guard/process/win/process_table.h"

namespace zorvix {

// Size, dates, attribute letters and version texts, formatted as the shell shows them.
FileDetails ReadFileDetails(const std::wstring& path);

// The report about a file. A bare file name is first completed to the Windows or system folder and the
// completed path is written back. With the process window opened from the tray, memory and remark come
// from its selected row; otherwise the memory of the first row with this path ("未知" when none).
std::wstring BuildFileInfo(std::wstring& path, const ProcessTable& table);

}  // namespace zorvix
