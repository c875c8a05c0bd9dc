#include "guard/sibling_tools.h"

#include "common/text.h"

namespace zorvix {
namespace {
// Where the program's name ends in a tool text: after ".exe", or at its end.
size_t ProgramEnd(std::wstring_view tool) {
  size_t exe = common::FindNoCase(tool, L".exe");
  return exe == std::wstring_view::npos ? tool.size() : exe + 4;
}
}  // namespace

std::wstring SiblingProgram(std::wstring_view folder, std::wstring_view tool) {
  std::wstring_view name = tool.substr(0, ProgramEnd(tool));
  if (!name.empty() && name[0] == L'\\') name.remove_prefix(1);
  return common::WithTrailingSlash(folder) + std::wstring(name);
}

std::wstring SiblingCommand(std::wstring_view folder, std::wstring_view tool) {
  return L"\"" + SiblingProgram(folder, tool) + L"\"" + std::wstring(tool.substr(ProgramEnd(tool)));
}

}  // namespace zorvix
