#include "guard/monitors/win/ask_hooks.h"

#include "guard/process/process_actions.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/signer_process.h"
#include "guard/startup/win/frm_main.h"

namespace zorvix {

AskHooks GuardAskHooks(FrmMain& frm) {
  AskHooks h;
  h.fileInfo = [&frm](std::wstring& path) { return BuildFileInfo(path, frm.table(), frm.lvw()); };
  h.findProcess = [&frm](const std::wstring& path) {
    uint32_t pid = PidOf(frm.table().LookupProcessColumn(path, kColPid));
    return pid ? IdentityOf(pid) : ProcessIdentity{};
  };
  h.signer = GuardSignerOf;
  return h;
}

}  // namespace zorvix
