// The name the browser's settings are kept under, shared by the frame and every tool.
#pragma once

namespace corvane {

inline constexpr wchar_t kApp[] = L"Corvane";

}  // namespace corvane
