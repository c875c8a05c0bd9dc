#include "guard/startup/win/environment.h"

#include "common/path.h"
#include "common/win/registry.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "guard/guard_state.h"
#include "guard/startup/start_rules.h"

namespace zorvix {
namespace {
const wchar_t kSetupSection[] = L"Setup";
const wchar_t kFirstStartKey[] = L"FirstStart";
}  // namespace

std::wstring ProgramFolder() {
  std::wstring folder = common::AppFolder();
  if (folder.size() > 3) folder.pop_back();
  return folder;
}

void HideSysFolder() {
  std::wstring sys = common::ExtendedPath(common::AppFolder() + L"sys");
  SetFileAttributesW(sys.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

void InitEnvironment(const RegWriter& write) {
  GuardState& g = Guard();
  common::SystemPaths paths = common::ReadSystemPaths();
  g.windowsFolder = paths.windowsFolder;
  g.systemFolder = paths.systemFolder;
  g.logonUser = paths.userName;
  FirstStartIfNeeded(write);
}

void FirstStartIfNeeded(const RegWriter& write) {
  if (common::QuerySetting(kGuardApp, kSetupSection, kFirstStartKey)) return;
  if (FirstRunSetup(write)) common::SaveSetting(kGuardApp, kSetupSection, kFirstStartKey, L"1");
}

bool FirstRunSetup(const RegWriter& write) {
  HideSysFolder();
  std::wstring folder = ProgramFolder();
  for (auto& line : RegistrarCommands(common::GetSystemFolder(), folder))
    common::StartCommand(line, SW_SHOWMINNOACTIVE);
  return common::WriteRegEntries(FirstRunEntries(folder), write);
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
