#include "common/text_codec.h"

#include <cstring>

namespace common {
namespace {

constexpr wchar_t kBad = 0xFFFD;
constexpr uint32_t kEscapeFirst = 0xDC80, kEscapeLast = 0xDCFF;

uint8_t At(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }
bool IsEscape(wchar_t c) { return uint32_t(c) >= kEscapeFirst && uint32_t(c) <= kEscapeLast; }
wchar_t Escape(uint8_t b) { return wchar_t(kEscapeFirst + (b - 0x80)); }

// One code point in the platform's wide form: a surrogate pair where wide characters have 16 bits.
void PutCodePoint(std::wstring& out, size_t& o, uint32_t c) {
  if (sizeof(wchar_t) == 2 && c >= 0x10000) {
    out[o++] = wchar_t(0xD800 + ((c - 0x10000) >> 10));
    out[o++] = wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    out[o++] = wchar_t(c);
  }
}

// Length of the valid UTF-8 sequence at i, 0 when it is not one (overlong forms, surrogates and values
// past U+10FFFF included).
size_t Utf8Length(std::string_view s, size_t i) {
  uint8_t b = At(s, i);
  if (b < 0x80) return 1;
  size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  uint8_t b1 = At(s, i + 1);
  uint8_t lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
  uint8_t hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
  if (b1 < lo || b1 > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if ((At(s, i + k) & 0xC0) != 0x80) return 0;
  return n;
}

// Eight ASCII bytes at once: most text is mostly ASCII.
bool AsciiWord(std::string_view s, size_t i) {
  uint64_t w;
  std::memcpy(&w, s.data() + i, 8);
  return (w & 0x8080808080808080ull) == 0;
}

// escapeBad: a byte that starts no character becomes its escape instead of U+FFFD.
void DecodeUtf8(std::string_view s, std::wstring& out, bool escapeBad) {
  out.resize(s.size());
  size_t o = 0, i = 0;
  while (i < s.size()) {
    if (i + 8 <= s.size() && AsciiWord(s, i)) {
      for (size_t k = 0; k < 8; ++k) out[o++] = wchar_t(At(s, i + k));
      i += 8;
      continue;
    }
    size_t n = Utf8Length(s, i);
    if (n == 0) {
      out[o++] = escapeBad ? Escape(At(s, i)) : kBad;
      ++i;
      continue;
    }
    uint32_t c = n == 1 ? At(s, i) : At(s, i) & (0xFF >> (n + 1));
    for (size_t k = 1; k < n; ++k) c = (c << 6) | (At(s, i + k) & 0x3F);
    PutCodePoint(out, o, c);
    i += n;
  }
  out.resize(o);
}

void DecodeUtf16(std::string_view s, bool bigEndian, std::wstring& out) {
  out.resize(s.size() / 2 + s.size() % 2);
  auto unit = [&](size_t i) -> uint32_t {
    return bigEndian ? uint32_t(At(s, i) << 8 | At(s, i + 1)) : uint32_t(At(s, i + 1) << 8 | At(s, i));
  };
  size_t o = 0;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    uint32_t c = unit(i);
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 3 < s.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF;
    if (sizeof(wchar_t) == 4 && pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    }
    out[o++] = wchar_t(c);
  }
  if (s.size() % 2) out[o++] = kBad;
  out.resize(o);
}

void AppendUtf8(std::string& r, uint32_t c) {
  if (c < 0x80) {
    r += char(c);
  } else if (c < 0x800) {
    r += char(0xC0 | c >> 6);
    r += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    r += char(0xE0 | c >> 12);
    r += char(0x80 | ((c >> 6) & 0x3F));
    r += char(0x80 | (c & 0x3F));
  } else {
    r += char(0xF0 | c >> 18);
    r += char(0x80 | ((c >> 12) & 0x3F));
    r += char(0x80 | ((c >> 6) & 0x3F));
    r += char(0x80 | (c & 0x3F));
  }
}

// keepEscapes: an escape becomes its byte again; any other unpaired surrogate cannot be written.
std::optional<std::string> EncodeUtf8(std::wstring_view t, bool keepEscapes) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    uint32_t c = uint32_t(t[i]);
    if (c > 0x10FFFF) return std::nullopt;
    if (keepEscapes && IsEscape(t[i])) {
      r += char(0x80 + (c - kEscapeFirst));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c > 0xDBFF || i + 1 >= t.size() || t[i + 1] < 0xDC00 || t[i + 1] > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (t[++i] - 0xDC00);
    }
    AppendUtf8(r, c);
  }
  return r;
}

