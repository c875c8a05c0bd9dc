#include "common/win/registry.h"

#include "common/text.h"

namespace common {
namespace {

struct Key {
  HKEY h = nullptr;
  ~Key() {
    if (h) RegCloseKey(h);
  }
};

bool SetValue(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
  Key k;
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k.h, nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(k.h, name.empty() ? nullptr : name.c_str(), 0, type, static_cast<const BYTE*>(data),
                        size) == ERROR_SUCCESS;
}

}  // namespace

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::Users: return HKEY_USERS;
  }
  return nullptr;
}

bool WriteRegString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& data) {
  return SetValue(root, key, name, REG_SZ, data.c_str(), DWORD((data.size() + 1) * sizeof(wchar_t)));
}

bool WriteRegEntries(const std::vector<RegEntry>& entries, const RegStringWriter& write) {
  bool ok = true;
  for (const RegEntry& e : entries) ok = write(RootKey(e.root), e.key, e.name, e.data) && ok;
  return ok;
}

bool WriteRegDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
  return SetValue(root, key, name, REG_DWORD, &value, sizeof value);
}

std::optional<std::wstring> QueryRegString(HKEY root, const std::wstring& key, const std::wstring& name) {
  Key k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &k.h) != ERROR_SUCCESS) return std::nullopt;
  const wchar_t* value = name.empty() ? nullptr : name.c_str();
  for (int tries = 0; tries < 4; ++tries) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(k.h, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
      return std::nullopt;
    std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = DWORD(buf.size() * sizeof(wchar_t));
    LONG rc = RegQueryValueExW(k.h, value, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;  // grew between the two calls
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    buf.resize(got / sizeof(wchar_t));
    return CutAtNul(buf);
  }
  return std::nullopt;
}

std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name) {
  return QueryRegString(root, key, name).value_or(L"");
}

std::optional<DWORD> ReadRegDword(HKEY root, const std::wstring& key, const std::wstring& name) {
  DWORD v = 0, size = sizeof v, type = 0;
  if (RegGetValueW(root, key.c_str(), name.empty() ? nullptr : name.c_str(), RRF_RT_REG_DWORD, &type, &v, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return v;
}

bool DeleteRegValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  Key k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE, &k.h) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(k.h, name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegKey(HKEY root, const std::wstring& key) { return RegDeleteKeyW(root, key.c_str()) == ERROR_SUCCESS; }

bool RegKeyExists(HKEY root, const std::wstring& key) {
  Key k;
  return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS;
}

std::vector<std::wstring> RegValueNames(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  Key k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &k.h) != ERROR_SUCCESS) return names;
  DWORD longest = 0;
  RegQueryInfoKeyW(k.h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                   nullptr);
  std::wstring buf(longest + 2, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD len = DWORD(buf.size());
    if (RegEnumValueW(k.h, i, buf.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(buf.data(), len);
  }
  return names;
}

std::vector<std::wstring> RegSubkeyNames(HKEY root, const std::wstring& key) {
  std::vector<std::wstring> names;
  Key k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &k.h) != ERROR_SUCCESS) return names;
  wchar_t buf[256];  // registry key names are at most 255 characters
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    if (RegEnumKeyExW(k.h, i, buf, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(buf, len);
  }
  return names;
}

}  // namespace common
