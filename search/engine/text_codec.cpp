#include "search/engine/text_codec.h"

#include <cstring>

namespace sercavo {
namespace {

constexpr wchar_t kBad = 0xFFFD;

uint8_t At(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

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

void DecodeUtf8(std::string_view s, std::wstring& out) {
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
      out[o++] = kBad;
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

std::optional<std::string> EncodeUtf8(std::wstring_view t) {
  std::string r;
  r.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    uint32_t c = uint32_t(t[i]);
    if (c > 0x10FFFF) return std::nullopt;
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c > 0xDBFF || i + 1 >= t.size() || t[i + 1] < 0xDC00 || t[i + 1] > 0xDFFF) return std::nullopt;
      c = 0x10000 + ((c - 0xD800) << 10) + (t[++i] - 0xDC00);
    }
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

// Bytes of the character that starts at i.
size_t CharBytes(std::string_view s, size_t i, Encoding e, const AnsiCodec& ansi) {
  if (e == Encoding::Utf16Le || e == Encoding::Utf16Be) return 2;
  if (e == Encoding::Ansi && ansi.IsLeadByte(At(s, i)) && i + 1 < s.size()) return 2;
  return 1;  // UTF-8: a needle never starts on a continuation byte, so byte steps find only whole characters
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

TextFormat DetectFormat(std::string_view b) {
  TextFormat marked = DetectMark(b);
  if (marked.markBytes > 0) return marked;
  return IsValidUtf8(b) ? TextFormat{Encoding::Utf8, 0} : TextFormat{Encoding::Ansi, 0};
}

void DecodeText(std::string_view bytes, const TextFormat& format, const AnsiCodec& ansi, std::wstring& out) {
  std::string_view body = bytes.substr(format.markBytes < bytes.size() ? format.markBytes : bytes.size());
  switch (format.encoding) {
    case Encoding::Utf8: return DecodeUtf8(body, out);
    case Encoding::Utf16Le: return DecodeUtf16(body, false, out);
    case Encoding::Utf16Be: return DecodeUtf16(body, true, out);
    case Encoding::Ansi: return ansi.Decode(body, out);
  }
}

std::optional<std::string> EncodeText(std::wstring_view text, Encoding encoding, const AnsiCodec& ansi) {
  switch (encoding) {
    case Encoding::Utf8: return EncodeUtf8(text);
    case Encoding::Utf16Le: return EncodeUtf16(text, false);
    case Encoding::Utf16Be: return EncodeUtf16(text, true);
    case Encoding::Ansi: break;
  }
  return ansi.Encode(text);
}

std::optional<Replaced> ReplaceExact(std::string_view bytes, std::wstring_view find, std::wstring_view replacement,
                                     const AnsiCodec& ansi) {
  Replaced r;
  TextFormat format = DetectFormat(bytes);
  std::optional<std::string> f = EncodeText(find, format.encoding, ansi);
  if (!f || f->empty()) {
    r.bytes = std::string(bytes);  // a text the file cannot hold does not occur in it
    return r;
  }
  std::optional<std::string> with = EncodeText(replacement, format.encoding, ansi);
  size_t done = 0, i = format.markBytes;
  while (i + f->size() <= bytes.size()) {
    if (bytes.compare(i, f->size(), *f) != 0) {
      i += CharBytes(bytes, i, format.encoding, ansi);
      continue;
    }
    if (!with) return std::nullopt;
    r.bytes.append(bytes.substr(done, i - done)).append(*with);
    i += f->size();
    done = i;
    ++r.count;
  }
  r.bytes.append(bytes.substr(done));
  return r;
}

std::string TextFileBytes(std::wstring_view text, TextFormat& format, const AnsiCodec& ansi) {
  std::optional<std::string> body = EncodeText(text, format.encoding, ansi);
  if (!body) {
    format = {Encoding::Utf8, 3};
    body = EncodeText(text, Encoding::Utf8, ansi);
    if (!body) {  // lone surrogate halves: each becomes U+FFFD
      std::wstring clean(text);
      for (size_t i = 0; i < clean.size(); ++i) {
        bool high = clean[i] >= 0xD800 && clean[i] <= 0xDBFF, low = clean[i] >= 0xDC00 && clean[i] <= 0xDFFF;
        bool paired = high && i + 1 < clean.size() && clean[i + 1] >= 0xDC00 && clean[i + 1] <= 0xDFFF;
        if (paired)
          ++i;
        else if (high || low)
          clean[i] = kBad;
      }
      body = EncodeText(clean, Encoding::Utf8, ansi);
    }
  }
  std::string mark;
  if (format.markBytes > 0) {
    switch (format.encoding) {
      case Encoding::Utf8: mark = "\xEF\xBB\xBF"; break;
      case Encoding::Utf16Le: mark = "\xFF\xFE"; break;
      case Encoding::Utf16Be: mark = "\xFE\xFF"; break;
      case Encoding::Ansi: break;
    }
  }
  return mark + body.value_or("");
}

std::wstring LineEndOf(std::wstring_view text) {
  size_t crlf = 0, lf = 0, cr = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      ++crlf;
      ++i;
    } else if (text[i] == L'\n') {
      ++lf;
    } else if (text[i] == L'\r') {
      ++cr;
    }
  }
  if (lf > crlf && lf >= cr) return L"\n";
  if (cr > crlf && cr > lf) return L"\r";
  return L"\r\n";
}

}  // namespace sercavo
