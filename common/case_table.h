// The platform's upper- and lower-case mapping of every UTF-16 unit, built once. Windows takes its own
// tables (the ones ordinal comparisons ignoring case use); the native build takes the C library's Unicode
// tables, so that the pure rules are tested natively with the same kind of folding.
#pragma once

namespace common {

// 65536 entries each, indexed by the unit.
const wchar_t* UpperCaseTable();
const wchar_t* LowerCaseTable();

}  // namespace common
