#include "search/engine/win/file_ops.h"

#include <shellapi.h>
#include <shlobj.h>

#include "common/path.h"
#include "common/text.h"

namespace sercavo {
namespace {

// Source and destination each end in two NULs, as the shell reads lists of names.
std::wstring DoubleNul(const std::wstring& s) { return s + std::wstring(2, L'\0'); }

bool ShellCall(FileOp op, const std::wstring& source, const std::wstring& destination) {
  std::wstring from = DoubleNul(source), to = DoubleNul(destination);
  SHFILEOPSTRUCTW f{};
  f.hwnd = nullptr;
  f.wFunc = op == FileOp::Move     ? FO_MOVE
            : op == FileOp::Rename ? FO_RENAME
            : op == FileOp::Delete ? FO_DELETE
                                   : FO_COPY;
  f.pFrom = from.c_str();
  f.pTo = op == FileOp::Delete ? nullptr : to.c_str();
  f.fFlags = FOF_NOCONFIRMATION;
  return SHFileOperationW(&f) == 0 && !f.fAnyOperationsAborted;
}

// Beyond the shell's reach (long paths): single files through the extended-path calls.
bool DirectCall(FileOp op, const std::wstring& source, const std::wstring& destination) {
  std::wstring src = common::ExtendedPath(source);
  std::wstring dst = common::ExtendedPath(common::WithTrailingSlash(destination) + common::FileNameOf(source));
  switch (op) {
    case FileOp::Delete: return DeleteFileW(src.c_str()) || RemoveDirectoryW(src.c_str());
    case FileOp::Move: return MoveFileExW(src.c_str(), dst.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
    case FileOp::Rename: return MoveFileExW(src.c_str(), common::ExtendedPath(destination).c_str(), 0);
    default: return CopyFileW(src.c_str(), dst.c_str(), FALSE);
  }
}

bool FitsShell(const std::wstring& path) { return path.size() < MAX_PATH - 1; }

}  // namespace

FileOp FileOpOfKind(int kind) { return kind >= 0 && kind <= 3 ? FileOp(kind) : FileOp::Copy; }

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(common::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ShellFileOperation(FileOp op, const std::wstring& source, const std::wstring& destination) {
  if (source.empty()) return false;
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  std::wstring target = op == FileOp::Delete ? L"" : destination;
  std::wstring longest = common::WithTrailingSlash(target) + common::FileNameOf(source);
  bool ok = FitsShell(source) && FitsShell(longest) ? ShellCall(op, source, target) : DirectCall(op, source, target);
  SetCursor(old);
  return ok;
}

std::wstring BrowseForFolder(HWND owner) {
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = L"请您在下面选择一个文件夹的路径：";
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  std::wstring path;
  if (PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi)) {
    wchar_t buf[MAX_PATH] = {};
    if (SHGetPathFromIDListW(pidl, buf)) path = common::CutAtNul(std::wstring(buf, MAX_PATH));
    CoTaskMemFree(pidl);
  }
  return common::WithTrailingSlash(path);
}

}  // namespace sercavo
