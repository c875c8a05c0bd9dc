// Every message box of a program goes through here: the program's title and icon, and answers that
// tests can give instead of a person.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace common {

void SetAppTitle(const std::wstring& title);
const std::wstring& AppTitle();
// Shows a modal message box with the program's title (or the given one); returns IDOK, IDCANCEL, ...
int MsgBox(HWND owner, const std::wstring& text, UINT flags, const std::wstring& title = L"");

// Tests: answers message boxes without showing them. The hook sees text, title and flags.
using MsgBoxHook = std::function<int(const std::wstring& text, const std::wstring& title, UINT flags)>;
void SetMsgBoxHook(MsgBoxHook hook);

}  // namespace common
