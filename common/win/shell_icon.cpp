#include "common/win/shell_icon.h"

#include <shellapi.h>

#include "common/text.h"

namespace common {
namespace {

bool IsProgram(const std::wstring& path) {
  std::wstring ext = ToLower(ExtensionOf(path));
  return ext == L"exe" || ext == L"scr";
}

// A program's icon is the first in its file, which is where the shell reads it too. Read here, it
// spares a resident program the shell's icon cache, several MB kept for the whole run. A program with
// no icon of its own shows the system's program icon, as in the shell; a missing file shows none.
Icon ProgramIcon(const std::wstring& path, bool small) {
  if (Icon own = FirstIconOfFile(path, small)) return own;
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return Icon();
  int cx = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON), cy = GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON);
  return Icon(CopyIcon(static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, cx, cy, LR_SHARED))));
}

}  // namespace

Icon FirstIconOfFile(const std::wstring& path, bool small) {
  HICON large = nullptr, little = nullptr;
  UINT n = ExtractIconExW(path.c_str(), 0, small ? nullptr : &large, small ? &little : nullptr, 1);
  HICON icon = small ? little : large;
  return n != UINT_MAX && n > 0 ? Icon(icon) : Icon();
}

Icon GetFileIcon(const std::wstring& path, bool small, bool byExtension) {
  if (!byExtension && IsProgram(path)) return ProgramIcon(path, small);
  SHFILEINFOW info{};
  UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON);
  DWORD attrs = 0;
  if (byExtension) {
    flags |= SHGFI_USEFILEATTRIBUTES;
    attrs = FILE_ATTRIBUTE_NORMAL;
  }
  if (!SHGetFileInfoW(path.c_str(), attrs, &info, sizeof info, flags)) return Icon();
  return Icon(info.hIcon);
}

bool IconLivesInFile(const std::wstring& path) {
  std::wstring ext = ToLower(ExtensionOf(path));
  return ext == L"exe" || ext == L"ico" || ext == L"cur" || ext == L"ani" || ext == L"lnk" || ext == L"scr";
}

}  // namespace common
