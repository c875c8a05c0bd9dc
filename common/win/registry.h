// Registry access of the suite (wide calls; values of type REG_SZ unless named otherwise).
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/reg_entry.h"

namespace common {

// The platform's key of a root.
HKEY RootKey(RegRoot root);
bool WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data);
// Writes one text value; true on success. Tests stand in for a registry that refuses some writes.
using RegStringWriter = std::function<bool(HKEY root, const std::wstring& key, const std::wstring& name,
                                           const std::wstring& data)>;
// Writes every entry, going on past one that failed; true when all were written.
bool WriteRegEntries(const std::vector<RegEntry>& entries, const RegStringWriter& write = WriteRegString);
bool WriteRegDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
// Only a REG_SZ value is read, cut at its first NUL; anything else, or no value, gives empty.
std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name);
// As ReadRegString, but tells an absent value from an empty one.
std::optional<std::wstring> QueryRegString(HKEY root, const std::wstring& key, const std::wstring& name);
std::optional<DWORD> ReadRegDword(HKEY root, const std::wstring& key, const std::wstring& name);
bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Deletes a key that has no subkeys.
bool DeleteRegKey(HKEY root, const std::wstring& key);
bool RegKeyExists(HKEY root, const std::wstring& key);
// Names of the values of a key, in the registry's order.
std::vector<std::wstring> RegValueNames(HKEY root, const std::wstring& key);
std::vector<std::wstring> RegSubkeyNames(HKEY root, const std::wstring& key);

}  // namespace common
