// The Explorer entries of the suite's programs: the command that opens a path or address with a program,
// and the folder and drive menu entries that start the search tool.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/reg_entry.h"

namespace common {

// `"path" "%1"`: the program and the path or address handed to it, each quoted.
std::wstring OpenCommand(std::wstring_view exePath);
// The four entries that put "【Sercavo】" on the menus of folders and drives, each with its command.
// searchExe: the search tool's full path.
std::vector<RegEntry> SearchMenuEntries(std::wstring_view searchExe);

}  // namespace common
