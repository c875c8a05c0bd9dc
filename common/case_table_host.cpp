#include <clocale>
#include <cwctype>
#include <vector>

#include "common/case_table.h"

namespace common {
namespace {
std::vector<wchar_t> Build(bool upper) {
  locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
  std::vector<wchar_t> t(0x10000);
  for (unsigned c = 0; c < t.size(); ++c) {
    wint_t m = utf8 ? (upper ? towupper_l(c, utf8) : towlower_l(c, utf8)) : c;
    t[c] = m <= 0xFFFF ? wchar_t(m) : wchar_t(c);
  }
  if (utf8) freelocale(utf8);
  return t;
}
}  // namespace

const wchar_t* UpperCaseTable() {
  static const std::vector<wchar_t> t = Build(true);
  return t.data();
}

const wchar_t* LowerCaseTable() {
  static const std::vector<wchar_t> t = Build(false);
  return t.data();
}

}  // namespace common
