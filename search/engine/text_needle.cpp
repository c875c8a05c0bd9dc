#include "search/engine/text_needle.h"

#include <cstdint>
#include <cstring>

#include "search/engine/case_fold.h"

namespace sercavo {
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

// Eight byte lanes at once: the lanes of v that are zero (exactly: no carry crosses a lane).
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
uint64_t Repeat(uint8_t b) { return 0x0101010101010101ull * b; }
uint64_t ZeroLanes(uint64_t v) { return ~(((v & kLow7) + kLow7) | v | kLow7); }
uint64_t Load(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;  // little-endian: byte i in bits 8i..8i+7
}

// Lanes where the pattern's first two bytes start.
uint64_t PairLanes(const char* p, std::string_view pattern) {
  if (pattern.size() < 2) return 0;
  return ZeroLanes(Load(p) ^ Repeat(uint8_t(pattern[0]))) & ZeroLanes(Load(p + 1) ^ Repeat(uint8_t(pattern[1])));
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
    for (; i + 9 <= text.size(); i += 8) {
      for (uint64_t hits = PairLanes(text.data() + i, a) | PairLanes(text.data() + i, b); hits; hits &= hits - 1) {
        size_t at = i + size_t(__builtin_ctzll(hits) / 8);
        if (At(text, at, a) || At(text, at, b)) return at;
      }
    }
  }
  for (; i < text.size(); ++i)
    if (At(text, i, a) || At(text, i, b)) return i;
  return std::string_view::npos;
}

size_t FindLatin(std::string_view text, std::string_view lower) {
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
  auto lane = [&](size_t k) { return IsLower(lower[k]) ? Repeat(0x20) : 0; };
  size_t i = 0;
  if (lower.size() >= 2) {
    const uint64_t c0 = lane(0), c1 = lane(1), p0 = Repeat(uint8_t(lower[0])), p1 = Repeat(uint8_t(lower[1]));
    for (; i + 9 <= text.size(); i += 8) {
      uint64_t hits = ZeroLanes((Load(text.data() + i) | c0) ^ p0) & ZeroLanes((Load(text.data() + i + 1) | c1) ^ p1);
      for (; hits; hits &= hits - 1)
        if (at(i + size_t(__builtin_ctzll(hits) / 8))) return i + size_t(__builtin_ctzll(hits) / 8);
    }
  }
  for (; i < text.size(); ++i)
    if (at(i)) return i;
  return std::string_view::npos;
}

TextNeedle::TextNeedle(std::wstring_view text, const AnsiCodec& ansi)
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
      for (size_t j = start; j < k; ++j) latin_ += LatinByte(text[j]);
    }
    start = k + 1;
  }
  auto utf8 = EncodeText(anchor_, Encoding::Utf8, ansi);
  auto utf16 = EncodeText(anchor_, Encoding::Utf16Le, ansi);
  if (anchor_.empty() || !utf8 || !utf16) {
    anchor_.clear();
    return;
  }
  anchorUtf8_ = *utf8;
  anchorUtf16_ = *utf16;
  // Not in the code page: only the UTF-8 form can hold it.
  anchorAnsi_ = EncodeText(anchor_, Encoding::Ansi, ansi).value_or(*utf8);
}

bool TextNeedle::FoldedAt(std::wstring_view text, size_t anchorPos) const {
  if (anchorPos < anchorAt_) return false;
  return CaseFold::Get().Find(text.substr(anchorPos - anchorAt_, folded_.size()), folded_) == 0;
}

bool TextNeedle::HeldByWide(std::wstring_view text) const {
  if (anchor_.empty()) return CaseFold::Get().Find(text, folded_) != std::wstring_view::npos;
  // Only where the anchor stands can the text stand.
  for (size_t p = text.find(anchor_); p != std::wstring_view::npos; p = text.find(anchor_, p + 1))
    if (FoldedAt(text, p)) return true;
  return false;
}

bool TextNeedle::HeldByUtf16(std::string_view body) const {
  // Read where it lies: UTF-16 little-endian is the platform's own wide form.
  std::wstring_view text(reinterpret_cast<const wchar_t*>(body.data()), body.size() / 2);
  if (anchor_.empty()) return HeldByWide(text);
  for (size_t at = FindBytes(body, anchorUtf16_); at != std::string_view::npos;
       at = FindBytes(body, anchorUtf16_, {}, at + 1))
    if (at % 2 == 0 && FoldedAt(text, at / 2)) return true;
  return false;
}

bool TextNeedle::HeldBy(std::string_view bytes) {
  if (folded_.empty()) return false;
  TextFormat format = DetectMark(bytes);
  std::string_view body = bytes.substr(format.markBytes);
  bool inPlace = format.encoding == Encoding::Utf16Le && sizeof(wchar_t) == 2 && body.size() % 2 == 0 &&
                 reinterpret_cast<uintptr_t>(body.data()) % alignof(wchar_t) == 0;
  if (inPlace) return HeldByUtf16(body);
  bool wide = format.encoding == Encoding::Utf16Le || format.encoding == Encoding::Utf16Be;
  if (!wide && !anchor_.empty()) {
    std::string_view other = format.markBytes ? std::string_view() : std::string_view(anchorAnsi_);
    if (FindBytes(body, anchorUtf8_, other) == std::string_view::npos) return false;
  } else if (!wide && !latin_.empty() && FindLatin(body, latin_) == std::string_view::npos) {
    return false;
  }
  if (format.markBytes == 0) format = DetectFormat(bytes);
  DecodeText(bytes, format, ansi_, text_);
  return HeldByWide(text_);
}

}  // namespace sercavo
