// Letter case as the platform folds it, one table lookup per character: texts of whole files and a
// million row names are compared, where a call per comparison would cost more than the work.
#pragma once
#include <string>
#include <string_view>
#include <cstdint>
#include <cwchar>

namespace sercavo {

class CaseFold {
 public:
  // The platform's upper-casing table, as the common text layer folds.
  static const CaseFold& Get();
  wchar_t operator()(wchar_t c) const {
#if WCHAR_MAX > 0xFFFF
    if (uint32_t(c) > 0xFFFF) return c;  // wide characters of the native build hold whole code points
#endif
    return map_[uint32_t(c) & 0xFFFF];
  }
  // Position of the folded needle in text, ignoring case; npos when absent. An empty needle is never found.
  size_t Find(std::wstring_view text, std::wstring_view foldedNeedle, size_t from = 0) const;
  std::wstring Folded(std::wstring_view s) const;
  // Text order ignoring case; with exactTie, equal folded texts order by their exact text.
  int Compare(std::wstring_view a, std::wstring_view b, bool exactTie = true) const;

 private:
  CaseFold();
  const wchar_t* map_;
};

}  // namespace sercavo
