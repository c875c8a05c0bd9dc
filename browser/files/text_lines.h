// The lines of a text file with the end each one had, so that an editor that changes one line writes
// every other line back exactly as it was.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct TextLine {
  std::wstring text;
  std::wstring end;  // "\r\n", "\n", "\r", or empty for a last line without one
  bool operator==(const TextLine&) const = default;
};

// CR, LF and CR LF each end a line; a text ending in a line end has no empty line after it.
std::vector<TextLine> SplitKeepingEnds(std::wstring_view text);
std::wstring JoinLines(const std::vector<TextLine>& lines);
// The line end a new line takes: that of the first line that has one, else CR LF.
std::wstring LineEndOf(const std::vector<TextLine>& lines);
// Adds a line at the end in the text's own line end; a last line without an end is given one first.
void AppendLine(std::vector<TextLine>& lines, std::wstring text);

}  // namespace corvane
