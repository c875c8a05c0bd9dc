#include "browser/files/text_lines.h"

namespace corvane {

std::vector<TextLine> SplitKeepingEnds(std::wstring_view text) {
  std::vector<TextLine> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    size_t endLength = text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n' ? 2 : 1;
    lines.push_back({std::wstring(text.substr(start, i - start)), std::wstring(text.substr(i, endLength))});
    i += endLength - 1;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back({std::wstring(text.substr(start)), L""});
  return lines;
}

std::wstring JoinLines(const std::vector<TextLine>& lines) {
  std::wstring text;
  for (const TextLine& line : lines) text += line.text + line.end;
  return text;
}

std::wstring LineEndOf(const std::vector<TextLine>& lines) {
  for (const TextLine& line : lines)
    if (!line.end.empty()) return line.end;
  return L"\r\n";
}

void AppendLine(std::vector<TextLine>& lines, std::wstring text) {
  std::wstring end = LineEndOf(lines);
  if (!lines.empty() && lines.back().end.empty()) lines.back().end = end;
  lines.push_back({std::move(text), end});
}

}  // namespace corvane
