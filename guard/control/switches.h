// The system switches of the repair page: seven rows, the registry values each ticked row writes, and
// the message that closes an apply.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/reg_entry.h"

namespace zorvix {

inline constexpr int kSwitchRows = 7;
// The captions of rows 1 to 7 (index 0 is row 1).
extern const std::array<const wchar_t*, kSwitchRows> kSwitchCaptions;

struct SwitchWrite {
  int row;  // 1 to 7
  common::RegRoot root;
  std::wstring key;
  std::wstring name;  // empty: the key's default value
  bool isDword;
  uint32_t dword;
  std::wstring text;
  bool operator==(const SwitchWrite&) const = default;
};

// Everything an apply writes, in order: the values of every ticked row among 1 to 6, then row 7's two
// class identifiers when it is ticked or two empty strings when it is not.
std::vector<SwitchWrite> SwitchWrites(const std::array<bool, kSwitchRows>& ticked);

// The keys of row 7 and the class identifiers that make their entries appear.
inline constexpr wchar_t kCopyToKey[] =
    L"SOFTWARE\\Classes\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Copy To";
inline constexpr wchar_t kMoveToKey[] =
    L"SOFTWARE\\Classes\\AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Move To";
inline constexpr wchar_t kCopyToClsid[] = L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}";
inline constexpr wchar_t kMoveToClsid[] = L"{C2FBB631-2971-11D1-A18C-00C04FD75D13}";
// Row 7 starts ticked when both entries are on the menu already, so that an apply keeps them.
bool ContextEntriesPresent(std::wstring_view copyToValue, std::wstring_view moveToValue);

// The message after an apply: the completion text when every write succeeded, otherwise the rows that
// could not be written.
std::wstring ApplyResultText(const std::vector<int>& failedRows);
inline constexpr wchar_t kApplyDoneText[] = L"设置完成！其中部分功能只有重新启动电脑才会有效……    ";

inline constexpr wchar_t kApplyCaption[] = L"立即修复(&D)";

}  // namespace zorvix
