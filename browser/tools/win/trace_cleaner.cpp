#include "browser/tools/win/trace_cleaner.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>

#include "browser/shell/win/frm_main.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"

namespace corvane {
namespace {

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) result = path;
  CoTaskMemFree(path);
  return result;
}

bool Absent(LONG r) { return r == ERROR_FILE_NOT_FOUND || r == ERROR_PATH_NOT_FOUND; }

// The key with everything below it.
bool DeleteKey(HKEY root, const std::wstring& key) {
  LONG r = RegDeleteTreeW(root, key.c_str());
  if (r != ERROR_SUCCESS && !Absent(r)) return false;
  r = RegDeleteKeyW(root, key.c_str());
  return r == ERROR_SUCCESS || Absent(r);
}

// Files only: subfolders stay. The shell's own folder descriptions (hidden and system) stay too.
bool DeleteFiles(const std::wstring& folder, const std::wstring& pattern) {
  std::wstring base = common::WithTrailingSlash(folder);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(common::ExtendedPath(base + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return Absent(LONG(GetLastError()));
  bool ok = true;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((fd.dwFileAttributes & kept) == kept) continue;
    std::wstring path = common::ExtendedPath(base + fd.cFileName);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
      SetFileAttributesW(path.c_str(), fd.dwFileAttributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (!DeleteFileW(path.c_str()) && !Absent(LONG(GetLastError()))) ok = false;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return ok;
}

// One cache entry of the search into buf, which grows as the entry needs.
bool NextEntry(HANDLE& find, const wchar_t* pattern, std::vector<BYTE>& buf) {
  for (int tries = 0; tries < 2; ++tries) {
    DWORD size = DWORD(buf.size());
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buf.data());
    bool got = find ? FindNextUrlCacheEntryW(find, entry, &size)
                    : (find = FindFirstUrlCacheEntryW(pattern, entry, &size)) != nullptr;
    if (got) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    buf.resize(size);
  }
  return false;
}

// The control's cookies live in its cache on current systems: the cookie search of the cache, and, where
// the cache knows no such search, every entry named as a cookie.
bool DeleteCookies() {
  bool ok = true;
  for (const wchar_t* pattern : {L"cookie:", static_cast<const wchar_t*>(nullptr)}) {
    std::vector<BYTE> buf(4096);
    HANDLE find = nullptr;
    while (NextEntry(find, pattern, buf)) {
      const wchar_t* url = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buf.data())->lpszSourceUrlName;
      if (!url || !common::StartsWithNoCase(url, L"cookie:")) continue;
      if (!DeleteUrlCacheEntryW(url) && GetLastError() != ERROR_FILE_NOT_FOUND) ok = false;
    }
    DWORD end = GetLastError();
    if (find) FindCloseUrlCache(find);
    // A search the cache does not know ends at once; only a broken one is a failure.
    if (end != ERROR_NO_MORE_ITEMS && end != ERROR_INVALID_PARAMETER && end != ERROR_FILE_NOT_FOUND) ok = false;
  }
  return ok;
}

bool Run(const TraceAction& a, HKEY root) {
  switch (a.kind) {
    case TraceAction::kDeleteKey: return DeleteKey(root, a.target);
    case TraceAction::kDeleteFiles: return DeleteFiles(a.target, a.pattern);
    case TraceAction::kEmptySetting: return common::SaveSetting(kApp, L"myie", a.target, L"");
    case TraceAction::kDeleteCookies: return DeleteCookies();
  }
  return false;
}

}  // namespace

TraceFolders KnownTraceFolders() {
  return {KnownFolder(FOLDERID_History), KnownFolder(FOLDERID_Recent), KnownFolder(FOLDERID_Cookies),
          common::GetWindowsFolder()};
}

std::vector<int> RunTracePlan(const std::vector<TraceAction>& plan, HKEY root) {
  std::vector<int> failed;
  for (const TraceAction& a : plan)
    if (!Run(a, root) && std::find(failed.begin(), failed.end(), a.box) == failed.end()) failed.push_back(a.box);
  return failed;
}

}  // namespace corvane
