// Texts of a file's version resource (the values Explorer shows as company, description, ...).
#pragma once
#include <optional>
#include <string>

namespace common {

struct VersionTexts {
  std::wstring company, description, fileVersion, product, productVersion, copyright, originalName;
};

// nullopt when the file has no readable version resource.
std::optional<VersionTexts> ReadVersionTexts(const std::wstring& path);

}  // namespace common
