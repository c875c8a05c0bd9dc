#include "search/engine/text_needle.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "search/engine/case_fold.h"

namespace sercavo {

using common::Encoding;
using common::TextFormat;
using common::WholeUtf8;

namespace {

// A character that only itself folds to: letter case cannot change how it is written.
bool Caseless(wchar_t c) {
  // U+FFFD stands for bytes that could not be read: it is no byte sequence to look for.
  if (uint32_t(c) < 0x80 || !CaseFold::InTable(c) || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFD) return false;
  return CaseFold::Get()(c) == c && CaseFold::Get().ClassSize(c) == 1;
}

// A character whose every letter case is ASCII: the one byte of it, in lower case; 0 when there is none.
char LatinByte(wchar_t c) {
  if (uint32_t(c) >= 0x80 || c == 0 || !CaseFold::Get().ClassIsAscii(c)) return 0;  // e.g. a sign folding to a letter
  return char(c >= L'A' && c <= L'Z' ? c + 32 : c);
}

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// Sixteen bytes at once: the positions (bits) at p where the two bytes given start, each byte compared
// after its lane of `fold` is set in it (the case bit of letters).
__m128i Splat(char b) { return _mm_set1_epi8(b); }
uint32_t PairMask(const char* p, __m128i first, __m128i second, __m128i fold0 = _mm_setzero_si128(),
                  __m128i fold1 = _mm_setzero_si128()) {
  __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), fold0);
  __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), fold1);
  return uint32_t(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
}

bool At(std::string_view text, size_t at, std::string_view pattern) {
  return !pattern.empty() && at + pattern.size() <= text.size() &&
         std::memcmp(text.data() + at, pattern.data(), pattern.size()) == 0;
}

}  // namespace

size_t FindBytes(std::string_view text, std::string_view a, std::string_view b, size_t from) {
  size_t i = from;
  // Candidates have a pattern's first two bytes in place: pairs are rare where single bytes are not.
  if (a.size() >= 2 && (b.empty() || b.size() >= 2)) {
    const __m128i a0 = Splat(a[0]), a1 = Splat(a[1]), b0 = Splat(b.empty() ? 0 : b[0]),
                  b1 = Splat(b.empty() ? 0 : b[1]);
    for (; i + 17 <= text.size(); i += 16) {
      uint32_t hits = PairMask(text.data() + i, a0, a1) | (b.empty() ? 0 : PairMask(text.data() + i, b0, b1));
      for (; hits; hits &= hits - 1) {
        size_t at = i + size_t(__builtin_ctz(hits));
        if (At(text, at, a) || At(text, at, b)) return at;
      }
    }
  }
  for (; i < text.size(); ++i)
    if (At(text, i, a) || At(text, i, b)) return i;
  return std::string_view::npos;
}

size_t FindLatin(std::string_view text, std::string_view lower, size_t from) {
  auto at = [&](size_t i) {
    if (i + lower.size() > text.size()) return false;
    for (size_t k = 0; k < lower.size(); ++k) {
      char c = text[i + k];
      if ((IsLower(lower[k]) ? char(c | 0x20) : c) != lower[k]) return false;
    }
    return true;
  };
  if (lower.empty()) return std::string_view::npos;
  // Letters are compared with the case bit set: only the letter's two cases give its lower case so.
  auto fold = [&](size_t k) { return Splat(IsLower(lower[k]) ? 0x20 : 0); };
  size_t i = from;
  if (lower.size() >= 2) {
    const __m128i f0 = fold(0), f1 = fold(1), p0 = Splat(lower[0]), p1 = Splat(lower[1]);
    for (; i + 17 <= text.size(); i += 16)
      for (uint32_t hits = PairMask(text.data() + i, p0, p1, f0, f1); hits; hits &= hits - 1)
        if (at(i + size_t(__builtin_ctz(hits)))) return i + size_t(__builtin_ctz(hits));
  }
  for (; i < text.size(); ++i)
    if (at(i)) return i;
  return std::string_view::npos;
}

