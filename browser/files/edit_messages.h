// What the browser's editors (block list, groups) say when a file cannot be saved over.
#pragma once
#include <string>
#include <string_view>

namespace corvane {

// Why an editor will not write its file: what it read is not the whole file as it stands.
enum class EditBlock { kNone, kUnreadable, kTooLarge, kNotExact, kHoldsNul };

// The file could not be read whole, so a save would lose what the editor never saw.
std::wstring NotEditableMessage(std::wstring_view path, EditBlock why);
// A line holds a character the file's form cannot store; nothing was written.
std::wstring NotHeldMessage(std::wstring_view path, std::wstring_view line);
// The write itself failed; the old file stands.
std::wstring WriteFailedMessage(std::wstring_view path);

}  // namespace corvane
