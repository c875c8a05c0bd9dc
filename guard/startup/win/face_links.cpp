#include "guard/startup/win/face_links.h"

#include "common/win/msgbox.h"
#include "guard/monitors/program_table.h"
#include "guard/monitors/win/ask_list_files.h"
#include "guard/monitors/win/clear_lists.h"
#include "guard/monitors/win/settings_section.h"
#include "guard/process/process_actions.h"
#include "guard/process/win/file_details.h"
#include "guard/process/win/process_actions.h"
#include "guard/guard_state.h"
#include "guard/startup/win/frm_main.h"
#include "guard/startup/win/tuopan_hooks.h"

namespace zorvix {

FaceLinks FaceLinksFor(FrmMain& f) {
  FaceLinks links;
  links.processes = &f.table();
  links.endProcess = [&f](uint32_t pid, const std::wstring& name) {
    // Only the process the row shows: its PID may have passed to another one since.
    auto created = f.table().RowCreateTime(pid);
    if (!created || EndPro(pid, *created, f.system()) != EndResult::Critical) return true;
    common::MsgBox(nullptr, CriticalRefusalText(name), MB_ICONWARNING | MB_OK);
    return false;
  };
  links.processListed = [&f](uint32_t pid) { return f.table().HaveItem(pid) >= 0; };
  links.isTrusted = [&f](const std::wstring& program) { return f.trust().IsTrustedFile(program).trusted; };
  links.fileInfo = [&f](std::wstring& path) { return BuildFileInfo(path, f.table()); };
  // The buttons open the process window and the connections view just as the tray menu does.
  Tuopan::Hooks tray = TrayHooks(f);
  links.showProcessWindow = tray.showProcessWindow;
  links.openFirewallConnections = tray.openFirewall;
  links.openFirewall = [&f] { f.formfire().Open(ViewKind(f.formfire().ViewKind), false); };
  links.clearAllLists = [&f] { ClearAllLists(f); };
  links.forgetAllowedLocation = [](const std::wstring& location) {
    // A list that could not be read is not written back over its file.
    if (!LoadRegAskLists()) return false;
    return !AskLists().registry.allow.Remove(location) || SaveRegAskLists();
  };
  links.firewallRows = [] {
    ProgramTable table;
    table.UpdatePrograms(SettingsSection(kGuardApp, kFireWallSection));
    std::vector<FirewallRow> rows;
    for (const MonitoredProgram& p : table.entries()) rows.push_back({p.number, p.Name, p.Path, p.Status == kAllowed});
    return rows;
  };
  // Through the firewall, so that its run list and its table in memory follow.
  links.deleteProgram = [&f](int number, const std::wstring& path) {
    if (f.monitor().DeleteProgram(number, path)) return true;
    common::MsgBox(nullptr, ProgramGoneText(common::FileNameOf(path)), MB_ICONWARNING | MB_OK);
    return false;
  };
  links.localIp = [] { return GetLocalIP(); };
  links.icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  return links;
}

}  // namespace zorvix
