// The text a text search looks for in file after file. A file holds it when its text, decoded by the
// file's own encoding, holds it anywhere, letter case ignored. Most files do not: they are ruled out by a
// quick scan of their bytes for the text's caseless characters, without being decoded.
#pragma once
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace sercavo {

class TextNeedle {
 public:
  TextNeedle(std::wstring_view text, const common::CodePage& ansi);
  const std::wstring& folded() const { return folded_; }
  bool HeldBy(std::string_view bytes);
  // The decoded text of the last file that needed decoding.
  const std::wstring& text() const { return text_; }

 private:
  bool HeldByWide(std::wstring_view text) const;
  bool HeldByUtf16(std::string_view body) const;
  bool FoldedAt(std::wstring_view text, size_t anchorPos) const;

  const common::CodePage& ansi_;
  std::wstring folded_, text_;
  // The longest run of characters of the text that have no other letter case (at anchorAt_), and its
  // bytes in each encoding: a file holding none of them cannot hold the text.
  std::wstring anchor_;
  size_t anchorAt_ = 0;
  std::string anchorUtf8_, anchorAnsi_, anchorUtf16_;
  // Without one: the longest run of characters whose every letter case is ASCII ("zorvix" for "ZorVix"),
  // in lower case. The code page and UTF-8 write these as the same single bytes.
  std::string latin_;
};

// Where a (or b, when not empty) first occurs in text from `from` on, or npos; sixteen bytes at a time.
size_t FindBytes(std::string_view text, std::string_view a, std::string_view b = {}, size_t from = 0);
// The same for one pattern of ASCII bytes in lower case, ASCII letters matched in either case.
size_t FindLatin(std::string_view text, std::string_view lower);

}  // namespace sercavo
