// Tests: registry values as their raw type and bytes, and the system's registry editor importing a file.
#pragma once
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zorvix::test_support {

struct RawValue {
  DWORD type = 0;
  std::vector<BYTE> data;
  bool operator==(const RawValue&) const = default;
};
inline void PrintTo(const RawValue& v, std::ostream* os) {
  *os << "type " << v.type << ":";
  for (BYTE b : v.data) *os << " " << std::hex << int(b) << std::dec;
}

inline std::optional<RawValue> ReadRaw(HKEY root, const std::wstring& key, const std::wstring& name,
                                       REGSAM view = KEY_WOW64_64KEY) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &h) != ERROR_SUCCESS) return std::nullopt;
  RawValue v;
  DWORD size = 0;
  LONG r = RegQueryValueExW(h, name.c_str(), nullptr, &v.type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    v.data.resize(size);
    r = RegQueryValueExW(h, name.c_str(), nullptr, &v.type, v.data.data(), &size);
    v.data.resize(size);
  }
  RegCloseKey(h);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return v;
}

inline bool WriteRaw(HKEY root, const std::wstring& key, const std::wstring& name, const RawValue& v,
                     REGSAM view = KEY_WOW64_64KEY) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  LONG r = RegSetValueExW(h, name.c_str(), 0, v.type, v.data.data(), DWORD(v.data.size()));
  RegCloseKey(h);
  return r == ERROR_SUCCESS;
}

// A text value's bytes with its ending NUL, as the system stores it.
inline RawValue TextValue(const std::wstring& text, DWORD type = REG_SZ) {
  const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
  return {type, std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t))};
}

// Imports a file as a double-click does, silently: "regedit /s". True when the editor ran and ended.
inline bool ImportWithRegedit(const std::wstring& file) {
  std::wstring command = L"regedit.exe /s \"" + file + L"\"";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  bool ended = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ended;
}

}  // namespace zorvix::test_support
