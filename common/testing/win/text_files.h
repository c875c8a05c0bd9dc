// Files in tests: bytes and texts read and written through the suite's own text-file layer.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace suite {

// The ANSI bytes of a test text ("<not in the code page>" for one the code page cannot hold, so that a
// comparison fails instead of passing on a lossy form).
std::string Ansi(std::wstring_view text);
std::optional<std::string> ReadBytes(const std::wstring& path);
// The text of a file, read by its form; nullopt when it cannot be read.
std::optional<std::wstring> ReadText(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
// In the ANSI code page.
bool WriteText(const std::wstring& path, std::wstring_view text);

}  // namespace suite
