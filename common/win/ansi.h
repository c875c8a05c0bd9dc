// The one place where text crosses the ANSI code page: stored text files and character-code passwords.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace common {

std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);

// Whole file as bytes; nullopt when it cannot be read (a missing file is not an empty one).
std::optional<std::string> ReadFileBytes(const std::wstring& path);
std::optional<std::wstring> ReadAnsiFile(const std::wstring& path);
// Writes a new file beside the old one and then replaces it, so a crash leaves the old or the new
// file complete, never half of one. False when any step failed.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);
bool WriteAnsiFile(const std::wstring& path, std::wstring_view text);

}  // namespace common
