// Names at the target of a copy or move: nothing that is already there is ever replaced.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace sercavo {

// name itself when it is free, else "stem (2).ext", "stem (3).ext", ... (a folder: "name (2)"); empty when
// no free name was found.
std::wstring FreeName(std::wstring_view name, bool folder, const std::function<bool(const std::wstring&)>& taken);

// Whether path lies inside folder (or is it), letter case ignored: a folder never goes into itself.
bool IsInside(std::wstring_view path, std::wstring_view folder);

}  // namespace sercavo
