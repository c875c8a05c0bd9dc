#include "guard/monitors/win/autorun_files.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"
#include "guard/monitors/autorun_inf.h"
#include "guard/monitors/autorun_rules.h"

namespace zorvix {
namespace {

constexpr DWORD kPieceBytes = 64 * 1024;

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (ok()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// Opens the file or folder itself, not what a link on it leads to.
HANDLE OpenItself(const std::wstring& path, DWORD access) {
  return CreateFileW(common::ExtendedPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool NotThere() {
  DWORD e = GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

// Where an open file really is, as a drive path ("U:\a\b") or a network one ("\\server\share\a").
std::optional<std::wstring> FinalPath(HANDLE h) {
  DWORD n = GetFinalPathNameByHandleW(h, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0) return std::nullopt;
  std::wstring path(n, L'\0');
  n = GetFinalPathNameByHandleW(h, path.data(), n, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= path.size()) return std::nullopt;
  path.resize(n);
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + path.substr(8);
  if (path.starts_with(L"\\\\?\\")) return path.substr(4);
  return path;
}

std::wstring FullPathOf(const std::wstring& path) {
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring buf(n + 1, L'\0');
  n = GetFullPathNameW(path.c_str(), DWORD(buf.size()), buf.data(), nullptr);
  buf.resize(n < buf.size() ? n : 0);
  return buf;
}

std::wstring LongPathOf(const std::wstring& path) {
  DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring buf(n, L'\0');
  n = GetLongPathNameW(path.c_str(), buf.data(), DWORD(buf.size()));
  buf.resize(n < buf.size() ? n : 0);
  return buf.empty() ? path : buf;
}

// The path as the system resolves it (trailing dots and blanks, short names), when it passes the
// same-drive rule both as written and so resolved; empty otherwise.
std::wstring ResolvedOnDrive(const std::wstring& path, const std::wstring& root, const std::wstring& windows) {
  if (!MayDeleteFromDrive(path, root, windows)) return L"";
  std::wstring full = FullPathOf(path);
  if (full.empty() || !MayDeleteFromDrive(full, root, windows)) return L"";
  std::wstring resolved = LongPathOf(full);
  return MayDeleteFromDrive(resolved, root, LongPathOf(windows)) ? resolved : L"";
}

// Whether an open file is the plain file its path names, on the drive itself: it is no link, and no link on
// the way led elsewhere, which shows as a final path other than the drive's own followed by the path.
bool IsFileItself(HANDLE file, const std::wstring& resolved, const std::wstring& root) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) return false;
  Handle drive(OpenItself(root, FILE_READ_ATTRIBUTES));
  if (!drive.ok()) return false;
  auto finalFile = FinalPath(file), finalRoot = FinalPath(drive.get());
  if (!finalFile || !finalRoot) return false;
  std::wstring expected =
      common::WithTrailingSlash(*finalRoot) + resolved.substr(common::WithTrailingSlash(root).size());
  return common::EqualsNoCase(*finalFile, expected);
}

}  // namespace

std::optional<std::wstring> ReadAutorunCommand(const std::wstring& inf) {
  Handle f(CreateFileW(common::ExtendedPath(inf).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // A disk file only: a device or pipe of that name could keep the read waiting for good.
  if (!f.ok() || GetFileType(f.get()) != FILE_TYPE_DISK) return std::nullopt;
  AutorunInfReader reader(common::AnsiCodePage());
  std::string piece(kPieceBytes, '\0');
  DWORD got = 0;
  while (ReadFile(f.get(), piece.data(), kPieceBytes, &got, nullptr) && got > 0)
    if (!reader.Feed(std::string_view(piece.data(), got))) break;
  reader.Finish();
  return reader.command();
}

bool CleanerMayDelete(const std::wstring& path, const std::wstring& root, const std::wstring& windowsFolder) {
  std::wstring resolved = ResolvedOnDrive(path, root, windowsFolder);
  if (resolved.empty()) return false;
  Handle file(OpenItself(resolved, FILE_READ_ATTRIBUTES));
  if (!file.ok()) return NotThere();
  return IsFileItself(file.get(), resolved, root);
}

bool DeleteListedFile(const std::wstring& path, const std::wstring& root, const std::wstring& windowsFolder) {
  std::wstring resolved = ResolvedOnDrive(path, root, windowsFolder);
  if (resolved.empty()) return false;
  Handle file(OpenItself(resolved, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
  if (!file.ok()) return NotThere();
  if (!IsFileItself(file.get(), resolved, root)) return false;
  // Autorun files come read-only, hidden and system; a read-only file would refuse the delete.
  FILE_BASIC_INFO basic{};
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  FILE_DISPOSITION_INFO gone{TRUE};
  return SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic) &&
         SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
}

}  // namespace zorvix