std::optional<std::string> EncodeUtf16(std::wstring_view t, bool bigEndian) {
  std::string r;
  r.reserve(t.size() * 2);
  auto put = [&](uint32_t unit) {
    char hi = char(unit >> 8), lo = char(unit & 0xFF);
    r += bigEndian ? hi : lo;
    r += bigEndian ? lo : hi;
  };
  for (wchar_t ch : t) {
    uint32_t c = uint32_t(ch);
    if (c > 0x10FFFF) return std::nullopt;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return r;
}

// The code page's form of each character, checked by converting back; a byte that gives no character
// which converts back to it becomes its escape.
std::wstring DecodeAnsiExactly(std::string_view s, const CodePage& cp) {
  std::wstring out;
  cp.Decode(s, out);
  bool hasEscape = false;
  for (wchar_t c : out) hasEscape = hasEscape || IsEscape(c);
  if (!hasEscape && cp.Encode(out) == s) return out;
  out.clear();
  std::wstring piece;
  for (size_t i = 0; i < s.size();) {
    uint8_t b = At(s, i);
    if (b < 0x80) {
      out += wchar_t(b);
      ++i;
      continue;
    }
    size_t n = cp.IsLeadByte(b) && i + 1 < s.size() ? 2 : 1;
    std::string_view bytes = s.substr(i, n);
    cp.Decode(bytes, piece);
    bool exact = piece.size() == 1 && !IsEscape(piece[0]) && cp.Encode(piece) == bytes;
    out += exact ? piece : std::wstring(1, Escape(b));
    i += exact ? n : 1;
  }
  return out;
}

std::optional<std::string> EncodeAnsiExactly(std::wstring_view t, const CodePage& cp) {
  std::string r;
  size_t from = 0;
  for (size_t i = 0; i <= t.size(); ++i) {
    if (i < t.size() && !IsEscape(t[i])) continue;
    if (i > from) {
      auto part = cp.Encode(t.substr(from, i - from));
      if (!part) return std::nullopt;
      r += *part;
    }
    if (i < t.size()) r += char(0x80 + (uint32_t(t[i]) - kEscapeFirst));
    from = i + 1;
  }
  return r;
}

std::optional<std::string> EncodeBody(std::wstring_view text, Encoding encoding, const CodePage& cp) {
  switch (encoding) {
    case Encoding::Utf8: return EncodeUtf8(text, true);
    case Encoding::Utf16Le: return EncodeUtf16(text, false);
    case Encoding::Utf16Be: return EncodeUtf16(text, true);
    case Encoding::Ansi: break;
  }
  return EncodeAnsiExactly(text, cp);
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (i + 8 <= bytes.size() && AsciiWord(bytes, i)) {
      i += 8;
      continue;
    }
    size_t n = Utf8Length(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

TextFormat DetectMark(std::string_view b) {
  if (b.size() >= 2 && At(b, 0) == 0xFF && At(b, 1) == 0xFE) return {Encoding::Utf16Le, 2};
  if (b.size() >= 2 && At(b, 0) == 0xFE && At(b, 1) == 0xFF) return {Encoding::Utf16Be, 2};
  if (b.size() >= 3 && At(b, 0) == 0xEF && At(b, 1) == 0xBB && At(b, 2) == 0xBF) return {Encoding::Utf8, 3};
  return {Encoding::Ansi, 0};
}

// ASCII alone says nothing: such a file is the code page's, so that a later non-ASCII character goes in
// the form every reader of the code page expects.
TextFormat DetectFormat(std::string_view b) {
  TextFormat marked = DetectMark(b);
  if (marked.markBytes > 0) return marked;
  bool nonAscii = false;
  for (size_t i = 0; i < b.size() && !nonAscii; ++i) nonAscii = At(b, i) >= 0x80;
  return nonAscii && IsValidUtf8(b) ? TextFormat{Encoding::Utf8, 0} : TextFormat{Encoding::Ansi, 0};
}

std::string MarkOf(const TextFormat& format) {
  if (format.markBytes == 0) return {};
  switch (format.encoding) {
    case Encoding::Utf8: return "\xEF\xBB\xBF";
    case Encoding::Utf16Le: return "\xFF\xFE";
    case Encoding::Utf16Be: return "\xFE\xFF";
    case Encoding::Ansi: break;
  }
  return {};
}

void DecodeText(std::string_view bytes, const TextFormat& format, const CodePage& cp, std::wstring& out) {
  std::string_view body = bytes.substr(format.markBytes < bytes.size() ? format.markBytes : bytes.size());
  switch (format.encoding) {
    case Encoding::Utf8: return DecodeUtf8(body, out, false);
    case Encoding::Utf16Le: return DecodeUtf16(body, false, out);
    case Encoding::Utf16Be: return DecodeUtf16(body, true, out);
    case Encoding::Ansi: return cp.Decode(body, out);
  }
}

std::optional<std::string> EncodeText(std::wstring_view text, Encoding encoding, const CodePage& cp) {
  switch (encoding) {
    case Encoding::Utf8: return EncodeUtf8(text, false);
    case Encoding::Utf16Le: return EncodeUtf16(text, false);
    case Encoding::Utf16Be: return EncodeUtf16(text, true);
    case Encoding::Ansi: break;
  }
  return text.empty() ? std::string() : cp.Encode(text);
}

std::wstring DecodeExactly(std::string_view bytes, const TextFormat& format, const CodePage& cp) {
  std::string_view body = bytes.substr(format.markBytes < bytes.size() ? format.markBytes : bytes.size());
  std::wstring out;
  switch (format.encoding) {
    case Encoding::Utf8: DecodeUtf8(body, out, true); break;
    case Encoding::Ansi: out = DecodeAnsiExactly(body, cp); break;
    default: DecodeText(bytes, format, cp, out); break;
  }
  return out;
}

std::optional<std::string> EncodeExactly(std::wstring_view text, const TextFormat& format, const CodePage& cp) {
  auto body = EncodeBody(text, format.encoding, cp);
  if (!body) return std::nullopt;
  return MarkOf(format) + *body;
}

std::optional<std::wstring> FirstLineNotHeld(std::wstring_view text, const TextFormat& format,
                                             const CodePage& cp) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    if (!EncodeBody(line, format.encoding, cp)) return std::wstring(line);
    start = end + 1;
  }
  return std::nullopt;
}

std::optional<std::string> ToUtf8(std::wstring_view text) { return EncodeUtf8(text, false); }

std::wstring FromUtf8(std::string_view bytes) {
  std::wstring out;
  DecodeUtf8(bytes, out, false);
  return out;
}

std::string_view WholeUtf8(std::string_view s) {
  for (size_t back = 1; back <= 4 && back <= s.size(); ++back) {
    uint8_t b = uint8_t(s[s.size() - back]);
    if ((b & 0xC0) == 0x80) continue;
    size_t need = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return need > back ? s.substr(0, s.size() - back) : s;
  }
  return s;
}


std::wstring TextOfHead(std::string_view head, bool whole, const CodePage& cp) {
  TextFormat format = DetectFormat(whole ? head : WholeUtf8(head));
  if (!whole) {
    // Without the character the cut parted: UTF-8 by its bytes, UTF-16 by whole units.
    if (format.encoding == Encoding::Utf8) head = WholeUtf8(head);
    if (format.encoding != Encoding::Ansi && format.encoding != Encoding::Utf8)
      head = head.substr(0, format.markBytes + ((head.size() - format.markBytes) & ~size_t(1)));
  }
  std::wstring text;
  DecodeText(head, format, cp, text);
  // A lead byte the cut parted from its second.
  if (!whole && format.encoding == Encoding::Ansi && !text.empty() && text.back() == L'\xFFFD') text.pop_back();
  return text;
}


}  // namespace common
