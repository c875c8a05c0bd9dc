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
SystemPaths& StoredPaths() {
  static SystemPaths paths;
  return paths;
}
}  // namespace

const SystemPaths& Paths() { return StoredPaths(); }

SystemPaths ReadSystemPaths() {
  SystemPaths p{common::RTrim(common::GetWindowsFolder()), common::RTrim(common::GetSystemFolder()),
                common::RTrim(common::GetLogonUser())};
  if (p.windowsFolder.size() >= 2) {
    std::wstring local =
        p.windowsFolder.substr(0, 2) + L"\\Documents and Settings\\" + p.userName + L"\\Local Settings";
    SetFileAttributesW(common::ExtendedPath(local).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  StoredPaths() = p;
  return p;
}

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
  ReadSystemPaths();
  RunFirstRun(common::AppFolder(), common::ExePath());
  State().shieldFlags = ReadShieldFlags();
}

}  // namespace sercavo
