// Path rules: long paths, joining, and quoting for command lines.
#pragma once
#include <string>
#include <string_view>

namespace common {

// The form of a path that the wide file calls accept beyond 260 characters: "." and ".." resolved, "/"
// read as "\", a relative path taken from the current folder (as the platform resolves it), then the
// "\\?\" prefix. Already prefixed paths stay as they are. Built on the platform: Windows only.
std::wstring ExtendedPath(std::wstring_view path);
// True when the platform must resolve the path first: relative, or holding "/", "." or ".." parts or
// doubled separators. A plain absolute path is only prefixed, so that names the resolving would change
// (a trailing dot or blank) still reach the file calls as they are.
bool NeedsResolving(std::wstring_view path);
// "\\?\" (or "\\?\UNC\") before an absolute drive or UNC path; anything else unchanged.
std::wstring AddExtendedPrefix(std::wstring_view fullPath);
// folder + "\" + file (file may start with its "\"), without doubling the separator at a drive root.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view file);
// Always, or only when the argument would not come back whole unquoted (empty, or holding a blank, tab or
// quote): values stored bare by earlier versions stay bare, and a blank never lets Windows split a path.
enum class Quoting { Always, WhenNeeded };
// One command-line argument, quoted so that CommandLineToArgvW gives back exactly the text.
std::wstring QuoteArg(std::wstring_view arg, Quoting quoting = Quoting::Always);

}  // namespace common
