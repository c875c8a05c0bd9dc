// The registry's root keys as pure code names them, and a value to write under one. common/win/registry.h
// maps a root to the platform's key.
#pragma once
#include <string>

namespace common {

enum class RegRoot { LocalMachine, CurrentUser, ClassesRoot, Users };
// "HKEY_LOCAL_MACHINE\", "HKEY_CURRENT_USER\", ...
std::wstring RootName(RegRoot root);

// A text value (REG_SZ) to write; an empty name is the key's unnamed value.
struct RegEntry {
  RegRoot root;
  std::wstring key, name, data;
};

}  // namespace common
