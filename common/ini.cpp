#include "common/ini.h"

#include "common/text.h"

namespace common {

std::optional<std::wstring> IniValue(std::wstring_view text, std::wstring_view section, std::wstring_view key) {
  bool inSection = false, seen = false;
  for (const std::wstring& raw : SplitLines(text)) {
    std::wstring line = Trim(raw);
    if (line.empty() || line[0] == L';') continue;
    if (line[0] == L'[') {
      if (seen) return std::nullopt;  // only the first section of the name counts
      size_t close = line.find(L']');
      inSection = close != std::wstring::npos && EqualsNoCase(Trim(line.substr(1, close - 1)), Trim(section));
      seen = inSection;
      continue;
    }
    size_t eq = line.find(L'=');
    if (!inSection || eq == std::wstring::npos || !EqualsNoCase(Trim(line.substr(0, eq)), Trim(key))) continue;
    std::wstring value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::nullopt;
}

}  // namespace common
