// The command lines of the sibling tools the tray and the control centre start from the guard's folder.
#pragma once
#include <string>
#include <string_view>

namespace zorvix {

// The command line of a sibling tool in the program's folder: tool is "\name.exe" with its arguments after
// a blank; the program's path is quoted, so that a folder with blanks cannot split it.
std::wstring SiblingCommand(std::wstring_view folder, std::wstring_view tool);
// The program file that command line starts, unquoted.
std::wstring SiblingProgram(std::wstring_view folder, std::wstring_view tool);

}  // namespace zorvix
