// The platform's upper- and lower-case mapping of every UTF-16 unit, built once. Windows takes its own
// tables (the ones ordinal comparisons ignoring case use); the native build takes the C library's Unicode
// tables, so that the pure rules are tested natively with the same kind of folding.
#pragma once
#include <cwchar>

namespace common {

// 65536 entries each, indexed by the unit.
const wchar_t* UpperCaseTable();
const wchar_t* LowerCaseTable();

// Whether the tables map c: wide characters of the native build also hold code points beyond UTF-16 units,
// which have no case here.
inline bool InCaseTable(wchar_t c) {
#if WCHAR_MAX > 0xFFFF
  return static_cast<unsigned long>(c) <= 0xFFFF;
#else
  (void)c;
  return true;
#endif
}
// c through one of the tables; the one rule for folding a unit, so that every comparison ignoring case
// agrees with every other.
inline wchar_t MapCase(wchar_t c, const wchar_t* table) { return InCaseTable(c) ? table[c] : c; }

}  // namespace common
