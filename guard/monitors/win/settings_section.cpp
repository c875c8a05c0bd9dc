#include "guard/monitors/win/settings_section.h"

#include "common/win/settings_store.h"

namespace zorvix {

std::optional<std::wstring> SettingsSection::Get(const std::wstring& key) const {
  return common::QuerySetting(app_, section_, key);
}

bool SettingsSection::Set(const std::wstring& key, const std::wstring& value) {
  return common::SaveSetting(app_, section_, key, value);
}

bool SettingsSection::Remove(const std::wstring& key) { return common::DeleteSetting(app_, section_, key); }

bool SettingsSection::Clear() { return common::DeleteSettingSection(app_, section_); }

}  // namespace zorvix
