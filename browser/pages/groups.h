// Site groups: named lists of addresses kept as "name.txt" files in the browser's "group" folder, one
// address per line, opened together one window per address.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The editor refuses a new group when its tree holds more nodes than this (the root included).
constexpr int kMaxEditorNodes = 30;
// Group menu positions that carry the folder picture.
constexpr int kFirstGroupBitmapPosition = 3;
constexpr int kLastGroupBitmapPosition = 33;
// A saved group file of this size or more is not replaced by "save all windows".
constexpr long long kGroupExistsBytes = 11;

inline constexpr wchar_t kGroupRootKey[] = L"group";
inline constexpr wchar_t kGroupRootText[] = L"网站群组";

// The group's name of a listed entry ("x.txt" gives "x"); nullopt for "." and "..", and for names that
// only matched the pattern through their short form.
std::optional<std::wstring> GroupNameOf(std::wstring_view entry);
// True when the name makes one plain file in the group folder: not empty, no "\ / : * ? " < > |" or
// control characters, not only dots and blanks, no device name, not too long.
bool IsPlainGroupName(std::wstring_view name);

// Every address of a group file: its lines that are not blank, without their surrounding blanks.
std::vector<std::wstring> GroupAddresses(std::wstring_view text);
// The file "save all windows" writes: each address that is not empty or "about:blank", followed by an
// empty line.
std::wstring FormatSavedGroup(const std::vector<std::wstring>& addresses);
// The editor's text as the editor shows a group file: every line that is not empty, each ended by a line
// break.
std::wstring EditorText(std::wstring_view fileText);
// The file the editor writes: its text unchanged and one line break more.
std::wstring FormatEditorGroup(std::wstring_view editorText);
// A group's text for a file whose form cannot hold every address: each line `held` refuses becomes the
// same address in ASCII, every other line stays as it is.
std::wstring HeldAddresses(std::wstring_view text, const std::function<bool(std::wstring_view line)>& held);

// Messages.
std::wstring GroupExistsMessage(std::wstring_view name);
std::wstring GroupNameRefusedMessage(std::wstring_view name);
std::wstring GroupChangedQuestion(std::wstring_view name);
std::wstring GroupDeleteQuestion(std::wstring_view name);
std::wstring GroupWriteFailedMessage(std::wstring_view name);
std::wstring GroupRenameFailedMessage(std::wstring_view name);
std::wstring GroupDeleteFailedMessage(std::wstring_view name);
// The status text when a group held more addresses than the window table could take.
std::wstring GroupNotOpenedStatus(std::wstring_view name, int notOpened);

}  // namespace corvane
