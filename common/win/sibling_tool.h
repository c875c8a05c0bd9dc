// The sibling tools the programs start from their folder by command line. None of them is part of the suite,
// so any may be missing, and a start that did nothing must not pass for one that worked.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace common {

// Whether the tool's file is there to be started; when it is not, the user is told by a message that names
// the file.
bool SiblingToolPresent(HWND owner, const std::wstring& file);
std::wstring SiblingToolMissingText(std::wstring_view file);

}  // namespace common
