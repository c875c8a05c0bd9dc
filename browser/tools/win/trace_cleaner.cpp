#include "browser/tools/win/trace_cleaner.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>

#include "browser/app.h"
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

// Where an opened handle really is; empty when the system cannot say.
std::wstring FinalPath(HANDLE h) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = GetFinalPathNameByHandleW(h, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
  if (n >= path.size()) {
    path.resize(n + 1);
    n = GetFinalPathNameByHandleW(h, path.data(), DWORD(path.size()), FILE_NAME_NORMALIZED);
  }
  path.resize(n < path.size() ? n : 0);
  return path;
}

std::wstring FolderFinalPath(const std::wstring& folder) {
  HANDLE h = CreateFileW(common::ExtendedPath(folder).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return L"";
  std::wstring path = FinalPath(h);
  CloseHandle(h);
  return path;
}

// Deletes through the handle what the handle is; a read-only file is made writable first.
bool DeleteOpened(HANDLE h) {
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) &&
      (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
    basic.FileAttributes &= ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(h, FileBasicInfo, &basic, sizeof basic);
  }
  FILE_DISPOSITION_INFO gone{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone);
}

// The entry itself is opened, not what a link names, and kept unless it really lies in the folder: a link
// is deleted where the system opens the link, and a target outside the folder is never touched.
bool DeleteEntry(const std::wstring& path, const std::wstring& home) {
  HANDLE h = CreateFileW(common::ExtendedPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Absent(LONG(GetLastError()));
  bool inside = !home.empty() && common::EqualsNoCase(common::FolderOf(FinalPath(h)), home);
  bool ok = inside && DeleteOpened(h);
  CloseHandle(h);
  return ok;
}

// Files only: subfolders stay. The shell's own folder descriptions (hidden and system) stay too.
bool DeleteFiles(const std::wstring& folder, const std::wstring& pattern) {
  std::wstring base = common::WithTrailingSlash(folder);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(common::ExtendedPath(base + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return Absent(LONG(GetLastError()));
  std::wstring home = FolderFinalPath(base);
  bool ok = true;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((fd.dwFileAttributes & kept) == kept) continue;
    if (!DeleteEntry(base + fd.cFileName, home)) ok = false;
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
