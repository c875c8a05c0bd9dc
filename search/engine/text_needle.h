// The text a text search looks for in file after file. A file holds it when its text, decoded by the
// file's own encoding, holds it anywhere, letter case ignored. Most files do not: they are ruled out by a
// quick scan of their bytes for the text's caseless characters (or its Latin letters), without being
// decoded.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace sercavo {

class TextNeedle {
 public:
  TextNeedle(std::wstring_view text, const common::CodePage& ansi);
  const std::wstring& folded() const { return folded_; }
  // A whole file, its form told by its bytes.
  bool HeldBy(std::string_view bytes);
  // Text in a known encoding, without a mark, starting on a character boundary (a piece of a large file).
  bool HeldIn(std::string_view body, common::Encoding encoding);
  // Text already decoded (what a rich-text file shows).
  bool HeldByText(std::wstring_view text) const;
  // The decoded text of the last file that needed decoding.
  const std::wstring& text() const { return text_; }
  // Bytes enough for any occurrence in any encoding: pieces of a large file overlap by this much.
  size_t MaxBytes() const { return folded_.size() * 3 + 3; }
  // Where, at or before `at`, a character of body starts (body starts on one).
  size_t CharacterStart(std::string_view body, size_t at, common::Encoding encoding) const;
  // Where body ends without the character a cut parted at its end.
  size_t WholeEnd(std::string_view body, common::Encoding encoding) const;

 private:
  bool MayHold(std::string_view body, common::Encoding encoding, bool markless) const;
  bool Decoded(std::string_view body, common::Encoding encoding);
  bool HeldInUtf16(std::string_view body) const;
  bool FoldedAt(std::wstring_view text, size_t runPos, size_t runAt) const;

  const common::CodePage& ansi_;
  std::wstring folded_, text_;
  // The longest run of characters of the text that have no other letter case (at anchorAt_), and its
  // bytes in each encoding: a file holding none of them cannot hold the text.
  std::wstring anchor_;
  size_t anchorAt_ = 0;
  std::string anchorUtf8_, anchorAnsi_, anchorUtf16_;
  // Without one: the longest run of characters whose every letter case is ASCII ("zorvix" for "ZorVix"),
  // in lower case (at latinAt_), and the same in UTF-16 (each letter followed by a zero byte). The code
  // page and UTF-8 write these as the same single bytes.
  std::string latin_, latin16_;
  size_t latinAt_ = 0;
};

// Whether a file too large to hold at once holds the text, read a piece at a time: read(offset, bytes)
// fills bytes with up to pieceBytes from offset (fewer at the end) and is false when it could not. A
// file without a mark is the code page's until a piece past ASCII shows it is UTF-8.
using PieceReader = std::function<bool(uint64_t offset, std::string& bytes)>;
bool HeldInPieces(TextNeedle& needle, uint64_t size, const PieceReader& read);

// Where a (or b, when not empty) first occurs in text from `from` on, or npos; sixteen bytes at a time.
size_t FindBytes(std::string_view text, std::string_view a, std::string_view b = {}, size_t from = 0);
// The same for one pattern of bytes in lower case, ASCII letters matched in either case.
size_t FindLatin(std::string_view text, std::string_view lower, size_t from = 0);

}  // namespace sercavo
