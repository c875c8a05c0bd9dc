#include "common/text.h"

#include <cmath>
#include <cwchar>

#include "common/case_table.h"

namespace common {
namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
// ASCII first: most compared text is paths and keywords, and the tables are built on first use.
wchar_t Lower(wchar_t c) {
  if (c < 0x80) return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c;
  return MapCase(c, LowerCaseTable());
}
wchar_t Upper(wchar_t c) {
  if (c < 0x80) return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
  return MapCase(c, UpperCaseTable());
}
}  // namespace

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::wstring(s.substr(b, e - b));
}

std::wstring RTrim(std::wstring_view s) {
  size_t e = s.size();
  while (e > 0 && IsBlank(s[e - 1])) --e;
  return std::wstring(s.substr(0, e));
}

std::wstring ToLower(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r) c = Lower(c);
  return r;
}

std::wstring ToUpper(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r) c = Upper(c);
  return r;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

size_t FindNoCase(std::wstring_view hay, std::wstring_view needle, size_t from) {
  if (needle.empty()) return from <= hay.size() ? from : std::wstring_view::npos;
  if (needle.size() > hay.size()) return std::wstring_view::npos;
  for (size_t i = from; i + needle.size() <= hay.size(); ++i)
    if (EqualsNoCase(hay.substr(i, needle.size()), needle)) return i;
  return std::wstring_view::npos;
}

std::wstring ReplaceAll(std::wstring_view s, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(s);
  std::wstring r;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::wstring_view::npos; pos = hit + from.size()) {
    r.append(s.substr(pos, hit - pos));
    r.append(to);
  }
  r.append(s.substr(pos));
  return r;
}

std::wstring RemoveAll(std::wstring_view s, wchar_t c) {
  std::wstring r;
  r.reserve(s.size());
  for (wchar_t ch : s)
    if (ch != c) r.push_back(ch);
  return r;
}

std::vector<std::wstring> SplitLines(std::wstring_view s, LineEnds ends) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    bool crLf = s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n';
    bool loneCr = s[i] == L'\r' && !crLf && ends == LineEnds::AlsoLoneCr;
    if (s[i] != L'\n' && !crLf && !loneCr) continue;
    lines.emplace_back(s.substr(start, i - start));
    if (crLf) ++i;
    start = i + 1;
  }
  // A CR closing the text ends its last line either way.
  std::wstring_view last = s.substr(start);
  if (last.ends_with(L'\r')) last.remove_suffix(1);
  if (!last.empty()) lines.emplace_back(last);
  return lines;
}

std::wstring TrimNul(std::wstring_view s) {
  if (!s.empty() && s.back() == L'\0') s.remove_suffix(1);
  return std::wstring(s);
}

std::wstring CutAtNul(std::wstring_view s) {
  size_t nul = s.find(L'\0');
  return std::wstring(nul == std::wstring_view::npos ? s : s.substr(0, nul));
}

std::wstring FormatThousands(uint64_t n) {
  if (n == 0) return L"";
  std::wstring digits = std::to_wstring(n), r;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) r.push_back(L',');
    r.push_back(digits[i]);
  }
  return r;
}

namespace {
// Decimal notation only: an optional sign, digits, at most one point. The C library would also take
// hexadecimal ("0x2"), exponents and "inf", none of which a user means as a number here.
bool IsDecimal(std::wstring_view t) {
  size_t i = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
  bool digits = false, point = false;
  for (; i < t.size(); ++i) {
    if (t[i] >= L'0' && t[i] <= L'9') digits = true;
    else if (t[i] == L'.' && !point) point = true;
    else return false;
  }
  return digits;
}
}  // namespace

std::optional<double> ParseNumber(std::wstring_view s) {
  std::wstring t = Trim(s);
  if (!IsDecimal(t)) return std::nullopt;
  wchar_t* end = nullptr;
  double v = std::wcstod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

long long NumberOrZero(std::wstring_view s) {
  auto v = ParseNumber(s);
  if (!v || *v > 9.2e18 || *v < -9.2e18) return 0;
  return static_cast<long long>(*v);
}

std::wstring FileNameOf(std::wstring_view path) {
  size_t slash = path.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring FolderOf(std::wstring_view path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

std::wstring WithTrailingSlash(std::wstring_view folder) {
  std::wstring r(folder);
  if (r.empty() || r.back() != L'\\') r.push_back(L'\\');
  return r;
}

std::wstring ExtensionOf(std::wstring_view path) {
  std::wstring name = FileNameOf(path);
  size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

}  // namespace common
