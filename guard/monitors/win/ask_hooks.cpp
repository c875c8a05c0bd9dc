#include "guard/monitors/win/ask_hooks.h"

#include "guard/process/process_actions.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/signer_process.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix {

AskHooks GuardAskHooks(FrmMain& frm) {
  AskHooks h;
  h.fileInfo = [&frm](std::wstring& path) { return BuildFileInfo(path, frm.table()); };
  h.findProcess = [&frm](const std::wstring& path) {
    int row = frm.table().rows().FindPath(path);
    uint32_t pid = row >= 0 ? frm.table().rows()[row].pid : 0;
    return pid ? IdentityOf(pid) : ProcessIdentity{};
  };
  h.signer = GuardSignerOf;
  return h;
}

}  // namespace zorvix
