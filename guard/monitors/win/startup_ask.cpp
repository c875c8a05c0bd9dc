#include "guard/monitors/win/startup_ask.h"

#include "guard/monitors/win/ask_hooks.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/formask.h"
#include "guard/monitors/win/run_values.h"
#include "guard/monitors/win/startup_backup.h"

namespace zorvix {

StartupMonitor::Hooks StartupAskHooks(MonitorHost& guard, const std::wstring& folder, RegValueDelete deleteValue) {
  StartupMonitor::Hooks h;
  h.isTrusted = [&guard](const std::wstring& program) { return guard.trust().IsTrustedFile(program).trusted; };
  h.allowList = [] { return AskLists().registry.allow.text(); };
  h.ask = [&guard, folder, deleteValue](const StartupItem& item, const std::wstring& program) {
    // A location allowed for this run only (its list file could not keep it) is not asked about again.
    if (AskLists().registry.allow.Contains(item.location)) return;
    AskSubject subject;
    subject.mode = AskMode::Registry;
    subject.FilePath = program;
    subject.regpath = item.location;
    AskHooks hooks = GuardAskHooks(guard);
    hooks.folder = folder;
    // The value itself, by its own fields: its name may hold a "\" and it may live in the 32-bit view.
    hooks.deleteStartupValue = [item, folder, deleteValue](const AskSubject&) {
      std::wstring backup = StartupBackupPath(folder);
      StartDelete done = DeleteStartValue(item.root, item.key, item.view, item.name, backup, deleteValue);
      return StartDeleteProblem(done, item.name.empty() ? kDefaultValueName : item.name,
                                ShownLocation(item.root, item.key, item.view, item.name), backup);
    };
    Formask::Open(std::move(subject), std::move(hooks));
  };
  return h;
}

}  // namespace zorvix
