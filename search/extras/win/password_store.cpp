#include "search/extras/win/password_store.h"

#include <windows.h>

#include <cstdint>

#include "common/text.h"
#include "common/win/settings_store.h"
#include "search/app.h"
#include "search/extras/win/password_crypto.h"

namespace sercavo {
namespace {
constexpr wchar_t kInstall[] = L"install", kNumber[] = L"number";
}

std::wstring PasswordSection() {
  std::wstring number = common::GetSetting(kApp, kInstall, kNumber, L"");
  if (common::NumberOrZero(number) > 0) return number;
  std::string r = PlatformCrypto::Get().Random(4);
  uint32_t n = 0;
  for (char c : r) n = n << 8 | uint8_t(c);
  if (r.size() != 4) n = GetTickCount();
  number = std::to_wstring(100000000u + n % 900000000u);
  common::SaveSetting(kApp, kInstall, kNumber, number);
  return number;
}

std::wstring ReadPasswordValue() { return common::GetSetting(kApp, PasswordSection(), L"pd", L""); }

bool WritePasswordValue(const std::wstring& value) {
  return !value.empty() && common::SaveSetting(kApp, PasswordSection(), L"pd", value);
}

bool& LoggedIn() {
  static bool loggedIn = false;
  return loggedIn;
}

}  // namespace sercavo
