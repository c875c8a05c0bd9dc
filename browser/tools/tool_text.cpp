#include "browser/tools/tool_text.h"

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
  for (const std::wstring& line : common::SplitLines(common::ReplaceAll(common::ReplaceAll(output, L"\r\n", L"\n"), L"\r", L"\n")))
    text += line + L"\r\n";
  return text;
}

std::wstring SaveName(std::wstring_view text) {
  constexpr size_t kMaxName = 120;
  std::wstring name;
  for (wchar_t c : text) {
    if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L' ';
    name.push_back(c);
  }
  name = common::Trim(name.substr(0, kMaxName));
  // A name may not end in a dot either.
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name.empty() ? L"网络未知" : name;
}

std::optional<std::pair<size_t, size_t>> FindFirst(std::wstring_view text, std::wstring_view what) {
  if (what.empty()) return std::nullopt;
  size_t at = common::FindNoCase(text, what);
  if (at == std::wstring_view::npos) return std::nullopt;
  return std::make_pair(at, at + what.size());
}

}  // namespace corvane
