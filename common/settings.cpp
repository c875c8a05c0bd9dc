#include "common/settings.h"

#include "common/text.h"

namespace common {

std::wstring SettingsKeyPath(std::wstring_view app, std::wstring_view section) {
  std::wstring key = L"Software\\VB and VBA Program Settings\\";
  key += app;
  key += L"\\";
  key += section;
  return key;
}

std::wstring SettingOr(const std::optional<std::wstring>& stored, std::wstring_view def) {
  return stored ? *stored : std::wstring(def);
}

long long SettingNumber(const std::optional<std::wstring>& stored) {
  return stored ? NumberOrZero(*stored) : 0;
}

}  // namespace common
