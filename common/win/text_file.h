// The suite's one way to read and write files: a reader that knows a text file's form and stops at a size
// the caller allows, and a writer that replaces a file whole or not at all and never calls a lossy write
// a success.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace common {

enum class ReadStatus { kRead, kMissing, kUnreadable, kTooLarge };

struct FileBytes {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
  bool ok() const { return status == ReadStatus::kRead; }
};

// A regular disk file whole, at most maxBytes long (a longer one is kTooLarge and not read): no device or
// pipe is read, so no read can block for good.
FileBytes ReadFileBytes(const std::wstring& path, uint64_t maxBytes);
// The same into a buffer the caller keeps, for loops over many files.
ReadStatus ReadFileInto(const std::wstring& path, uint64_t maxBytes, std::string& bytes);

struct TextFile {
  ReadStatus status = ReadStatus::kMissing;
  std::wstring text;
  TextFormat format;   // the form to write it back in; the ANSI code page for a file that is not there
  bool exact = true;   // writing text back in format gives the file's bytes again
  bool ok() const { return status == ReadStatus::kRead; }
  // Read whole and writable back as it was: what an editor needs before it saves over the file.
  bool editable() const { return (ok() && exact) || status == ReadStatus::kMissing; }
};
// In the ANSI code page when the file has no mark and is not UTF-8 with a non-ASCII byte.
TextFile ReadTextFile(const std::wstring& path, uint64_t maxBytes);
// The same with the code page of a caller that reads its files in another (the text search's 936).
TextFile ReadTextFile(const std::wstring& path, uint64_t maxBytes, const CodePage& cp);
// The text of bytes a caller has read already (status kRead).
TextFile TextFileOf(std::string_view bytes, const CodePage& cp);
// The text alone, for readers that never write the file back; nullopt when it was not read.
std::optional<std::wstring> ReadFileText(const std::wstring& path, uint64_t maxBytes);

enum class WriteStatus { kWritten, kNotHeld, kFailed };

struct TextWrite {
  WriteStatus status = WriteStatus::kFailed;
  std::wstring notHeld;  // kNotHeld: the first line holding a character the form has not
  bool ok() const { return status == WriteStatus::kWritten; }
};
// The text in the form (a new file: the ANSI code page), replacing the file; nothing is written when a
// character would be lost.
TextWrite WriteTextFile(const std::wstring& path, std::wstring_view text, const TextFormat& format = {});
TextWrite WriteTextFile(const std::wstring& path, std::wstring_view text, const TextFormat& format, const CodePage& cp);

// A new file of our own beside the old one (a name nobody has, attributes kept by the replace), then the
// old one replaced by it: a crash leaves the old or the new file whole. False when any step failed; the
// old file and the folder are then as they were.
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);

// Caps on what a file may be, by the kind of file.
inline constexpr uint64_t kSmallFileCap = 4ull << 20;   // lists, notes, shortcuts, groups
inline constexpr uint64_t kLargeFileCap = 64ull << 20;  // texts a user edits or saves

}  // namespace common
