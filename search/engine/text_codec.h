// Encodings of the text files the text search reads and rewrites: UTF-16 by its mark, UTF-8 by its mark
// or by being valid UTF-8, otherwise the Chinese double-byte code page. Pure; the code page itself comes
// from the system through AnsiCodec.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sercavo {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct TextFormat {
  Encoding encoding = Encoding::Ansi;
  size_t markBytes = 0;  // the byte-order mark at the start, kept as it is
};

// The double-byte code page (936): what the system converts.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual bool IsLeadByte(uint8_t b) const = 0;
  virtual void Decode(std::string_view bytes, std::wstring& out) const = 0;
  // nullopt when the text holds a character the code page has not.
  virtual std::optional<std::string> Encode(std::wstring_view text) const = 0;
};

TextFormat DetectFormat(std::string_view bytes);
// The format told by a byte-order mark alone; a file without one reads as the code page here.
TextFormat DetectMark(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);

// The text after the mark. Invalid sequences become U+FFFD; out is reused, so a search over many files
// allocates once.
void DecodeText(std::string_view bytes, const TextFormat& format, const AnsiCodec& ansi, std::wstring& out);
// The text in the encoding, without a mark; nullopt when the encoding cannot hold it.
std::optional<std::string> EncodeText(std::wstring_view text, Encoding encoding, const AnsiCodec& ansi);

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
