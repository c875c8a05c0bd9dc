// The lines the guard and its signature helper exchange: UTF-16 text, each line ended by "\n". A path
// goes one way; the answer comes back as "+" and the signer for a valid signature, or "-" for none.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zorvix {

// Bytes as they arrive from a pipe, in pieces of any size, cut into lines.
class LineBuffer {
 public:
  void Append(const char* bytes, size_t count) { bytes_.append(bytes, count); }
  // The next whole line without its "\n"; nullopt until one has arrived.
  std::optional<std::wstring> TakeLine();
  void Clear() { bytes_.clear(); }

 private:
  std::string bytes_;
};

// The line that carries a path or an answer, "\n" included. A line break inside the text would split
// the message, so the signer's breaks become blanks; a path cannot hold one.
std::wstring PathLine(std::wstring_view path);
std::wstring SignerAnswer(const std::optional<std::wstring>& signer);
// What an answer says; false for a line that is no answer at all.
bool ParseSignerAnswer(std::wstring_view line, std::optional<std::wstring>* signer);

}  // namespace zorvix
