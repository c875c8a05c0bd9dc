#include "common/win/shell_icon.h"

#include <shellapi.h>

#include "common/text.h"

namespace common {

Icon GetFileIcon(const std::wstring& path, bool small, bool byExtension) {
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
