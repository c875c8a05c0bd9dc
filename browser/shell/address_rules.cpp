#include "browser/shell/address_rules.h"

#include <cwctype>

#include "common/text.h"

namespace corvane {
namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// "xxx:" at the start, xxx a letter followed by letters, digits, "+", "-" or ".".
bool HasScheme(std::wstring_view t) {
  size_t colon = t.find(L':');
  if (colon == std::wstring_view::npos || colon == 0 || !IsAsciiLetter(t[0])) return false;
  for (size_t i = 1; i < colon; ++i)
    if (!IsAsciiLetter(t[i]) && !IsAsciiDigit(t[i]) && t[i] != L'+' && t[i] != L'-' && t[i] != L'.') return false;
  return true;
}

// "localhost" or "name:port", each with an optional path.
bool IsLocalHost(std::wstring_view t) {
  std::wstring_view host = t.substr(0, t.find(L'/'));
  if (common::EqualsNoCase(host, L"localhost")) return true;
  size_t colon = host.find(L':');
  if (colon == std::wstring_view::npos || colon == 0 || colon + 1 == host.size()) return false;
  for (size_t i = colon + 1; i < host.size(); ++i)
    if (!IsAsciiDigit(host[i])) return false;
  return true;
}

bool HasBlank(std::wstring_view t) {
  for (wchar_t c : t)
    if (std::iswspace(c)) return true;
  return false;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string Utf8(std::wstring_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = char32_t(s[i]);
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(s[++i]) - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;  // a lone surrogate half
    AppendUtf8(out, c);
  }
  return out;
}

// The address without its query and fragment: its folders are those of its path.
std::wstring_view PathPart(std::wstring_view address) { return address.substr(0, address.find_first_of(L"?#")); }

// A local path or an address that names its scheme may hold blanks: "C:\Program Files\x", "\\server\share",
// "file:///C:/My Documents/x". A scheme followed by a blank ("note: buy") is a word.
bool IsPathOrSchemeAddress(std::wstring_view t) {
  if (t.substr(0, 2) == L"\\\\") return true;
  if (t.size() >= 3 && IsAsciiLetter(t[0]) && t[1] == L':' && (t[2] == L'\\' || t[2] == L'/')) return true;
  size_t colon = t.find(L':');
  return HasScheme(t) && colon + 1 < t.size() && !std::iswspace(t[colon + 1]);
}

}  // namespace

bool IsAddressText(std::wstring_view text) {
  if (text.find(L'.') != std::wstring_view::npos || IsPathOrSchemeAddress(text)) return true;
  return !HasBlank(text) && (HasScheme(text) || IsLocalHost(text));
}

std::wstring GoAddress(std::wstring_view text, std::wstring_view searchSite) {
  std::wstring t = common::Trim(text);
  if (t.empty()) return t;
  if (IsAddressText(t) || searchSite.empty()) return t;
  return std::wstring(searchSite) + kDefaultSearchQuery + EncodeWord(t);
}

std::wstring EncodeWord(std::wstring_view word) {
  static const char kHex[] = "0123456789ABCDEF";
  std::wstring out;
  for (unsigned char b : Utf8(word)) {
    if (IsAsciiLetter(b) || IsAsciiDigit(b) || b == '-' || b == '_' || b == '.' || b == '~') {
      out += wchar_t(b);
    } else {
      out += L'%';
      out += wchar_t(kHex[b >> 4]);
      out += wchar_t(kHex[b & 15]);
    }
  }
  return out;
}

std::array<std::wstring, kUpItems> ParentItems(std::wstring_view address) {
  std::array<std::wstring, kUpItems> items;
  std::wstring_view s = PathPart(address);
  if (!s.empty() && s.back() == L'/') s.remove_suffix(1);
  int last = -1;
  for (int n = 0; n < kUpItems; ++n) {
    size_t slash = s.rfind(L'/');
    if (slash == std::wstring_view::npos || slash + 1 < 10) break;
    items[n] = std::wstring(s.substr(0, slash + 1));
    last = n;
    s = s.substr(0, slash);
  }
  // The same site under its "www" name.
  std::wstring_view from = last >= 0 ? std::wstring_view(items[last]) : PathPart(address);
  size_t start = from.find(L"//");
  if (start == std::wstring_view::npos) return items;
  std::wstring_view rest = from.substr(start + 2);
  size_t dot = rest.find(L'.');
  if (rest.substr(0, 3) == L"www" || dot == std::wstring_view::npos) return items;
  std::wstring www = L"http://www" + std::wstring(rest.substr(dot));
  if (www.size() >= 17 && last + 2 < kUpItems) items[last + 2] = www;
  return items;
}

}  // namespace corvane
