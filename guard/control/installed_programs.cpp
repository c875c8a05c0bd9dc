#include "guard/control/installed_programs.h"

#include "common/text.h"

namespace zorvix {

bool ListedProgram(std::wstring_view displayName) {
  if (displayName.empty()) return false;
  return !common::EqualsNoCase(displayName.substr(0, 10), L"windows xp");
}

bool InstalledList::Add(InstalledProgram program) {
  if (!ListedProgram(program.name)) return false;
  // NUL cannot occur in either text, so it keeps the two parts apart.
  std::wstring identity = common::ToLower(common::Trim(program.name)) + L'\0' +
                          common::ToLower(common::Trim(program.uninstall));
  if (!seen_.insert(std::move(identity)).second) return false;
  programs_.push_back(std::move(program));
  return true;
}

}  // namespace zorvix