TextNeedle::TextNeedle(std::wstring_view text, const common::CodePage& ansi)
    : ansi_(ansi), folded_(CaseFold::Get().Folded(text)) {
  for (size_t k = 0; k < text.size();) {
    size_t end = k;
    while (end < text.size() && Caseless(text[end])) ++end;
    if (end - k > anchor_.size()) {
      anchor_ = text.substr(k, end - k);
      anchorAt_ = k;
    }
    k = end + 1;
  }
  for (size_t k = 0, start = 0; k <= text.size(); ++k) {
    if (k < text.size() && LatinByte(text[k])) continue;
    if (k - start > latin_.size()) {
      latin_.clear();
      latin16_.clear();
      for (size_t j = start; j < k; ++j) {
        latin_ += LatinByte(text[j]);
        latin16_.append(1, LatinByte(text[j])).append(1, '\0');
      }
      latinAt_ = start;
    }
    start = k + 1;
  }
  auto utf8 = common::EncodeText(anchor_, Encoding::Utf8, ansi);
  auto utf16 = common::EncodeText(anchor_, Encoding::Utf16Le, ansi);
  if (anchor_.empty() || !utf8 || !utf16) {
    anchor_.clear();
    return;
  }
  anchorUtf8_ = *utf8;
  anchorUtf16_ = *utf16;
  // Not in the code page: only the UTF-8 form can hold it.
  anchorAnsi_ = common::EncodeText(anchor_, Encoding::Ansi, ansi).value_or(*utf8);
}

bool TextNeedle::FoldedAt(std::wstring_view text, size_t runPos, size_t runAt) const {
  if (runPos < runAt) return false;
  return CaseFold::Get().Find(text.substr(runPos - runAt, folded_.size()), folded_) == 0;
}

bool TextNeedle::HeldByText(std::wstring_view text) const {
  if (folded_.empty()) return false;
  if (anchor_.empty()) return CaseFold::Get().Find(text, folded_) != std::wstring_view::npos;
  // Only where the anchor stands can the text stand.
  for (size_t p = text.find(anchor_); p != std::wstring_view::npos; p = text.find(anchor_, p + 1))
    if (FoldedAt(text, p, anchorAt_)) return true;
  return false;
}

// Read where it lies: UTF-16 little-endian is the platform's own wide form. Only where the anchor (or
// the Latin run) stands, on a character's first byte, can the text stand.
bool TextNeedle::HeldInUtf16(std::string_view body) const {
  std::wstring_view text(reinterpret_cast<const wchar_t*>(body.data()), body.size() / 2);
  bool anchored = !anchor_.empty();
  if (!anchored && latin16_.empty()) return HeldByText(text);
  const std::string& run = anchored ? anchorUtf16_ : latin16_;
  size_t runAt = anchored ? anchorAt_ : latinAt_;
  auto next = [&](size_t from) { return anchored ? FindBytes(body, run, {}, from) : FindLatin(body, run, from); };
  for (size_t at = next(0); at != std::string_view::npos; at = next(at + 1))
    if (at % 2 == 0 && FoldedAt(text, at / 2, runAt)) return true;
  return false;
}

bool TextNeedle::MayHold(std::string_view body, Encoding encoding, bool markless) const {
  if (encoding == Encoding::Utf16Be) return true;
  if (encoding == Encoding::Utf16Le) {
    if (!anchor_.empty()) return FindBytes(body, anchorUtf16_) != std::string_view::npos;
    return latin16_.empty() || FindLatin(body, latin16_) != std::string_view::npos;
  }
  if (!anchor_.empty()) {
    // A file without a mark may be UTF-8 or the code page's.
    std::string_view a = encoding == Encoding::Utf8 || markless ? anchorUtf8_ : anchorAnsi_;
    std::string_view b = markless ? std::string_view(anchorAnsi_) : std::string_view();
    return FindBytes(body, a, b) != std::string_view::npos;
  }
  return latin_.empty() || FindLatin(body, latin_) != std::string_view::npos;
}

