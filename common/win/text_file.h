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

// At most maxBytes of a regular disk file from offset on (fewer at its end; none past it), whatever its
// size: for readers that show or scan a large file a part at a time. size, when given, gets the file's
// whole size.
ReadStatus ReadFileRange(const std::wstring& path, uint64_t offset, size_t maxBytes, std::string& bytes,
                         uint64_t* size = nullptr);

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

// Where a file really is and how many names it has.
struct FileIdentity {
  bool ok = false;           // the file could be opened and asked
  std::wstring finalPath;    // the path with every link on the way followed, without the "\\?\" prefix
  uint32_t names = 0;        // its hard links
  bool throughLink = false;  // a link (the file itself, or a folder on its path) leads to it
  // Replacing it by a new file would part it from its other names or put a plain file in a link's place.
  bool shared() const { return throughLink || names > 1; }
};
FileIdentity IdentifyFile(const std::wstring& path);

// The file's content replaced by bytes in place: the file itself stays (its other names, the links that
// lead to it, its attributes). The old content is copied to a new file beside path first, written back
// when the write fails, and removed once the new content is on disk (kept only when even the way back
// failed). False when the file was not changed; read-only files are refused.
bool WriteFileInPlace(const std::wstring& path, std::string_view bytes);

// Caps on what a file may be, by the kind of file.
inline constexpr uint64_t kSmallFileCap = 4ull << 20;   // lists, notes, shortcuts, groups
inline constexpr uint64_t kLargeFileCap = 64ull << 20;  // texts a user edits or saves

}  // namespace common
