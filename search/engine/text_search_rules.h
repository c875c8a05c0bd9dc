// Rules of the text search window: which files are read, what counts as a hit, find-next, and the texts
// of its status bar.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_codec.h"

namespace sercavo {

// The file-type box: patterns separated by ";" ("*.txt;*.htm"), each matched against the whole file name
// with "*" and "?", letter case ignored. "*.*" lets every file through, names without "." included.
bool TypeMatches(std::wstring_view patterns, std::wstring_view fileName);
bool WildcardMatches(std::wstring_view pattern, std::wstring_view name);

// The size box in KB: its leading number (as a form reads a number: "1.5", "200KB"; nothing gives 0)
// times 1000, rounded, within 32 bits. A file is read only when it is smaller.
int32_t SizeLimitBytes(std::wstring_view sizeBox);
inline bool SizeAllowed(uint64_t size, int32_t limit) { return limit > 0 && size < uint64_t(limit); }

// Every exact (letter case kept) occurrence of find in text replaced by replacement; count says how many.
std::wstring ReplaceExact(std::wstring_view text, std::wstring_view find, std::wstring_view replacement, size_t& count);
// The line end a text uses most ("\r\n", "\n" or "\r"; "\r\n" when it has none), for text saved in its place.
std::wstring LineEndOf(std::wstring_view text);

// Find-next through the shown text: from `next` on, letter case ignored (needle folded). A hit moves
// `next` past it; none puts `next` back to the top and gives nullopt, so the next use starts again.
std::optional<size_t> FindNextHit(std::wstring_view text, std::wstring_view foldedNeedle, size_t& next);

// Status texts.
std::wstring ScanSizeText(uint64_t bytes);   // "文件大小：1.5KB"
std::wstring ShownSizeText(uint64_t bytes);  // "大小：1.5 KB"
std::wstring ScannedText(int32_t count);     // "搜索文件：7 个"
std::wstring FoundText(int32_t count);       // "发现目标：2 个"
std::wstring ResultsTip(size_t files);       // "搜索结果：2 个文件"
// Files whose replace or save could not be written: "文件无法写入：" + the first (and how many).
std::wstring NotWrittenText(const std::wstring& first, size_t count);
// Why a file the replace found was left as it was.
enum class NotReplaced {
  kNotWritten,    // the file could not be written (locked, read-only, ...)
  kNotHeld,       // its form (its code page) cannot hold the replacement
  kAcrossMarkup,  // rich text: an occurrence stands across markup
  kLinkOutside,   // a link leads out of the searched folder
  kNotWhole,      // it could not be read whole, or would not be written back as it was
};
// The status text after a replace: the first file left alone, why, and how many were.
std::wstring NotReplacedText(NotReplaced why, const std::wstring& first, size_t count);

// A file the content pane shows as rich text: named .rtf and holding rich text.
bool IsRichText(std::wstring_view path, std::string_view bytes);

// Why "另存为" may not write the pane's text over the file it shows: the pane does not hold the file whole
// and as it is.
enum class SaveRefusal { kNone, kUnreadable, kTooLarge, kNotExact, kRichText };
std::wstring SaveRefusedText(SaveRefusal why, const std::wstring& path);
// A save that failed: the form of the file cannot hold the text of line (notHeld), or the file could not
// be written.
std::wstring SaveFailedText(const std::wstring& path, bool notHeld, const std::wstring& line);

inline constexpr wchar_t kWordCaption[] = L"全盘搜索文字";
inline constexpr wchar_t kStartFind[] = L"开始查找";
inline constexpr wchar_t kStopFind[] = L"停止搜索";
inline constexpr wchar_t kNothingFound[] = L"对不起！没有搜索到符合要求的文件……";
inline constexpr wchar_t kFindDone[] = L"报告！已经搜索完毕……    ";
inline constexpr wchar_t kNotStopped[] = L"对不起！您还没有停止文件搜索……       ";

}  // namespace sercavo
