// Reading "[section]" / "key=value" texts (notes files written by hand or by other programs).
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace common {

// The value of key in the first section of that name, both compared ignoring case and blanks; the value
// without the blanks around it or the quotes that enclose it. nullopt when there is no such key.
std::optional<std::wstring> IniValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);

}  // namespace common
