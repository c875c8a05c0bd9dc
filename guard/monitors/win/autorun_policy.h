// The machine-wide values the autorun guard writes.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix {

inline constexpr wchar_t kShowAllKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL";
inline constexpr wchar_t kExplorerPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Writes a DWORD under HKEY_LOCAL_MACHINE; false when the write was refused, as it is without
// administrator rights.
bool WritePolicyDword(const std::wstring& key, const std::wstring& name, DWORD value);

}  // namespace zorvix
