// The installed programs as Windows registers them, and the start of their uninstall commands.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "guard/control/installed_programs.h"

namespace zorvix {

// One place programs are registered: a root, a key and the registry view it is read in.
struct UninstallSource {
  HKEY root;
  std::wstring key;
  REGSAM view;  // KEY_WOW64_64KEY or KEY_WOW64_32KEY
};
// The 64-bit machine view, the 32-bit machine view (32-bit programs on 64-bit Windows), the user's key.
std::vector<UninstallSource> UninstallSources(const std::wstring& key = kUninstallKey);

// The names of a key's subkeys, of any length; nothing when the key cannot be opened.
std::vector<std::wstring> SubkeyNames(HKEY key);
// Reads the entries of one place into the list (a key that cannot be opened adds nothing).
void ReadUninstallEntries(const UninstallSource& source, InstalledList& list);
InstalledList ReadInstalledPrograms(const std::vector<UninstallSource>& sources = UninstallSources());

// Starts an uninstall command the way Windows does: the whole text is the command line of a new
// process, with no parsing of our own. Returns the reason when it could not start.
std::optional<std::wstring> StartUninstall(const std::wstring& command);

}  // namespace zorvix
