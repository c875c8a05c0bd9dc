// Where the tool window's text goes besides the screen: a file chosen in the save dialog, the printer.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace corvane {

// The save dialog: filter as "name|patterns|name|patterns", the proposed file name; nullopt when cancelled.
std::optional<std::wstring> AskSaveName(HWND owner, const std::wstring& filter, const std::wstring& proposed);
// Tests answer the dialog instead of a person (the hook sees the filter and the proposed name).
using SaveDialogHook = std::function<std::optional<std::wstring>(const std::wstring& filter, const std::wstring& proposed)>;
void SetSaveDialogHook(SaveDialogHook hook);

// Writes the text followed by CR LF, in the system code page when it holds every character and as UTF-8
// (with its mark) otherwise, so nothing is lost. False when the file could not be written.
bool WriteTextLine(const std::wstring& path, const std::wstring& text);

// Prints the text on the default printer, lines wrapped to the page, and ends the job. False when there is
// no default printer or the job failed.
bool PrintText(const std::wstring& text, const std::wstring& document);

}  // namespace corvane
