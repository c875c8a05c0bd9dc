// The files of a drive the autorun guard reads.
#pragma once
#include <optional>
#include <string>

namespace zorvix {

// The command text of an "autorun.inf" (AutorunCommand), read in its own form as far as its first
// "open"/"shell" line, whatever its size. Blocking: for the scan's worker thread.
std::optional<std::wstring> ReadAutorunCommand(const std::wstring& inf);

}  // namespace zorvix
