// The start-up values the guard deletes, kept first in a file of the registry editor's import format, so that
// opening the file puts a value back as it was: its key, name, type and bytes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvix {

struct SavedRegValue {
  std::wstring key;   // root name and key path as they lie in the native view ("HKEY_CURRENT_USER\Software\...")
  std::wstring name;  // empty for the unnamed value
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

inline constexpr wchar_t kRegFileHeader[] = L"Windows Registry Editor Version 5.00";
inline constexpr wchar_t kStartupBackupFile[] = L"\\sys\\startup-backup.reg";

// The first line of a new file, with its end.
std::wstring RegFileStart();
// One value as the file holds it: a blank line, the comment as a ";" line, the key in brackets, the value.
// Text values the editor writes back byte for byte are shown as text, everything else as its bytes.
std::wstring RegFileEntry(const SavedRegValue& value, std::wstring_view comment);

}  // namespace zorvix
