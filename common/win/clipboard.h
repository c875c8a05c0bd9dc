// Plain text on the clipboard.
#pragma once
#include <windows.h>

#include <string>

namespace common {

// Clears the clipboard and puts the text on it. False when the clipboard could not be had.
bool SetClipboardText(HWND owner, const std::wstring& text);
// The clipboard's text, or empty.
std::wstring GetClipboardText();

}  // namespace common
