// Shell file operations on result rows and the shared folder picker.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace sercavo {

enum class FileOp { Copy = 0, Move = 1, Rename = 2, Delete = 3 };

// One operation without confirmation or undo (a deletion does not go to the recycle bin). A copy or move
// never replaces anything at the target: a taken name gets a numbered one. True only when it succeeded.
// Paths too long for the shell are handled by the file calls directly, folders walked; what failed there
// is added to failed, since no shell dialog reports it.
bool ShellFileOperation(FileOp op, const std::wstring& source, const std::wstring& destination,
                        std::vector<std::wstring>* failed = nullptr);
bool PathExists(const std::wstring& path);

// The shell's folder dialog owned by owner; the chosen folder with a trailing "\", or "\" alone when cancelled.
std::wstring BrowseForFolder(HWND owner);

}  // namespace sercavo
