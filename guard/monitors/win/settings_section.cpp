#include "guard/monitors/win/settings_section.h"

#include <windows.h>

#include "common/settings.h"
#include "common/text.h"
#include "common/win/settings_store.h"

namespace zorvix {

std::optional<std::wstring> SettingsSection::Get(const std::wstring& key) const {
  return common::QuerySetting(app_, section_, key);
}

bool SettingsSection::Set(const std::wstring& key, const std::wstring& value) {
  return common::SaveSetting(app_, section_, key, value);
}

bool SettingsSection::Remove(const std::wstring& key) { return common::DeleteSetting(app_, section_, key); }

std::vector<std::pair<std::wstring, std::wstring>> SettingsSection::All() const {
  std::vector<std::pair<std::wstring, std::wstring>> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, common::SettingsKeyPath(app_, section_).c_str(), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return values;
  DWORD maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData, nullptr,
                   nullptr);
  std::wstring name(maxName + 1, L'\0');
  std::vector<BYTE> data(maxData + sizeof(wchar_t));
  int remeasured = 0;
  for (DWORD i = 0;; ++i) {
    DWORD nameChars = DWORD(name.size()), bytes = DWORD(data.size()), type = 0;
    LONG rc = RegEnumValueW(key, i, name.data(), &nameChars, nullptr, &type, data.data(), &bytes);
    if (rc == ERROR_MORE_DATA && ++remeasured < 8) {  // a value grew since the key was measured: measure again
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                       nullptr, nullptr);
      name.assign(maxName + 1, L'\0');
      data.assign(maxData + sizeof(wchar_t), 0);
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    if (type != REG_SZ) continue;
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), bytes / sizeof(wchar_t));
    values.emplace_back(name.substr(0, nameChars), common::CutAtNul(text));
  }
  RegCloseKey(key);
  return values;
}

bool SettingsSection::Clear() { return common::DeleteSettingSection(app_, section_); }

}  // namespace zorvix
