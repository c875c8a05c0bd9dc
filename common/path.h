// Path rules: long paths and quoting for command lines.
#pragma once
#include <string>
#include <string_view>

namespace common {

// The form of a path that the wide file calls accept beyond 260 characters: absolute drive and UNC
// paths get the "\\?\" prefix; relative paths and already prefixed ones stay as they are.
std::wstring ExtendedPath(std::wstring_view path);
// One command-line argument, quoted so that CommandLineToArgvW gives back exactly the text.
std::wstring QuoteArg(std::wstring_view arg);

}  // namespace common
