// Rules of the address bar: what a typed text opens, the parent-folder items of an address and the
// search word inside a search address.
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace corvane {

// Path and query of the default search site that a typed word goes to.
inline constexpr wchar_t kDefaultSearchQuery[] = L"/s?wd=";
constexpr int kUpItems = 9;

// True when the text is to be opened as it stands: it holds a dot, is a drive or "\\" path, begins with a
// scheme ("about:", "http:", "c:") followed by no blank, or names "localhost" or a host with a port; a path
// or a scheme's address may hold blanks. Anything else is a word to search for.
bool IsAddressText(std::wstring_view text);

// gourl: the address to open for a typed text; a word becomes a search at searchSite (the default search
// site's address without a trailing "/"; empty: the text as typed). Empty when there is nothing to open.
std::wstring GoAddress(std::wstring_view text, std::wstring_view searchSite);

// The word as a query value: its UTF-8 bytes percent-encoded, letters, digits and "-_.~" kept.
std::wstring EncodeWord(std::wstring_view word);

// The texts of the items "Up1".."Up9" for an address; an empty text is a hidden item. Item 1 is the
// address's folder, each next one the folder above, down to the host's root; two places after the last
// one, the address with its host's first name part replaced by "www", when that differs and is long enough.
std::array<std::wstring, kUpItems> ParentItems(std::wstring_view address);

}  // namespace corvane
