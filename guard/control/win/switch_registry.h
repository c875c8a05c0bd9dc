// Applying the system switches to the registry, and reading back whether row 7's entries are on.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "guard/control/switches.h"

namespace zorvix {

// The registry calls of the switches. The real ones write where the table says; tests stand in for a
// registry that refuses a write, as Windows does for a standard user under HKEY_LOCAL_MACHINE.
struct SwitchRegistry {
  std::function<bool(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value)> writeDword;
  std::function<bool(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& text)>
      writeString;
  std::function<std::optional<std::wstring>(HKEY root, const std::wstring& key, const std::wstring& name)> readString;
  static SwitchRegistry Real();
};

// Writes every value of the ticked rows (row 7 both ways); returns the rows of which a write failed,
// each once, in row order.
std::vector<int> ApplySwitches(const std::array<bool, kSwitchRows>& ticked, const SwitchRegistry& registry);
// Whether the "Copy To" and "Move To" entries are both on the context menu now.
bool ContextEntriesOn(const SwitchRegistry& registry);

}  // namespace zorvix
