// Text rules of the page-source / ping / address tool window.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

inline constexpr wchar_t kSourceCaption[] = L"源文件";
inline constexpr wchar_t kPingCaption[] = L"Ping 测试";
inline constexpr wchar_t kIpconfigCaption[] = L"IP 地址配置";

enum class ToolMode { kSource, kPing, kIpconfig };
// The mode follows the window's caption: "源文件", "Ping 测试", anything else the address configuration.
ToolMode ModeOfCaption(std::wstring_view caption);

// A command's output as the window shows it: every line followed by CR LF, whatever ended it.
std::wstring CollectedText(std::wstring_view output);

// The name proposed when saving: the text without the characters a file name cannot hold, cut to a length
// every file dialog takes, marked when it would name a device; "网络未知" when nothing is left.
std::wstring SaveName(std::wstring_view text);

// The first occurrence of `what` in `text`, letter case ignored: its start and end.
std::optional<std::pair<size_t, size_t>> FindFirst(std::wstring_view text, std::wstring_view what);

}  // namespace corvane
