// The two commands of "缺省浏览器": make the browser the one that opens web addresses, and give that role
// back. The first keeps what it replaces in the settings store; the second puts exactly that back.
#pragma once
#include <windows.h>

#include <string>

namespace corvane {

inline constexpr wchar_t kSetNavigation[] = L"设置【Corvane安全浏览器】为默认的浏览器";
inline constexpr wchar_t kCancelNavigation[] = L"取消【Corvane安全浏览器】为默认的浏览器";
inline constexpr wchar_t kSetNavigationFailed[] =
    L"未能设置默认的浏览器：不能写入注册表（可能需要以管理员身份运行）。";
inline constexpr wchar_t kCancelNavigationFailed[] =
    L"未能恢复原来的默认浏览器：不能写入注册表（可能需要以管理员身份运行）。";

enum class NavigationResult { kDone, kNothingSaved, kFailed };

// Keys are taken under `root` (HKEY_CLASSES_ROOT in the program).
NavigationResult SetNavigation(const std::wstring& exePath, HKEY root = HKEY_CLASSES_ROOT);
NavigationResult CancelNavigation(HKEY root = HKEY_CLASSES_ROOT);

// The menu commands: the program's own path; a failure is told to the user.
void setnavigation(HWND owner, HKEY root = HKEY_CLASSES_ROOT);
void cancelnavigation(HWND owner, HKEY root = HKEY_CLASSES_ROOT);

}  // namespace corvane
