#include "search/engine/win/text_walk.h"

#include "common/path.h"
#include "search/engine/search_state.h"
#include "search/engine/text_codec.h"
#include "search/engine/text_needle.h"
#include "search/engine/text_search_rules.h"
#include "search/engine/win/cp936.h"
#include "search/engine/win/folder_walk.h"

namespace sercavo {
namespace {

std::wstring FileCallPath(const std::wstring& path) {
  return path.size() < MAX_PATH ? path : common::ExtendedPath(path);
}

class TextWalk {
 public:
  TextWalk(const TextRequest& request, const TextEvents& on)
      : request_(request), on_(on), needle_(request.find, Cp936::Get()) {}

  void File(const std::wstring& folder, const WIN32_FIND_DATAW& e) {
    SearchState& st = State();
    ++st.scannedCount;
    uint64_t size = (uint64_t(e.nFileSizeHigh) << 32) | e.nFileSizeLow;
    if (!TypeMatches(request_.types, e.cFileName) || !SizeAllowed(size, request_.sizeLimit)) return;
    std::wstring path = folder + e.cFileName;
    if (on_.reading) on_.reading(path, size);
    if (!ReadWholeFile(path, bytes_, size) || !needle_.HeldBy(bytes_)) return;
    if (request_.replace && !Replace(path) && on_.notWritten) on_.notWritten(path);
    ++st.foundCount;
    if (on_.hit) on_.hit(path);
  }

 private:
  bool Replace(const std::wstring& path) {
    auto replaced = ReplaceExact(bytes_, request_.find, request_.replacement, Cp936::Get());
    if (!replaced) return false;
    return replaced->count == 0 || WriteOver(path, replaced->bytes);
  }

  const TextRequest& request_;
  const TextEvents& on_;
  TextNeedle needle_;
  std::string bytes_;
};

}  // namespace

bool WalkTextFolder(const std::wstring& folder, const TextRequest& request, const TextEvents& on) {
  TextWalk walk(request, on);
  WalkHandlers handlers;
  handlers.file = [&](const std::wstring& f, const WIN32_FIND_DATAW& e) { walk.File(f, e); };
  handlers.pump = on.pump;
  handlers.stopRequested = on.stopRequested;
  return WalkFolder(folder, handlers);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes, uint64_t sizeHint) {
  HANDLE f =
      CreateFileW(FileCallPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  size.QuadPart = LONGLONG(sizeHint);
  bool ok = (sizeHint != kUnknownSize || GetFileSizeEx(f, &size)) && size.QuadPart < (1LL << 30);
  // The size the walk saw may have changed since: read until a read comes back short, whatever the size now.
  size_t have = 0;
  if (ok) bytes.resize(size_t(size.QuadPart) + 1);
  while (ok) {
    DWORD want = DWORD(bytes.size() - have), got = 0;
    ok = ReadFile(f, bytes.data() + have, want, &got, nullptr);
    have += got;
    if (got < want) break;
    ok = ok && bytes.size() < (size_t(1) << 30);
    if (ok) bytes.resize(bytes.size() * 2);
  }
  bytes.resize(have);
  CloseHandle(f);
  return ok;
}

bool WriteOver(const std::wstring& path, std::string_view bytes) {
  std::wstring target = common::ExtendedPath(path);
  // A name of our own beside the file, never one that is already there.
  std::wstring temp;
  HANDLE f = INVALID_HANDLE_VALUE;
  for (unsigned n = GetTickCount() & 0xFFFF, tries = 0; f == INVALID_HANDLE_VALUE && tries < 100; ++n, ++tries) {
    temp = target + L".~" + std::to_wstring(n) + L".tmp";
    f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  bool ok = bytes.empty() || (WriteFile(f, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size());
  ok = FlushFileBuffers(f) && ok;
  CloseHandle(f);
  // In place of an existing file (its attributes kept), or under a new name.
  if (ok && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    ok = ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
  else if (ok)
    ok = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}

}  // namespace sercavo
