#include "search/engine/text_codec.h"

namespace sercavo {
namespace {

constexpr wchar_t kBad = 0xFFFD;

uint8_t At(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

// Bytes of the character that starts at i.
size_t CharBytes(std::string_view s, size_t i, Encoding e, const AnsiCodec& ansi) {
  if (e == Encoding::Utf16Le || e == Encoding::Utf16Be) return 2;
  if (e == Encoding::Ansi && ansi.IsLeadByte(At(s, i)) && i + 1 < s.size()) return 2;
  return 1;  // UTF-8: a needle never starts on a continuation byte, so byte steps find only whole characters
}

}  // namespace

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
  return common::MarkOf(format) + body.value_or("");
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
