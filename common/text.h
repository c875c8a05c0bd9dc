// Text rules shared by the three programs. Pure: no Windows headers, built and tested natively.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

std::wstring Trim(std::wstring_view s);
std::wstring RTrim(std::wstring_view s);
// Letter case is folded one UTF-16 unit at a time with the platform's own tables and no locale, as file
// systems and the registry compare names: "É" matches "é", "Ä" matches "ä", Chinese text is unchanged.
std::wstring ToLower(std::wstring_view s);
std::wstring ToUpper(std::wstring_view s);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
// Ordinal order ignoring case: negative, zero or positive.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix);
// Position of needle in hay ignoring case, or npos.
size_t FindNoCase(std::wstring_view hay, std::wstring_view needle, size_t from = 0);
std::wstring ReplaceAll(std::wstring_view s, std::wstring_view from, std::wstring_view to);
std::wstring RemoveAll(std::wstring_view s, wchar_t c);
// What ends a line: LF or CR LF (a lone CR stays in its line), or also a lone CR, as the browser reads its
// own files and commands' output.
enum class LineEnds { LfOrCrLf, AlsoLoneCr };
// The lines of a text without their ends; a last line without an end counts when it is not empty.
std::vector<std::wstring> SplitLines(std::wstring_view s, LineEnds ends = LineEnds::LfOrCrLf);
// Drops one trailing NUL, as texts read through fixed buffers may carry.
std::wstring TrimNul(std::wstring_view s);
// Cuts at the first NUL.
std::wstring CutAtNul(std::wstring_view s);
// Digits grouped by thousands, no decimals; zero gives an empty text (the "#,###" picture).
std::wstring FormatThousands(uint64_t n);
// A number in decimal notation (sign, digits, one point), blanks around allowed; nullopt for anything else
// (empty text, hexadecimal and exponents included).
std::optional<double> ParseNumber(std::wstring_view s);
// The settings-store and form rule: a non-numeric text reads as 0.
long long NumberOrZero(std::wstring_view s);
std::wstring FileNameOf(std::wstring_view path);
// Folder part of a path without its trailing separator (empty when there is none).
std::wstring FolderOf(std::wstring_view path);
// Adds a trailing "\" unless the text already ends in one.
std::wstring WithTrailingSlash(std::wstring_view folder);
// Extension without the dot, or empty.
std::wstring ExtensionOf(std::wstring_view path);

}  // namespace common
