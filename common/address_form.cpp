#include "common/address_form.h"

#include <cstdint>
#include <vector>

#include "common/text.h"
#include "common/text_codec.h"

namespace common {
namespace {

constexpr uint32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700;

std::u32string CodePoints(std::wstring_view s) {
  std::u32string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = uint32_t(s[i]);
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (uint32_t(s[++i]) - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    out += char32_t(c);
  }
  return out;
}

uint32_t Adapt(uint64_t delta, uint64_t points, bool first) {
  delta = first ? delta / kDamp : delta / 2;
  delta += delta / points;
  uint32_t k = 0;
  while (delta > ((kBase - kTMin) * kTMax) / 2) {
    delta /= kBase - kTMin;
    k += kBase;
  }
  return uint32_t(k + (kBase - kTMin + 1) * delta / (delta + kSkew));
}

wchar_t Digit(uint32_t d) { return wchar_t(d < 26 ? L'a' + d : L'0' + d - 26); }

bool IsAscii(std::wstring_view s) {
  for (wchar_t c : s)
    if (uint32_t(c) >= 0x80) return false;
  return true;
}

std::wstring PercentEncoded(std::wstring_view s) {
  static const wchar_t hex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (char32_t c : CodePoints(s)) {
    if (c < 0x80) {
      out += wchar_t(c);
      continue;
    }
    std::wstring one;
    if (c >= 0x10000) {
      one += wchar_t(0xD800 + ((c - 0x10000) >> 10));
      one += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      one += wchar_t(c);
    }
    for (char b : ToUtf8(one).value_or("\xEF\xBF\xBD")) {
      out += L'%';
      out += hex[uint8_t(b) >> 4];
      out += hex[uint8_t(b) & 15];
    }
  }
  return out;
}

std::wstring AsciiHost(std::wstring_view host) {
  std::wstring dotted(host);
  for (wchar_t& c : dotted)
    if (c == L'\x3002' || c == L'\xFF0E' || c == L'\xFF61') c = L'.';  // the full-width dots part labels too
  std::wstring out;
  for (size_t start = 0;;) {
    size_t dot = dotted.find(L'.', start);
    std::wstring label = dotted.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
    if (IsAscii(label)) {
      out += label;
    } else if (auto code = Punycode(ToLower(label))) {
      out += L"xn--" + *code;
    } else {
      out += PercentEncoded(label);
    }
    if (dot == std::wstring::npos) return out;
    out += L'.';
    start = dot + 1;
  }
}

bool IsLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Length of "scheme:" at the start, 0 when there is none.
size_t SchemeLength(std::wstring_view a) {
  if (a.empty() || !IsLetter(a[0])) return 0;
  for (size_t i = 1; i < a.size(); ++i) {
    wchar_t c = a[i];
    if (c == L':') return i + 1;
    if (!IsLetter(c) && !(c >= L'0' && c <= L'9') && c != L'+' && c != L'-' && c != L'.') return 0;
  }
  return 0;
}

}  // namespace

std::optional<std::wstring> Punycode(std::wstring_view label) {
  std::u32string input = CodePoints(label);
  std::wstring out;
  for (char32_t c : input)
    if (c < 0x80) out += wchar_t(c);
  uint64_t b = out.size(), h = b;
  if (b > 0) out += L'-';
  uint64_t n = 0x80, delta = 0;
  uint32_t bias = 72;
  while (h < input.size()) {
    uint64_t m = UINT32_MAX;
    for (char32_t c : input)
      if (c >= n && c < m) m = c;
    delta += (m - n) * (h + 1);
    if (delta > UINT32_MAX) return std::nullopt;
    n = m;
    for (char32_t c : input) {
      if (c < n && ++delta > UINT32_MAX) return std::nullopt;
      if (c != n) continue;
      uint64_t q = delta;
      for (uint32_t k = kBase;; k += kBase) {
        uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
        if (q < t) break;
        out += Digit(uint32_t(t + (q - t) % (kBase - t)));
        q = (q - t) / (kBase - t);
      }
      out += Digit(uint32_t(q));
      bias = Adapt(delta, h + 1, h == b);
      delta = 0;
      ++h;
    }
    ++delta;
    ++n;
  }
  return out;
}

std::wstring AsciiAddress(std::wstring_view address) {
  if (IsAscii(address)) return std::wstring(address);
  size_t scheme = SchemeLength(address);
  bool authority = address.substr(scheme, 2) == L"//";
  if (scheme > 0 && !authority) return std::wstring(address.substr(0, scheme)) + PercentEncoded(address.substr(scheme));
  size_t hostFrom = scheme + (authority ? 2 : 0);
  size_t hostEnd = address.find_first_of(L"/?#\\", hostFrom);
  if (hostEnd == std::wstring_view::npos) hostEnd = address.size();
  std::wstring_view auth = address.substr(hostFrom, hostEnd - hostFrom);
  size_t at = auth.rfind(L'@');
  std::wstring_view user = at == std::wstring_view::npos ? std::wstring_view() : auth.substr(0, at + 1);
  std::wstring_view hostPort = at == std::wstring_view::npos ? auth : auth.substr(at + 1);
  bool bracketed = !hostPort.empty() && hostPort.front() == L'[';  // an IPv6 literal holds ":" itself
  size_t colon = bracketed ? hostPort.find(L"]:") : hostPort.rfind(L':');
  if (colon != std::wstring_view::npos && bracketed) ++colon;
  std::wstring_view host = colon == std::wstring_view::npos ? hostPort : hostPort.substr(0, colon);
  std::wstring_view port = colon == std::wstring_view::npos ? std::wstring_view() : hostPort.substr(colon);
  return std::wstring(address.substr(0, hostFrom)) + PercentEncoded(user) + AsciiHost(host) + PercentEncoded(port) +
         PercentEncoded(address.substr(hostEnd));
}

}  // namespace common
