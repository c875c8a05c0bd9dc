#include "browser/tools/tool_text.h"

#include "browser/pages/file_names.h"
#include "common/text.h"

namespace corvane {

ToolMode ModeOfCaption(std::wstring_view caption) {
  if (caption == kSourceCaption) return ToolMode::kSource;
  if (caption == kPingCaption) return ToolMode::kPing;
  return ToolMode::kIpconfig;
}

std::wstring CollectedText(std::wstring_view output) {
  std::wstring text;
  // A lone CR ends a line as well (some commands end their lines so).
  for (const std::wstring& line : common::SplitLines(output, common::LineEnds::AlsoLoneCr)) text += line + L"\r\n";
  return text;
}

namespace {
constexpr size_t kMaxSaveName = 120;
// Cut to the length, without blanks around it; a name may not end in a dot either.
std::wstring CutSaveName(std::wstring_view name) {
  std::wstring cut = common::Trim(name.substr(0, kMaxSaveName));
  while (!cut.empty() && (cut.back() == L'.' || cut.back() == L' ')) cut.pop_back();
  return cut;
}
}  // namespace

std::wstring SaveName(std::wstring_view text) {
  std::wstring name;
  for (wchar_t c : text) name.push_back(IsForbiddenNameChar(c) ? L' ' : c);
  // The device mark goes in after the cut that could have made the name a device, and never sits past it.
  name = CutSaveName(NotADevice(CutSaveName(name)));
  return name.empty() ? L"网络未知" : name;
}

std::optional<std::pair<size_t, size_t>> FindFirst(std::wstring_view text, std::wstring_view what) {
  if (what.empty()) return std::nullopt;
  size_t at = common::FindNoCase(text, what);
  if (at == std::wstring_view::npos) return std::nullopt;
  return std::make_pair(at, at + what.size());
}

}  // namespace corvane
