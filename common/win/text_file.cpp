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
  HANDLE f = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (f == INVALID_HANDLE_VALUE) return OpenFailure();
  ReadStatus status = ReadStatus::kUnreadable;
  LARGE_INTEGER size{};
  if (GetFileType(f) == FILE_TYPE_DISK && GetFileSizeEx(f, &size)) {
    if (uint64_t(size.QuadPart) > maxBytes) {
      status = ReadStatus::kTooLarge;
    } else {
      bytes.resize(size_t(size.QuadPart));
      if (ReadAll(f, bytes)) status = ReadStatus::kRead;
    }
  }
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

}  // namespace common
