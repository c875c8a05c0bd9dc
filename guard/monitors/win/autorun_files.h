// The files of a drive the autorun guard reads and deletes. What the cleaner may touch is decided on what the
// system opens, not on the text of the path: a link on the drive (a folder symlink, an NTFS junction) may
// lead anywhere.
#pragma once
#include <optional>
#include <string>

namespace zorvix {

// The command text of an "autorun.inf" (AutorunCommand), read in its own form as far as its first
// "open"/"shell" line, whatever its size. Blocking: for the scan's worker thread.
std::optional<std::wstring> ReadAutorunCommand(const std::wstring& inf);

// Whether the cleaner may delete a file listed for the drive at root ("U:\"): below the root and outside
// the Windows folder as written and as the system resolves the path, reached through no link and no link
// itself. A file that is not there may be "deleted": there is nothing to lose.
bool CleanerMayDelete(const std::wstring& path, const std::wstring& root, const std::wstring& windowsFolder);
// Deletes a listed file through one handle, checked as above once it is open, so that nothing swapped in
// since the listing is deleted instead. Read-only, hidden and system attributes are no obstacle. True
// when the file is gone.
bool DeleteListedFile(const std::wstring& path, const std::wstring& root, const std::wstring& windowsFolder);

}  // namespace zorvix
