#include "browser/tools/ping_target.h"

#include <vector>

namespace corvane {
namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsHex(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

std::vector<std::wstring_view> Split(std::wstring_view s, wchar_t sep) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (;;) {
    size_t at = s.find(sep, start);
    parts.push_back(s.substr(start, at == std::wstring_view::npos ? std::wstring_view::npos : at - start));
    if (at == std::wstring_view::npos) return parts;
    start = at + 1;
  }
}

bool AllDigits(std::wstring_view s) {
  for (wchar_t c : s)
    if (!IsDigit(c)) return false;
  return !s.empty();
}

bool IsLabel(std::wstring_view label) {
  if (label.empty() || label.size() > 63 || label.front() == L'-' || label.back() == L'-') return false;
  for (wchar_t c : label)
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != L'-') return false;
  return true;
}

// Groups of an IPv6 address without "::": each one to four hex digits.
bool HexGroups(std::wstring_view s, size_t& groups) {
  groups = 0;
  if (s.empty()) return true;
  for (std::wstring_view g : Split(s, L':')) {
    if (g.empty() || g.size() > 4) return false;
    for (wchar_t c : g)
      if (!IsHex(c)) return false;
    ++groups;
  }
  return true;
}

}  // namespace

std::wstring CutHost(std::wstring_view address) {
  std::wstring_view s = address;
  size_t scheme = s.find(L"://");
  if (scheme != std::wstring_view::npos) s.remove_prefix(scheme + 3);
  s = s.substr(0, s.find_first_of(L"/?#\\"));
  size_t at = s.rfind(L'@');
  if (at != std::wstring_view::npos) s.remove_prefix(at + 1);
  if (!s.empty() && s.front() == L'[') {
    size_t close = s.find(L']');
    return std::wstring(close == std::wstring_view::npos ? s.substr(1) : s.substr(1, close - 1));
  }
  // One ":" ends the host at its port; more than one is an IPv6 address written without brackets.
  size_t colon = s.find(L':');
  if (colon != std::wstring_view::npos && s.find(L':', colon + 1) == std::wstring_view::npos) s = s.substr(0, colon);
  return std::wstring(s);
}

bool IsIPv4(std::wstring_view host) {
  std::vector<std::wstring_view> parts = Split(host, L'.');
  if (parts.size() != 4) return false;
  for (std::wstring_view p : parts) {
    if (!AllDigits(p) || p.size() > 3 || std::stoi(std::wstring(p)) > 255) return false;
  }
  return true;
}

bool IsHostName(std::wstring_view host) {
  if (!host.empty() && host.back() == L'.') host.remove_suffix(1);  // the root's dot
  if (host.empty() || host.size() > 253) return false;
  bool numeric = true;
  for (std::wstring_view label : Split(host, L'.')) {
    if (!IsLabel(label)) return false;
    numeric = numeric && AllDigits(label);
  }
  return !numeric || IsIPv4(host);
}

bool IsIPv6(std::wstring_view host) {
  size_t zone = host.find(L'%');
  if (zone != std::wstring_view::npos) {
    if (!AllDigits(host.substr(zone + 1))) return false;
    host = host.substr(0, zone);
  }
  if (host.size() < 2) return false;
  // A dotted IPv4 end counts as two groups.
  size_t extra = 0;
  size_t lastColon = host.rfind(L':');
  if (lastColon != std::wstring_view::npos && host.find(L'.', lastColon) != std::wstring_view::npos) {
    if (!IsIPv4(host.substr(lastColon + 1))) return false;
    host = host.substr(0, lastColon + 1);
    extra = 2;
    // "::1.2.3.4" keeps its "::"; "x:1.2.3.4" keeps "x" alone.
    if (host.size() < 2 || host.substr(host.size() - 2) != L"::") host.remove_suffix(1);
  }
  size_t gap = host.find(L"::");
  size_t head = 0, tail = 0;
  if (gap == std::wstring_view::npos) {
    if (!HexGroups(host, head)) return false;
    return head + extra == 8;
  }
  if (host.find(L"::", gap + 1) != std::wstring_view::npos) return false;
  if (!HexGroups(host.substr(0, gap), head) || !HexGroups(host.substr(gap + 2), tail)) return false;
  return head + tail + extra <= 7;
}

std::optional<std::wstring> AcceptedHost(std::wstring_view host) {
  if (IsIPv6(host) || IsHostName(host)) return std::wstring(host);
  return std::nullopt;
}

std::optional<std::wstring> PingHostOf(std::wstring_view address) { return AcceptedHost(CutHost(address)); }

}  // namespace corvane
