// Reading an "autorun.inf" piece by piece in its own form (UTF-16 by its mark, UTF-8 by its mark or by valid
// bytes, else the code page), only as far as its first "open"/"shell" line: a file of any size is read to
// that line and never held whole.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace zorvix {

class AutorunInfReader {
 public:
  explicit AutorunInfReader(const common::CodePage& codePage) : cp_(codePage) {}
  // The next bytes of the file, cut anywhere. False once the line that counts has been read.
  bool Feed(std::string_view bytes);
  // The end of the file: its last line counts even without a line end.
  void Finish();
  bool done() const { return done_; }
  // The command text of the line taken (AutorunCommand); nothing when there was none or it had no "=".
  const std::optional<std::wstring>& command() const { return command_; }

  // A taken line is kept up to this many bytes: no program path is longer.
  static constexpr size_t kMaxLineBytes = 64 * 1024;

 private:
  enum class State { LineStart, Keyword, Taken, Skipped };
  // Whether every byte given so far is valid UTF-8, the bytes coming in pieces cut anywhere.
  class Utf8Check {
   public:
    void Add(std::string_view bytes);
    bool Valid() const;

   private:
    std::string tail_;  // the start of a sequence a piece cut through
    bool valid_ = true;
  };

  void Begin();
  void Consume(std::string_view bytes);
  // The bytes used up to the end of the taken line (or all of them).
  size_t Scan(std::string_view bytes);
  // One character unit of the file and its bytes; true at the end of the taken line.
  bool Unit(unsigned unit, std::string_view raw);
  void Take();

  const common::CodePage& cp_;
  std::string head_;  // the first bytes, until the mark is known
  std::optional<common::TextFormat> format_;
  std::string halfUnit_;  // a UTF-16 unit a piece cut through
  State state_ = State::LineStart;
  std::string keyword_;  // the line's first letters, lower-cased
  std::string line_;     // the taken line's bytes from its keyword on
  Utf8Check utf8_;
  bool taking_ = false;
  bool done_ = false;
  std::optional<std::wstring> command_;
};

}  // namespace zorvix
