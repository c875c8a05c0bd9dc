// Rules of the per-user settings store: where a section lives and how values read.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Registry key, under HKEY_CURRENT_USER, that holds one section of one application's settings.
std::wstring SettingsKeyPath(std::wstring_view app, std::wstring_view section);
// A stored value read with a default: the default when the value is absent.
std::wstring SettingOr(const std::optional<std::wstring>& stored, std::wstring_view def);
// A numeric read: absent or non-numeric gives 0.
long long SettingNumber(const std::optional<std::wstring>& stored);

}  // namespace common
