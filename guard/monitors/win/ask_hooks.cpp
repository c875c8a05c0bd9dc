#include "guard/monitors/win/ask_hooks.h"

#include "guard/process/process_actions.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/signer_process.h"

namespace zorvix {

AskHooks GuardAskHooks(MonitorHost& guard) {
  AskHooks h;
  h.fileInfo = [&guard](std::wstring& path) { return BuildFileInfo(path, guard.table()); };
  h.findProcess = [&guard](const std::wstring& path) {
    const ProcessRows& rows = guard.table().rows();
    int row = rows.FindPath(path);
    uint32_t pid = row >= 0 ? rows[row].pid : 0;
    return pid ? IdentityOf(pid) : ProcessIdentity{};
  };
  h.signer = GuardSignerOf;
  return h;
}

}  // namespace zorvix
