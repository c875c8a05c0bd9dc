#include "common/win/text_file.h"

#include <windows.h>

#include "common/path.h"
#include "common/text.h"
#include "common/win/code_page.h"

namespace common {
namespace {

constexpr DWORD kChunk = 1u << 30;

ReadStatus OpenFailure() {
  DWORD e = GetLastError();
  return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? ReadStatus::kMissing : ReadStatus::kUnreadable;
}

bool ReadAll(HANDLE f, std::string& bytes) {
  size_t have = 0;
  while (have < bytes.size()) {
    DWORD want = DWORD(std::min<size_t>(bytes.size() - have, kChunk)), got = 0;
    if (!ReadFile(f, bytes.data() + have, want, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank since its size was taken
    have += got;
  }
  bytes.resize(have);
  return true;
}

bool WriteAll(HANDLE f, std::string_view bytes) {
  for (size_t put = 0; put < bytes.size();) {
    DWORD want = DWORD(std::min<size_t>(bytes.size() - put, kChunk)), done = 0;
    if (!WriteFile(f, bytes.data() + put, want, &done, nullptr) || done == 0) return false;
    put += done;
  }
  return true;
}

// A regular disk file open for reading, and its size; INVALID_HANDLE_VALUE (status says why) otherwise.
HANDLE OpenForReading(const std::wstring& path, ReadStatus& status, uint64_t& size) {
  HANDLE f = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    status = OpenFailure();
    return f;
  }
  LARGE_INTEGER s{};
  if (GetFileType(f) == FILE_TYPE_DISK && GetFileSizeEx(f, &s)) {
    size = uint64_t(s.QuadPart);
    return f;
  }
  CloseHandle(f);
  status = ReadStatus::kUnreadable;
  return INVALID_HANDLE_VALUE;
}

// The file's content from its start replaced by bytes, and cut after them.
bool Overwrite(HANDLE f, std::string_view bytes) {
  LARGE_INTEGER start{};
  return SetFilePointerEx(f, start, nullptr, FILE_BEGIN) && WriteAll(f, bytes) && SetEndOfFile(f) &&
         FlushFileBuffers(f);
}

std::wstring WithoutExtendedPrefix(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + std::wstring(path.substr(8));
  if (path.starts_with(L"\\\\?\\")) return std::wstring(path.substr(4));
  return std::wstring(path);
}

// "<name>.~N.tmp" beside the file, created new so that no file of the user's is ever overwritten (nor the
// ".~N.bak" the replace will use); a name too long for that gets a short one in the same folder.
HANDLE CreateTempBeside(const std::wstring& target, std::wstring& temp) {
  std::wstring stem = FileNameOf(target).size() > 200 ? FolderOf(target) + L"\\" : target;
  unsigned n = (GetTickCount() ^ (GetCurrentProcessId() << 16)) & 0xFFFFF;
  for (int tries = 0; tries < 100; ++tries, ++n) {
    temp = stem + L".~" + std::to_wstring(n) + L".tmp";
    if (GetFileAttributesW((stem + L".~" + std::to_wstring(n) + L".bak").c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) return f;
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

// The old file goes to a backup name of ours, so that the replace leaves no file of its own choosing behind
// (Wine's moves the old file to an "rf*.tmp" it never removes when the replace fails). A replace that
// failed after moving the old file away puts it back.
bool ReplaceKeepingAttributes(const std::wstring& target, const std::wstring& temp, DWORD attributes) {
  std::wstring backup = temp.substr(0, temp.size() - 4) + L".bak";
  bool ok = ReplaceFileW(target.c_str(), temp.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr);
  if (!ok && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES)
    MoveFileExW(backup.c_str(), target.c_str(), 0);
  DeleteFileW(backup.c_str());
  if (ok && GetFileAttributesW(target.c_str()) != attributes) SetFileAttributesW(target.c_str(), attributes);
  return ok;
}

}  // namespace

ReadStatus ReadFileInto(const std::wstring& path, uint64_t maxBytes, std::string& bytes) {
  bytes.clear();
  ReadStatus status = ReadStatus::kUnreadable;
  uint64_t size = 0;
  HANDLE f = OpenForReading(path, status, size);
  if (f == INVALID_HANDLE_VALUE) return status;
  if (size > maxBytes) {
    status = ReadStatus::kTooLarge;
  } else {
    bytes.resize(size_t(size));
    status = ReadAll(f, bytes) ? ReadStatus::kRead : ReadStatus::kUnreadable;
  }
  CloseHandle(f);
  if (status != ReadStatus::kRead) bytes.clear();
  return status;
}

ReadStatus ReadFileRange(const std::wstring& path, uint64_t offset, size_t maxBytes, std::string& bytes,
                         uint64_t* size) {
  bytes.clear();
  ReadStatus status = ReadStatus::kUnreadable;
  uint64_t total = 0;
  HANDLE f = OpenForReading(path, status, total);
  if (f == INVALID_HANDLE_VALUE) return status;
  if (size) *size = total;
  bytes.resize(size_t(std::min<uint64_t>(offset < total ? total - offset : 0, maxBytes)));
  LARGE_INTEGER at;
  at.QuadPart = LONGLONG(std::min<uint64_t>(offset, total));
  status =
      SetFilePointerEx(f, at, nullptr, FILE_BEGIN) && ReadAll(f, bytes) ? ReadStatus::kRead : ReadStatus::kUnreadable;
  CloseHandle(f);
  if (status != ReadStatus::kRead) bytes.clear();
  return status;
}

FileBytes ReadFileBytes(const std::wstring& path, uint64_t maxBytes) {
  FileBytes r;
  r.status = ReadFileInto(path, maxBytes, r.bytes);
  return r;
}

TextFile ReadTextFile(const std::wstring& path, uint64_t maxBytes) {
  return ReadTextFile(path, maxBytes, AnsiCodePage());
}

TextFile ReadTextFile(const std::wstring& path, uint64_t maxBytes, const CodePage& cp) {
  FileBytes file = ReadFileBytes(path, maxBytes);
  if (!file.ok()) {
    TextFile r;
    r.status = file.status;
    return r;
  }
  return TextFileOf(file.bytes, cp);
}

TextFile TextFileOf(std::string_view bytes, const CodePage& cp) {
  TextFile r;
  r.status = ReadStatus::kRead;
  r.format = DetectFormat(bytes);
  r.text = DecodeExactly(bytes, r.format, cp);
  r.exact = EncodeExactly(r.text, r.format, cp) == bytes;
  return r;
}

std::optional<std::wstring> ReadFileText(const std::wstring& path, uint64_t maxBytes) {
  TextFile file = ReadTextFile(path, maxBytes);
  if (!file.ok()) return std::nullopt;
  return std::move(file.text);
}

TextWrite WriteTextFile(const std::wstring& path, std::wstring_view text, const TextFormat& format) {
  return WriteTextFile(path, text, format, AnsiCodePage());
}

TextWrite WriteTextFile(const std::wstring& path, std::wstring_view text, const TextFormat& format,
                        const CodePage& cp) {
  TextWrite r;
  auto bytes = EncodeExactly(text, format, cp);
  if (!bytes) {
    r.status = WriteStatus::kNotHeld;
    r.notHeld = FirstLineNotHeld(text, format, cp).value_or(L"");
    return r;
  }
  r.status = WriteFileAtomically(path, *bytes) ? WriteStatus::kWritten : WriteStatus::kFailed;
  return r;
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
  std::wstring target = ExtendedPath(path), temp;
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;  // a read-only file is not ours to change; the platforms differ on whether a replace may
  HANDLE f = CreateTempBeside(target, temp);
  if (f == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(f, bytes);
  ok = FlushFileBuffers(f) && ok;
  CloseHandle(f);
  if (ok && attributes != INVALID_FILE_ATTRIBUTES)
    ok = ReplaceKeepingAttributes(target, temp, attributes);
  else if (ok)
    ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

FileIdentity IdentifyFile(const std::wstring& path) {
  FileIdentity id;
  std::wstring full = ExtendedPath(path);
  HANDLE h = CreateFileW(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return id;
  BY_HANDLE_FILE_INFORMATION info{};
  std::wstring final(32768, L'\0');
  DWORD n = GetFinalPathNameByHandleW(h, final.data(), DWORD(final.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  id.ok = GetFileInformationByHandle(h, &info) && n > 0 && n < final.size();
  CloseHandle(h);
  if (!id.ok) return id;
  final.resize(n);
  id.finalPath = WithoutExtendedPrefix(final);
  id.names = info.nNumberOfLinks;
  // A link the platform marks, or one it follows without saying so (a link made by another system).
  id.throughLink = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
                   !EqualsNoCase(id.finalPath, WithoutExtendedPrefix(full));
  return id;
}

bool WriteFileInPlace(const std::wstring& path, std::string_view bytes) {
  std::wstring target = ExtendedPath(path), copy;
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  // Others may read meanwhile, nobody else writes.
  HANDLE f =
      CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  std::string old;
  LARGE_INTEGER size{};
  bool ok = GetFileType(f) == FILE_TYPE_DISK && GetFileSizeEx(f, &size);
  if (ok) {
    old.resize(size_t(size.QuadPart));
    ok = ReadAll(f, old) && old.size() == size_t(size.QuadPart);
  }
  HANDLE c = ok ? CreateTempBeside(target, copy) : INVALID_HANDLE_VALUE;
  if (c != INVALID_HANDLE_VALUE) {
    ok = WriteAll(c, old);
    ok = FlushFileBuffers(c) && ok;
    CloseHandle(c);
  } else {
    ok = false;
  }
  bool changed = ok && Overwrite(f, bytes);
  // A write that failed halfway is undone; only when even that fails does the copy stay, holding the old
  // content.
  bool keepCopy = ok && !changed && !Overwrite(f, old);
  CloseHandle(f);
  if (!copy.empty() && !keepCopy) DeleteFileW(copy.c_str());
  return changed;
}

}  // namespace common
