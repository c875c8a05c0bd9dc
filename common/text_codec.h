// The forms a text file comes in and the conversions between them: UTF-16 LE or BE by its mark, UTF-8 by
// its mark, UTF-8 without a mark when the bytes are valid UTF-8 and hold a non-ASCII byte, else a code
// page. Pure: the code page itself comes from the system through CodePage.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace common {

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct TextFormat {
  Encoding encoding = Encoding::Ansi;
  size_t markBytes = 0;  // the byte-order mark at the start, kept as it is
  bool operator==(const TextFormat&) const = default;
};

// A code page of the system (the ANSI one, the OEM one of console programs, 936).
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual bool IsLeadByte(uint8_t b) const = 0;
  // Quick and lossy: what a bad sequence becomes is the system's choice.
  virtual void Decode(std::string_view bytes, std::wstring& out) const = 0;
  // nullopt when the text holds a character the code page has not (no best-fit stand-ins).
  virtual std::optional<std::string> Encode(std::wstring_view text) const = 0;
};

TextFormat DetectFormat(std::string_view bytes);
// The format told by a byte-order mark alone; a file without one reads as the code page here.
TextFormat DetectMark(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
std::string MarkOf(const TextFormat& format);

// The text after the mark. Invalid sequences become U+FFFD; out is reused, so a search over many files
// allocates once.
void DecodeText(std::string_view bytes, const TextFormat& format, const CodePage& cp, std::wstring& out);
// The text in the encoding, without a mark; nullopt when the encoding cannot hold it.
std::optional<std::string> EncodeText(std::wstring_view text, Encoding encoding, const CodePage& cp);

// Lossless reading, for files that are written back: every byte that is no character of the form (a lone
// lead byte, invalid UTF-8) becomes the unpaired surrogate U+DC80 + (byte - 0x80), which EncodeExactly
// turns back into that byte. A UTF-16 file keeps its units as they are.
std::wstring DecodeExactly(std::string_view bytes, const TextFormat& format, const CodePage& cp);
// The whole file in the format, its mark included; nullopt when the form cannot hold a character.
std::optional<std::string> EncodeExactly(std::wstring_view text, const TextFormat& format, const CodePage& cp);
// The first line (without its end) holding a character the form cannot hold; nullopt when there is none.
std::optional<std::wstring> FirstLineNotHeld(std::wstring_view text, const TextFormat& format, const CodePage& cp);

std::optional<std::string> ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

// UTF-8 bytes without a character a cut parted at their end.
std::string_view WholeUtf8(std::string_view bytes);

// The text of the first bytes of a file (whole: the file is no longer), for a pane that shows the start
// of a large file: its form told by what was read, a character the cut parted left out.
std::wstring TextOfHead(std::string_view head, bool whole, const common::CodePage& cp);

}  // namespace common
