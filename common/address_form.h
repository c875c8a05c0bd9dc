// The form of a web address that every code page can store: the same page, in ASCII only.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Host labels outside ASCII in their punycode form ("xn--"), every other character outside ASCII as
// percent-encoded UTF-8. ASCII text is left exactly as it is.
std::wstring AsciiAddress(std::wstring_view address);
// One host label in punycode, without the "xn--"; nullopt when it cannot be encoded.
std::optional<std::wstring> Punycode(std::wstring_view label);

}  // namespace common
