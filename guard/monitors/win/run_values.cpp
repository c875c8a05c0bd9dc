#include "guard/monitors/win/run_values.h"

#include <algorithm>

#include "common/text.h"
#include "common/win/registry.h"
#include "guard/monitors/win/startup_backup.h"
#include "guard/process/win/process_query.h"

namespace zorvix {
namespace {

REGSAM ViewFlag(RegView view) { return view == RegView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY; }

std::wstring ExpandText(const std::wstring& text) {
  DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (n == 0) return text;
  std::wstring out(n, L'\0');
  n = ExpandEnvironmentStringsW(text.c_str(), out.data(), n);
  return n ? common::CutAtNul(out) : text;
}

std::wstring DataText(DWORD type, const std::vector<uint8_t>& data) {
  std::wstring text = RegDataText(type, data);
  return type == REG_EXPAND_SZ ? ExpandText(text) : text;
}

}  // namespace

std::vector<RegView> ViewsOf(RegRoot root) {
  // 32-bit programs write their machine-wide entries to their own view, which a 64-bit reader never sees.
  if (root == RegRoot::LocalMachine) return {RegView::Native, RegView::Wow32};
  return {RegView::Native};
}

void ListRunValues(RegRoot root, const std::wstring& key, RegView view, const RunValueSink& sink) {
  HKEY h = nullptr;
  LONG opened = RegOpenKeyExW(common::RootKey(root), key.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), &h);
  if (opened != ERROR_SUCCESS) return;
  DWORD maxName = 0, maxData = 0;
  RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData, nullptr,
                   nullptr);
  std::wstring name(maxName + 1, L'\0');
  std::vector<uint8_t> data(maxData + 2);
  int retries = 0;
  for (DWORD index = 0;;) {
    DWORD nameLen = DWORD(name.size()), dataLen = DWORD(data.size()), type = 0;
    LONG r = RegEnumValueW(h, index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
    if (r == ERROR_MORE_DATA && retries++ < 4) {
      // Written since the sizes were asked for: grow and read the same value again.
      name.resize(std::max<size_t>(name.size(), 16384));  // the longest name the registry allows
      data.resize(std::max<size_t>(data.size() * 2, size_t(dataLen) + 2));
      continue;
    }
    retries = 0;
    if (r == ERROR_MORE_DATA) {  // still growing: left for the next reading
      ++index;
      continue;
    }
    if (r != ERROR_SUCCESS) break;
    RunValue v{root, view, key, name.substr(0, nameLen), type, L"", L"", L""};
    v.data = DataText(type, std::vector<uint8_t>(data.begin(), data.begin() + std::min<size_t>(dataLen, data.size())));
    v.program = ResolveBareName(v.data);
    v.location = RunLocation(root, key, view, v.name);
    sink(v);
    ++index;
  }
  RegCloseKey(h);
}

void ListStartupValues(const std::vector<WatchedLocation>& locations, const RunValueSink& sink) {
  for (const WatchedLocation& w : locations)
    for (RegView view : ViewsOf(w.root)) ListRunValues(w.root, w.key, view, sink);
}

StartDelete DeleteStartValue(RegRoot root, const std::wstring& key, RegView view, const std::wstring& name,
                             const std::wstring& backupFile, RegValueDelete deleteValue) {
  HKEY h = nullptr;
  LONG r = RegOpenKeyExW(common::RootKey(root), key.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE | ViewFlag(view), &h);
  if (r == ERROR_FILE_NOT_FOUND) return StartDelete::Missing;
  if (r != ERROR_SUCCESS) return StartDelete::Refused;
  SavedRegValue saved{RootName(root) + KeyPathInView(key, view), name};
  DWORD type = 0, size = 0;
  r = RegQueryValueExW(h, name.c_str(), nullptr, &type, nullptr, &size);
  bool read = false;
  for (int tries = 0; r == ERROR_SUCCESS && !read && tries < 4; ++tries) {
    saved.data.resize(size);
    r = RegQueryValueExW(h, name.c_str(), nullptr, &type, saved.data.data(), &size);
    read = r == ERROR_SUCCESS;
    if (r == ERROR_MORE_DATA) r = ERROR_SUCCESS;  // grown since its size was asked for: ask again
  }
  StartDelete result = r == ERROR_FILE_NOT_FOUND ? StartDelete::Missing : StartDelete::NotSaved;
  if (read) {
    saved.type = type;
    saved.data.resize(size);
    if (AppendStartupBackup(backupFile, saved)) {
      r = deleteValue(h, name.c_str());
      result = r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND ? StartDelete::Deleted : StartDelete::Refused;
    }
  }
  RegCloseKey(h);
  return result;
}

std::wstring ShownLocation(RegRoot root, const std::wstring& key, RegView view, const std::wstring& name) {
  return RootName(root) + KeyPathInView(key, view) + L"\\" + (name.empty() ? kDefaultValueName : name);
}

}  // namespace zorvix
