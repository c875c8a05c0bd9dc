#include "search/engine/win/file_ops.h"

#include <shellapi.h>
#include <shlobj.h>

#include "common/path.h"
#include "common/text.h"
#include "search/engine/target_name.h"
#include "search/engine/win/busy.h"

namespace sercavo {
namespace {

std::wstring Ext(const std::wstring& path) { return common::ExtendedPath(path); }
DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(Ext(path).c_str()); }
bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Source and destination each end in two NULs, as the shell reads lists of names.
std::wstring DoubleNul(const std::wstring& s) { return s + std::wstring(2, L'\0'); }

bool ShellCall(FileOp op, const std::wstring& source, const std::wstring& target) {
  std::wstring from = DoubleNul(source), to = DoubleNul(target);
  SHFILEOPSTRUCTW f{};
  f.wFunc = op == FileOp::Move     ? FO_MOVE
            : op == FileOp::Rename ? FO_RENAME
            : op == FileOp::Delete ? FO_DELETE
                                   : FO_COPY;
  f.pFrom = from.c_str();
  f.pTo = op == FileOp::Delete ? nullptr : to.c_str();
  // The target name is free already; renaming on collision covers a file that appears meanwhile.
  f.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_RENAMEONCOLLISION;
  return SHFileOperationW(&f) == 0 && !f.fAnyOperationsAborted;
}

// Beyond the shell's reach: the extended-path file calls, folders walked entry by entry.
class LongPathOp {
 public:
  explicit LongPathOp(std::vector<std::wstring>* failed) : failed_(failed) {}

  bool Delete(const std::wstring& path) {
    DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return Fail(path);
    if (a & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(Ext(path).c_str(), a & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!IsFolder(a)) return DeleteFileW(Ext(path).c_str()) || Fail(path);
    bool ok = true;
    // A link is removed as a link; what it points to stays.
    if (!(a & FILE_ATTRIBUTE_REPARSE_POINT))
      for (const std::wstring& name : Children(path)) ok = Delete(path + L"\\" + name) && ok;
    return (RemoveDirectoryW(Ext(path).c_str()) || Fail(path)) && ok;
  }

  bool Copy(const std::wstring& source, const std::wstring& target) {
    DWORD a = Attributes(source);
    if (!IsFolder(a)) return CopyFileW(Ext(source).c_str(), Ext(target).c_str(), TRUE) || Fail(source);
    if (!CreateDirectoryW(Ext(target).c_str(), nullptr)) return Fail(source);
    bool ok = true;
    if (!(a & FILE_ATTRIBUTE_REPARSE_POINT))
      for (const std::wstring& name : Children(source)) ok = Copy(source + L"\\" + name, target + L"\\" + name) && ok;
    return ok;
  }

  bool Move(const std::wstring& source, const std::wstring& target) {
    bool folder = IsFolder(Attributes(source));
    if (MoveFileExW(Ext(source).c_str(), Ext(target).c_str(), folder ? 0 : MOVEFILE_COPY_ALLOWED)) return true;
    if (!folder) return Fail(source);
    // Another volume: the folder is copied, and removed only when all of it arrived.
    return Copy(source, target) && Delete(source);
  }

 private:
  static std::vector<std::wstring> Children(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW e;
    HANDLE h = FindFirstFileExW(Ext(folder + L"\\*").c_str(), FindExInfoBasic, &e, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      std::wstring_view n = e.cFileName;
      if (n != L"." && n != L"..") names.emplace_back(n);
    } while (FindNextFileW(h, &e));
    FindClose(h);
    return names;
  }

  bool Fail(const std::wstring& path) {
    if (failed_) failed_->push_back(path);
    return false;
  }

  std::vector<std::wstring>* failed_;
};

bool FitsShell(const std::wstring& path) { return path.size() < MAX_PATH - 1; }

// A drive root keeps its separator.
std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

// Where source lands in folder: its own name, or a numbered one when that is taken.
std::wstring TargetPath(const std::wstring& source, const std::wstring& folder) {
  std::wstring dir = common::WithTrailingSlash(folder);
  std::wstring name = FreeName(common::FileNameOf(source), IsFolder(Attributes(source)),
                               [&](const std::wstring& n) { return PathExists(dir + n); });
  return name.empty() ? L"" : dir + name;
}

}  // namespace


bool PathExists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool ShellFileOperation(FileOp op, const std::wstring& source, const std::wstring& destination,
                        std::vector<std::wstring>* failed) {
  if (source.empty()) return false;
  Busy busy;
  LongPathOp direct(failed);
  if (op == FileOp::Delete) {
    // A read-only file goes as any other, without the question the shell would ask about it.
    DWORD a = Attributes(source);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) && !IsFolder(a))
      SetFileAttributesW(Ext(source).c_str(), a & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return FitsShell(source) ? ShellCall(op, source, L"") : direct.Delete(source);
  }
  if (op == FileOp::Rename) {
    if (PathExists(destination)) return false;
    return FitsShell(source) && FitsShell(destination) ? ShellCall(op, source, destination)
                                                       : MoveFileExW(Ext(source).c_str(), Ext(destination).c_str(), 0);
  }
  std::wstring from = WithoutTrailingSlash(source);
  // Moving a file to where it is leaves it there; a folder never goes into itself.
  if (op == FileOp::Move &&
      common::EqualsNoCase(common::WithTrailingSlash(common::FolderOf(from)), common::WithTrailingSlash(destination)))
    return true;
  if (IsInside(destination, from)) return false;
  std::wstring target = TargetPath(from, destination);
  if (target.empty()) return false;
  if (FitsShell(from) && FitsShell(target)) return ShellCall(op, from, target);
  return op == FileOp::Move ? direct.Move(from, target) : direct.Copy(from, target);
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
