#include "guard/startup/start_rules.h"

#include "common/explorer_entries.h"
#include "common/path.h"
#include "common/text.h"

namespace zorvix {
namespace {
// Stored and started bare unless a blank would split them, as the guard always wrote them.
std::wstring Bare(std::wstring_view path) { return common::QuoteArg(path, common::Quoting::WhenNeeded); }
}  // namespace

bool StartsHiddenAndLocked(std::wstring_view commandLine) {
  auto n = common::ParseNumber(commandLine);
  return !n || *n == 1.0;
}

std::vector<common::RegEntry> FirstRunEntries(std::wstring_view folder) {
  std::vector<common::RegEntry> entries{{common::RegRoot::CurrentUser,
                                         L"software\\microsoft\\windows\\currentversion\\run", L"safe",
                                         Bare(common::JoinPath(folder, L"\\zorvix.exe"))}};
  for (common::RegEntry& e : common::SearchMenuEntries(common::JoinPath(folder, L"\\sercavo.exe")))
    entries.push_back(std::move(e));
  return entries;
}

std::vector<std::wstring> RegistrarCommands(std::wstring_view systemFolder, std::wstring_view folder) {
  std::vector<std::wstring> lines;
  std::wstring registrar = Bare(common::JoinPath(systemFolder, L"regsvr32.exe"));
  for (const wchar_t* file : {L"\\COMDLG32.OCX", L"\\MSCOMCTL.OCX", L"\\MSWINSCK.OCX", L"\\MSINET.OCX"})
    lines.push_back(registrar + L"  /s " + Bare(common::JoinPath(folder, file)));
  return lines;
}

}  // namespace zorvix
