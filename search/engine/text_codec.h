// The text search's own uses of the suite's text forms: the exact replace inside a file's bytes and the
// whole-file form of the viewer's save.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace sercavo {

using common::DecodeText;
using common::DetectFormat;
using common::DetectMark;
using common::Encoding;
using common::EncodeText;
using common::IsValidUtf8;
using common::TextFormat;
using AnsiCodec = common::CodePage;

// Replaces every exact (letter case kept) occurrence of find by replacement in the file's bytes. Only the
// replaced characters change: the mark, the line ends and every other byte stay as they were. Matches
// start and end on character boundaries (a double-byte character is never split). nullopt when the
// replacement cannot be written in the file's encoding and find occurs.
struct Replaced {
  std::string bytes;
  size_t count = 0;
};
std::optional<Replaced> ReplaceExact(std::string_view bytes, std::wstring_view find, std::wstring_view replacement,
                                     const AnsiCodec& ansi);

// A whole text file in the given format, its mark included. A text the format cannot hold is written as
// UTF-8 with its mark instead, so that no character is lost; format then tells which was used.
std::string TextFileBytes(std::wstring_view text, TextFormat& format, const AnsiCodec& ansi);

// The line end a file uses most ("\r\n", "\n" or "\r"; "\r\n" when it has none), for text saved in its place.
std::wstring LineEndOf(std::wstring_view text);

}  // namespace sercavo
