// What every part of the search tool shares: the name its settings are kept under, and the privacy
// shields that the shield window sets and every search obeys.
#pragma once
#include <array>
#include <string>

namespace sercavo {

inline constexpr wchar_t kApp[] = L"Sercavo";

// Five shield slots: a category whose slot reads as a number other than 0 is hidden.
using ShieldFlags = std::array<std::wstring, 5>;

}  // namespace sercavo
