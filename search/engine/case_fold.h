// Letter case as the platform folds it, one table lookup per character: texts of whole files and a
// million row names are compared, where a call per comparison would cost more than the work.
#pragma once
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "common/case_table.h"

namespace sercavo {

class CaseFold {
 public:
  // The platform's upper-casing table, as the common text layer folds.
  static const CaseFold& Get();
  static bool InTable(wchar_t c) { return common::InCaseTable(c); }
  wchar_t operator()(wchar_t c) const { return common::MapCase(c, map_); }
  // Position of the folded needle in text, ignoring case; npos when absent. An empty needle is never found.
  size_t Find(std::wstring_view text, std::wstring_view foldedNeedle, size_t from = 0) const;
  std::wstring Folded(std::wstring_view s) const;
  // How many characters fold to what c folds to (1: c has no other letter case), and whether all of them
  // are ASCII.
  int ClassSize(wchar_t c) const { return InTable(c) ? classSize_[uint32_t((*this)(c)) & 0xFFFF] : 1; }
  bool ClassIsAscii(wchar_t c) const { return InTable(c) && !classBeyondAscii_[uint32_t((*this)(c)) & 0xFFFF]; }
  // Text order ignoring case; with exactTie, equal folded texts order by their exact text.
  int Compare(std::wstring_view a, std::wstring_view b, bool exactTie = true) const;

 private:
  CaseFold();
  const wchar_t* map_;
  std::vector<uint8_t> classSize_, classBeyondAscii_;  // by folded character
};

}  // namespace sercavo
