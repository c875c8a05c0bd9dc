// The two commands of "缺省浏览器": make the browser the one that opens web addresses, and give that role
// back. The first keeps what it replaces in the settings store; the second puts exactly that back, but
// only into a value that still holds what the first wrote: a browser registered since keeps its own.
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

inline constexpr wchar_t kNavigationTakenOver[] =
    L"网页的打开方式已经被其他浏览器改过，保持不变；原来保存的设置已经删除。";
inline constexpr wchar_t kNavigationNotSaved[] =
    L"没有找到设置之前的默认浏览器记录，无法恢复原来的浏览器：网页仍然由【Corvane安全浏览器】打开。"
    L"请在系统的默认程序设置中选择其他浏览器。";

// kTakenOver: a value another program wrote since was left as it is (the record is dropped all the same).
// kOursUnsaved: nothing was saved, yet the open command is the browser's own.
enum class NavigationResult { kDone, kNothingSaved, kFailed, kTakenOver, kOursUnsaved };

// Keys are taken under `root` (HKEY_CLASSES_ROOT in the program). exePath: the browser whose command is
// ours (the running program when empty).
NavigationResult SetNavigation(const std::wstring& exePath, HKEY root = HKEY_CLASSES_ROOT);
NavigationResult CancelNavigation(HKEY root = HKEY_CLASSES_ROOT, const std::wstring& exePath = L"");

// The menu commands: the program's own path; a failure is told to the user.
void setnavigation(HWND owner, HKEY root = HKEY_CLASSES_ROOT);
void cancelnavigation(HWND owner, HKEY root = HKEY_CLASSES_ROOT);

}  // namespace corvane