bool TextNeedle::HeldBy(std::string_view bytes) {
  if (folded_.empty()) return false;
  TextFormat format = common::DetectMark(bytes);
  std::string_view body = bytes.substr(format.markBytes);
  if (!MayHold(body, format.encoding, format.markBytes == 0)) return false;
  if (format.markBytes == 0) format = common::DetectFormat(bytes);
  return Decoded(body, format.encoding);
}

bool TextNeedle::HeldIn(std::string_view body, Encoding encoding) {
  return !folded_.empty() && MayHold(body, encoding, false) && Decoded(body, encoding);
}

bool TextNeedle::Decoded(std::string_view body, Encoding encoding) {
  bool inPlace = encoding == Encoding::Utf16Le && sizeof(wchar_t) == 2 && body.size() % 2 == 0 &&
                 reinterpret_cast<uintptr_t>(body.data()) % alignof(wchar_t) == 0;
  if (inPlace) return HeldInUtf16(body);
  common::DecodeText(body, TextFormat{encoding, 0}, ansi_, text_);
  return HeldByText(text_);
}

size_t TextNeedle::CharacterStart(std::string_view body, size_t at, Encoding encoding) const {
  at = std::min(at, body.size());
  switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: return at & ~size_t(1);
    case Encoding::Utf8:
      while (at > 0 && at < body.size() && (uint8_t(body[at]) & 0xC0) == 0x80) --at;
      return at;
    case Encoding::Ansi: break;
  }
  // A double-byte character's second byte can look like any other: count from the start.
  size_t last = 0;
  for (size_t i = 0; i <= at && i < body.size(); i += ansi_.IsLeadByte(uint8_t(body[i])) ? 2 : 1) last = i;
  return at >= body.size() ? at : last;
}

size_t TextNeedle::WholeEnd(std::string_view body, Encoding encoding) const {
  switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: return body.size() & ~size_t(1);
    case Encoding::Utf8: return WholeUtf8(body).size();
    case Encoding::Ansi: break;
  }
  if (body.empty()) return 0;
  size_t last = CharacterStart(body, body.size() - 1, encoding);
  return ansi_.IsLeadByte(uint8_t(body[last])) && last + 1 == body.size() ? last : body.size();
}

namespace {

bool PastAscii(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return uint8_t(c) >= 0x80; });
}

}  // namespace

bool HeldInPieces(TextNeedle& needle, uint64_t size, const PieceReader& read) {
  std::string window, piece;
  std::optional<Encoding> encoding;
  for (uint64_t at = 0; at < size;) {
    if (!read(at, piece) || piece.empty()) return false;
    if (at == 0) {
      TextFormat mark = common::DetectMark(piece);
      if (mark.markBytes > 0) encoding = mark.encoding;
      at += piece.size();
      piece.erase(0, mark.markBytes);
    } else {
      at += piece.size();
    }
    window += piece;
    // Decided by whole characters past ASCII: one cut off at the end tells nothing yet.
    if (std::string_view whole = WholeUtf8(window); !encoding && PastAscii(whole))
      encoding = common::IsValidUtf8(whole) ? Encoding::Utf8 : Encoding::Ansi;
    Encoding e = encoding.value_or(Encoding::Ansi);  // ASCII reads alike in both
    // A character the cut parts is looked at with the next piece, not read as a bad one now.
    std::string_view whole = at < size ? std::string_view(window).substr(0, needle.WholeEnd(window, e)) : window;
    if (needle.HeldIn(whole, e)) return true;
    size_t keep = std::min(window.size(), needle.MaxBytes());
    window.erase(0, needle.CharacterStart(window, window.size() - keep, e));
  }
  return false;
}

}  // namespace sercavo
