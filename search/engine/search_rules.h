// Rules of the search that need no system: kinds, match rules, texts of a result row, drives and the
// keyword history.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/app.h"

namespace sercavo {

inline constexpr wchar_t kMyComputer[] = L"我的电脑";

// Search kinds: the index of the option buttons.
enum SearchKind : int16_t { kName = 0, kText = 1, kMovies = 2, kMusic = 3, kPictures = 4, kFlash = 5, kJunk = 6 };
inline constexpr int kKindCount = 7;
const std::wstring& KindCaption(int kind);

bool ShieldHides(const ShieldFlags& shields, int kind);

// "," + extension + ","; the whole name stands for the extension when it has no ".".
std::wstring ExtensionKey(std::wstring_view name);
// The keyword rule: the name holds the keyword anywhere, letter case ignored; an empty keyword never matches.
bool KeywordMatches(std::wstring_view keyword, std::wstring_view name);
// Whether a file matches the kind. size: bytes (64-bit).
bool FileMatches(int kind, std::wstring_view keyword, std::wstring_view name, uint64_t size,
                 const ShieldFlags& shields);
// The folder's own name (text after the last "\"; empty for a drive root).
std::wstring FolderName(std::wstring_view path);

// Texts of a result row. Sizes in thousands of bytes: "1.5", "0.005", "0".
std::wstring KiloText(uint64_t bytes);
std::wstring SizeText(uint64_t bytes);
std::wstring TypeText(std::wstring_view name);
inline constexpr wchar_t kFolderSize[] = L"未知";
inline constexpr wchar_t kFolderType[] = L"文件夹";

// Drive types as GetDriveType reports them: unknown, no root, removable and optical drives are not searched.
bool IsSearchedDriveType(unsigned type);
// The roots of a GetLogicalDriveStrings buffer (NUL-separated), upper-cased.
std::vector<std::wstring> SplitDriveStrings(std::wstring_view buffer);

// The folder on the command line, with every double quote removed.
std::wstring PendingFolderOf(std::wstring_view commandLine);

// Keywords searched while the program runs: the first 20 are remembered, duplicates included.
class KeywordHistory {
 public:
  static constexpr size_t kSlots = 20;
  void Add(const std::wstring& keyword);
  const std::vector<std::wstring>& items() const { return items_; }

 private:
  std::vector<std::wstring> items_;
};

// The first-run marker counts only when it holds at least 11 bytes.
inline constexpr long long kFirstRunMinBytes = 11;

}  // namespace sercavo
