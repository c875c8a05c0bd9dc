#include "guard/startup/win/environment.h"

#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "guard/startup/guard_state.h"

namespace zorvix {
namespace {
const wchar_t kSetupSection[] = L"Setup";
const wchar_t kFirstStartKey[] = L"FirstStart";

HKEY RootOf(RegEntry::Root r) {
  switch (r) {
    case RegEntry::Root::CurrentUser: return HKEY_CURRENT_USER;
    case RegEntry::Root::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegEntry::Root::LocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}
}  // namespace

std::wstring ProgramFolder() {
  std::wstring folder = common::AppFolder();
  if (folder.size() > 3) folder.pop_back();
  return folder;
}

void HideSysFolder() {
  SetFileAttributesW((common::AppFolder() + L"sys").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

void InitEnvironment() {
  GuardState& g = Guard();
  g.windowsFolder = common::GetWindowsFolder();
  g.systemFolder = common::GetSystemFolder();
  g.logonUser = common::GetLogonUser();
  std::wstring localSettings =
      g.windowsFolder.substr(0, 2) + L"\\Documents and Settings\\" + g.logonUser + L"\\Local Settings";
  SetFileAttributesW(localSettings.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!common::QuerySetting(kGuardApp, kSetupSection, kFirstStartKey)) {
    FirstRunSetup();
    common::SaveSetting(kGuardApp, kSetupSection, kFirstStartKey, L"1");
  }
}

void FirstRunSetup() {
  HideSysFolder();
  std::wstring folder = ProgramFolder();
  for (auto& line : RegistrarCommands(folder)) common::StartCommand(line, SW_SHOWMINNOACTIVE);
  auto entries = FirstRunEntries(folder);
  common::WriteRegString(RootOf(entries[0].root), entries[0].key, entries[0].name, entries[0].data);
  RegisterSearchMenu(folder);
}

void RegisterSearchMenu(const std::wstring& folder) {
  auto entries = FirstRunEntries(folder);
  for (size_t i = 1; i < entries.size(); ++i)
    common::WriteRegString(RootOf(entries[i].root), entries[i].key, entries[i].name, entries[i].data);
}

SingleInstance::SingleInstance() {
  // A named mutex is taken atomically, so two guards started at the same moment cannot both win.
  mutex_ = CreateMutexW(nullptr, TRUE, L"Local\\ZorvixSafe.Guard.SingleInstance");
  first_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (mutex_) {
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

}  // namespace zorvix
