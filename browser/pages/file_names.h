// Names the user types that become file names in the browser's own folders (favorite titles, group
// names): what a single file name may hold on the platform, whatever folder it lands in.
#pragma once
#include <string>
#include <string_view>

namespace corvane {

// Longest name part kept before the extension: the file's name, its ".new" companion and the folder
// must still fit the platform's limits.
constexpr size_t kMaxNamePart = 200;

// A character no file name may hold: "\ / : * ? " < > |" and the control characters.
bool IsForbiddenNameChar(wchar_t c);
// The platform's device names ("CON", "NUL", "COM1", "LPT9", ...) are taken whatever extension follows
// them: true when the part before the first dot, blanks after it ignored, is one of them.
bool IsDeviceName(std::wstring_view name);
// The name with "_" right after its device word, before any blanks or extension, so that a cut cannot take
// it away ("CON.txt" gives "CON_.txt"); any other name as it is.
std::wstring NotADevice(std::wstring name);
// Nothing but dots and blanks: "." and ".." name folders, not files.
bool IsOnlyDots(std::wstring_view name);

}  // namespace corvane
