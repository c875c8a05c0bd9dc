#include "search/engine/case_fold.h"

#include <cstdint>

#include "common/case_table.h"

namespace sercavo {

CaseFold::CaseFold() : map_(common::UpperCaseTable()), classSize_(0x10000), classBeyondAscii_(0x10000) {
  for (uint32_t x = 0; x < 0x10000; ++x) {
    uint16_t f = uint16_t(map_[x]);
    if (classSize_[f] < 255) ++classSize_[f];
    if (x >= 0x80) classBeyondAscii_[f] = 1;
  }
}

const CaseFold& CaseFold::Get() {
  static const CaseFold fold;
  return fold;
}

size_t CaseFold::Find(std::wstring_view text, std::wstring_view needle, size_t from) const {
  if (needle.empty() || needle.size() > text.size()) return std::wstring_view::npos;
  const wchar_t first = needle[0];
  const size_t last = text.size() - needle.size();
  for (size_t i = from; i <= last; ++i) {
    if ((*this)(text[i]) != first) continue;
    size_t k = 1;
    while (k < needle.size() && (*this)(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::wstring_view::npos;
}

std::wstring CaseFold::Folded(std::wstring_view s) const {
  std::wstring r(s);
  for (wchar_t& c : r) c = (*this)(c);
  return r;
}

int CaseFold::Compare(std::wstring_view a, std::wstring_view b, bool exactTie) const {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = (*this)(a[i]), y = (*this)(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  if (!exactTie) return 0;
  int exact = a.compare(b);
  return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

}  // namespace sercavo
