#include "guard/control/win/uninstall_entries.h"

#include "common/text.h"
#include "common/win/system.h"

namespace zorvix {
namespace {

struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

std::wstring Expand(const std::wstring& text) {
  DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (n == 0) return text;
  std::wstring out(n, L'\0');
  n = ExpandEnvironmentStringsW(text.c_str(), out.data(), n);
  return n ? common::CutAtNul(out) : text;
}

// A string value (expanded when it is expandable), cut at its first NUL; empty for anything else.
std::wstring ReadText(HKEY key, const wchar_t* name) {
  for (int tries = 0; tries < 4; ++tries) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
    std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = DWORD(buf.size() * sizeof(wchar_t));
    LONG r = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
    if (r == ERROR_MORE_DATA) continue;  // grew between the two calls
    if (r != ERROR_SUCCESS) return {};
    buf.resize(got / sizeof(wchar_t));
    std::wstring text = common::CutAtNul(buf);
    return type == REG_EXPAND_SZ ? Expand(text) : text;
  }
  return {};
}

std::wstring SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring out = n ? common::Trim(std::wstring(text, n)) : L"";
  if (text) LocalFree(text);
  return out.empty() ? L"错误代码 " + std::to_wstring(error) : out;
}

}  // namespace

std::vector<UninstallSource> UninstallSources(const std::wstring& key) {
  return {{HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY},
          {HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY},
          {HKEY_CURRENT_USER, key, KEY_WOW64_64KEY}};
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring buf(longest + 1, L'\0');
  for (DWORD index = 0;;) {
    DWORD len = DWORD(buf.size());
    LONG r = RegEnumKeyExW(key, index, buf.data(), &len, nullptr, nullptr, nullptr, nullptr);
    if (r == ERROR_MORE_DATA && buf.size() < 32768) {  // a longer name was added meanwhile
      buf.resize(buf.size() * 2);
      continue;
    }
    if (r != ERROR_SUCCESS) break;
    names.emplace_back(buf.data(), len);
    ++index;
  }
  return names;
}

void ReadUninstallEntries(const UninstallSource& source, InstalledList& list) {
  Key parent;
  if (RegOpenKeyExW(source.root, source.key.c_str(), 0, KEY_READ | source.view, &parent.h) != ERROR_SUCCESS) return;
  for (const std::wstring& name : SubkeyNames(parent.h)) {
    Key entry;
    if (RegOpenKeyExW(parent.h, name.c_str(), 0, KEY_QUERY_VALUE | source.view, &entry.h) != ERROR_SUCCESS) continue;
    list.Add({ReadText(entry.h, L"DisplayName"), ReadText(entry.h, L"UninstallString"),
              ReadText(entry.h, L"HelpLink")});
  }
}

InstalledList ReadInstalledPrograms(const std::vector<UninstallSource>& sources) {
  InstalledList list;
  for (const UninstallSource& s : sources) ReadUninstallEntries(s, list);
  return list;
}

std::optional<std::wstring> StartUninstall(const std::wstring& command) {
  if (common::StartCommand(command, SW_SHOWNORMAL)) return std::nullopt;
  return SystemMessage(GetLastError());
}

}  // namespace zorvix
