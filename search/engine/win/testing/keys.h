// Tests: keys as the keyboard delivers them, through the program's own message loop.
#pragma once
#include <windows.h>

namespace sercavo::test_support {

// A key down and up at a control; the loop's translation makes its character. With alt, a letter is a
// mnemonic.
inline void PostKey(HWND to, WPARAM key, bool alt = false) {
  WPARAM vk = alt ? VkKeyScanW(wchar_t(key)) & 0xFF : key;
  LPARAM bits = alt ? (1 << 29) : 0;
  PostMessageW(to, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, bits | 1);
  PostMessageW(to, alt ? WM_SYSKEYUP : WM_KEYUP, vk, LPARAM(bits | (1u << 30) | (1u << 31) | 1));
}

// Shift+F10 at a control: the thread's Shift key is down while the key is handled.
inline void PostShiftF10(HWND to) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(to, WM_SYSKEYDOWN, VK_F10, 1);
  PostMessageW(to, WM_SYSKEYUP, VK_F10, LPARAM(1 | (1u << 30) | (1u << 31)));
}
inline void ReleaseShift() {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
  SetKeyboardState(keys);
}

// The edit box inside a combo box (where the keys of a combo box go).
inline HWND EditOf(HWND combo) {
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  return edit ? edit : combo;
}

}  // namespace sercavo::test_support
