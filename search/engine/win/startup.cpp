#include "search/engine/win/startup.h"

#include <windows.h>

#include "common/explorer_entries.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "search/engine/search_state.h"

namespace sercavo {

namespace {
common::SystemPaths& StoredPaths() {
  static common::SystemPaths paths;
  return paths;
}
}  // namespace

const common::SystemPaths& Paths() { return StoredPaths(); }

bool RegisterContextMenu(const std::wstring& exePath) {
  return common::WriteRegEntries(common::SearchMenuEntries(exePath));
}

bool RunFirstRun(const std::wstring& folder, const std::wstring& exePath) {
  std::wstring marker = common::WithTrailingSlash(folder) + L"first.dat";
  if (common::FileSize(marker) < kFirstRunMinBytes) return false;
  RegisterContextMenu(exePath);
  DeleteFileW(common::ExtendedPath(marker).c_str());
  return true;
}

ShieldFlags ReadShieldFlags() {
  ShieldFlags flags;
  for (int slot = 0; slot < 5; ++slot)
    flags[slot] = common::GetSetting(kApp, L"set", std::to_wstring(slot) + L"sou", L"0");
  return flags;
}

void StartUp() {
  StoredPaths() = common::ReadSystemPaths();
  RunFirstRun(common::AppFolder(), common::ExePath());
  State().shieldFlags = ReadShieldFlags();
}

}  // namespace sercavo
