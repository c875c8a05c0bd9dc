// A file's shell icon, owned.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace common {

struct IconDeleter {
  void operator()(HICON h) const {
    if (h) DestroyIcon(h);
  }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The shell's icon of a path (small or large). With byExtension the file is not opened: the icon of
// its type is returned, which is right for every type whose icon does not live in the file.
Icon GetFileIcon(const std::wstring& path, bool small, bool byExtension = false);
// The first icon the file itself carries (small or large); none when it has none or cannot be read.
Icon FirstIconOfFile(const std::wstring& path, bool small);
// True for types whose icon lives inside each file (programs, icons, cursors, shortcuts).
bool IconLivesInFile(const std::wstring& path);

}  // namespace common
