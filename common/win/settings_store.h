// The per-user settings store: string values by application, section and key.
#pragma once
#include <optional>
#include <string>

namespace common {

std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                        const std::wstring& def = L"");
// Absent or non-numeric gives 0.
long long GetSettingNumber(const std::wstring& app, const std::wstring& section, const std::wstring& key);
std::optional<std::wstring> QuerySetting(const std::wstring& app, const std::wstring& section,
                                         const std::wstring& key);
bool SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value);
bool DeleteSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key);
// Removes the whole section.
bool DeleteSettingSection(const std::wstring& app, const std::wstring& section);

}  // namespace common
