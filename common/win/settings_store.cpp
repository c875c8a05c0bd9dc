#include "common/win/settings_store.h"

#include "common/settings.h"
#include "common/win/registry.h"

namespace common {

std::optional<std::wstring> QuerySetting(const std::wstring& app, const std::wstring& section,
                                         const std::wstring& key) {
  return QueryRegString(HKEY_CURRENT_USER, SettingsKeyPath(app, section), key);
}

std::wstring GetSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                        const std::wstring& def) {
  return SettingOr(QuerySetting(app, section, key), def);
}

long long GetSettingNumber(const std::wstring& app, const std::wstring& section, const std::wstring& key) {
  return SettingNumber(QuerySetting(app, section, key));
}

bool SaveSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                 const std::wstring& value) {
  return WriteRegString(HKEY_CURRENT_USER, SettingsKeyPath(app, section), key, value);
}

bool DeleteSetting(const std::wstring& app, const std::wstring& section, const std::wstring& key) {
  return DeleteRegValue(HKEY_CURRENT_USER, SettingsKeyPath(app, section), key);
}

bool DeleteSettingSection(const std::wstring& app, const std::wstring& section) {
  return DeleteRegKey(HKEY_CURRENT_USER, SettingsKeyPath(app, section));
}

}  // namespace common
