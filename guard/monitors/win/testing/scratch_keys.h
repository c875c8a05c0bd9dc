// Tests: a registry key set of its own under HKEY_CURRENT_USER (or another root), removed with everything in
// it, in both registry views, when the test ends.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

namespace zorvix::test_support {

// A key set of its own for each test, removed with everything in it at the end.
class ScratchKeys {
 public:
  explicit ScratchKeys(HKEY root = HKEY_CURRENT_USER) : root_(root) {
    std::random_device rd;
    base_ = L"Software\\ZorvixTest\\k" + std::to_wstring(rd());
  }
  ~ScratchKeys() {
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY h;
      if (RegOpenKeyExW(root_, L"Software", 0, KEY_ALL_ACCESS | view, &h) == ERROR_SUCCESS) {
        RegDeleteTreeW(h, base_.substr(9).c_str());
        RegCloseKey(h);
      }
    }
  }
  std::wstring Key(const std::wstring& sub) const { return base_ + L"\\" + sub; }
  void Set(const std::wstring& sub, const std::wstring& name, DWORD type, const void* data, DWORD bytes,
           REGSAM view = KEY_WOW64_64KEY) const {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(root_, Key(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(h);
  }
  void SetText(const std::wstring& sub, const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ,
               REGSAM view = KEY_WOW64_64KEY) const {
    Set(sub, name, type, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)), view);
  }

 private:
  HKEY root_;
  std::wstring base_;
};

}  // namespace zorvix::test_support
