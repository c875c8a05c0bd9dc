#include "common/case_table.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace common {
namespace {
// One call per run of units outside the surrogate range; a run the platform maps to another length
// (it should not) falls back to unit by unit.
void MapRun(std::vector<wchar_t>& t, unsigned from, unsigned to, DWORD flags) {
  int n = int(to - from);
  std::vector<wchar_t> out(n);
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, flags, &t[from], n, out.data(), n, nullptr, nullptr, 0) == n) {
    std::copy(out.begin(), out.end(), t.begin() + from);
    return;
  }
  for (unsigned c = from; c < to; ++c) {
    wchar_t in = wchar_t(c), mapped = in;
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, flags, &in, 1, &mapped, 1, nullptr, nullptr, 0) == 1) t[c] = mapped;
  }
}

std::vector<wchar_t> Build(DWORD flags) {
  std::vector<wchar_t> t(0x10000);
  for (unsigned c = 0; c < t.size(); ++c) t[c] = wchar_t(c);
  MapRun(t, 1, 0xD800, flags);
  MapRun(t, 0xE000, 0x10000, flags);
  return t;
}
}  // namespace

const wchar_t* UpperCaseTable() {
  static const std::vector<wchar_t> t = Build(LCMAP_UPPERCASE);
  return t.data();
}

const wchar_t* LowerCaseTable() {
  static const std::vector<wchar_t> t = Build(LCMAP_LOWERCASE);
  return t.data();
}

}  // namespace common
