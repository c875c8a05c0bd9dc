// Shell file operations on result rows and the shared folder picker.
#pragma once
#include <windows.h>

#include <string>

namespace sercavo {

enum class FileOp { Copy = 0, Move = 1, Rename = 2, Delete = 3 };
FileOp FileOpOfKind(int kind);  // anything unknown is a copy

// One operation without confirmation or undo (a deletion does not go to the recycle bin). True only when it
// succeeded: the shell reported no error and nothing was aborted. Paths too long for the shell's dialogs
// are handled by the file calls directly.
bool ShellFileOperation(FileOp op, const std::wstring& source, const std::wstring& destination);
bool PathExists(const std::wstring& path);

// The shell's folder dialog owned by owner; the chosen folder with a trailing "\", or "\" alone when cancelled.
std::wstring BrowseForFolder(HWND owner);

}  // namespace sercavo
