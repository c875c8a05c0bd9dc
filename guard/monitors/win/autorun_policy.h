// The machine-wide values the autorun guard writes, and the one report of a refused write.
#pragma once
#include <windows.h>

#include <string>

namespace zorvix {

inline constexpr wchar_t kShowAllKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL";
inline constexpr wchar_t kExplorerPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Writes a DWORD under HKEY_LOCAL_MACHINE. Without administrator rights the write is refused; the first
// refusal of a run is told to the user, later ones are not repeated. False when the write failed.
bool WritePolicyDword(const std::wstring& key, const std::wstring& name, DWORD value);
// Forgets that a refusal was told (tests).
void ResetPolicyReport();

}  // namespace zorvix
