#include "search/engine/text_search_rules.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/text.h"
#include "search/engine/case_fold.h"
#include "search/engine/search_rules.h"
#include "search/engine/text_needle.h"

namespace sercavo {
namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

bool WildcardMatches(std::wstring_view p, std::wstring_view n) {
  const CaseFold& fold = CaseFold::Get();
  // Greedy match with one back-track point: the last "*" seen.
  size_t pi = 0, ni = 0, star = std::wstring_view::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == L'?' || (p[pi] != L'*' && fold(p[pi]) == fold(n[ni])))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == L'*') {
      star = pi++;
      mark = ni;
    } else if (star != std::wstring_view::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == L'*') ++pi;
  return pi == p.size();
}

bool TypeMatches(std::wstring_view patterns, std::wstring_view fileName) {
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(L';', start);
    if (end == std::wstring_view::npos) end = patterns.size();
    std::wstring_view p = patterns.substr(start, end - start);
    while (!p.empty() && IsBlank(p.front())) p.remove_prefix(1);
    while (!p.empty() && IsBlank(p.back())) p.remove_suffix(1);
    if (p == L"*.*" || (!p.empty() && WildcardMatches(p, fileName))) return true;
    start = end + 1;
  }
  return false;
}

int32_t SizeLimitBytes(std::wstring_view box) {
  size_t i = 0;
  while (i < box.size() && IsBlank(box[i])) ++i;
  bool negative = i < box.size() && box[i] == L'-';
  if (i < box.size() && (box[i] == L'-' || box[i] == L'+')) ++i;
  double value = 0, scale = 0;
  for (; i < box.size(); ++i) {
    wchar_t c = box[i];
    if (c == L'.' && scale == 0) {
      scale = 1;
    } else if (c >= L'0' && c <= L'9') {
      if (scale > 0)
        value += (c - L'0') * (scale /= 10);
      else
        value = value * 10 + (c - L'0');
    } else {
      break;
    }
  }
  double bytes = std::round((negative ? -value : value) * 1000);
  if (bytes >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (bytes <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return int32_t(bytes);
}

std::wstring ReplaceExact(std::wstring_view text, std::wstring_view find, std::wstring_view replacement,
                          size_t& count) {
  count = 0;
  if (find.empty()) return std::wstring(text);
  std::wstring r;
  size_t done = 0;
  for (size_t at = text.find(find); at != std::wstring_view::npos; at = text.find(find, done)) {
    r.append(text.substr(done, at - done)).append(replacement);
    done = at + find.size();
    ++count;
  }
  return r.append(text.substr(done));
}

std::wstring LineEndOf(std::wstring_view text) {
  size_t crlf = 0, lf = 0, cr = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      ++crlf;
      ++i;
    } else if (text[i] == L'\n') {
      ++lf;
    } else if (text[i] == L'\r') {
      ++cr;
    }
  }
  if (lf > crlf && lf >= cr) return L"\n";
  if (cr > crlf && cr > lf) return L"\r";
  return L"\r\n";
}

std::wstring NotReplacedText(NotReplaced why, const std::wstring& first, size_t count) {
  if (why == NotReplaced::kNotWritten) return NotWrittenText(first, count);
  std::wstring text;
  switch (why) {
    case NotReplaced::kNotHeld: text = L"文件的编码无法写入替换的文字，未替换："; break;
    case NotReplaced::kAcrossMarkup: text = L"要替换的文字跨越了 RTF 格式，未替换："; break;
    case NotReplaced::kLinkOutside: text = L"链接指向搜索目录以外，未替换："; break;
    default: text = L"文件没有完整读出，未替换："; break;
  }
  text += first;
  if (count > 1) text += L" 等 " + std::to_wstring(count) + L" 个文件";
  return text;
}

bool IsRichText(std::wstring_view path, std::string_view bytes) {
  return common::EqualsNoCase(common::ExtensionOf(path), L"rtf") && bytes.starts_with("{\\rtf");
}

std::wstring SaveRefusedText(SaveRefusal why, const std::wstring& path) {
  switch (why) {
    case SaveRefusal::kUnreadable: return L"这个文件没有读出，不能覆盖它：" + path;
    case SaveRefusal::kTooLarge: return L"这个文件太大，没有完整读出，不能覆盖它：" + path;
    case SaveRefusal::kNotExact: return L"这个文件有无法原样保存的内容，不能覆盖它：" + path;
    case SaveRefusal::kRichText: return L"这是 RTF 文件，按纯文本保存会丢失它的格式，不能覆盖它：" + path;
    case SaveRefusal::kNone: break;
  }
  return {};
}

std::wstring SaveFailedText(const std::wstring& path, bool notHeld, const std::wstring& line) {
  if (notHeld) return L"文件的编码无法保存这一行的文字，没有保存：" + path + L"\r\n" + line;
  return NotWrittenText(path, 1);
}

std::optional<size_t> FindNextHit(std::wstring_view text, std::wstring_view needle, size_t& next) {
  size_t at = next <= text.size() ? CaseFold::Get().Find(text, needle, next) : std::wstring_view::npos;
  if (at == std::wstring_view::npos) {
    next = 0;
    return std::nullopt;
  }
  next = at + needle.size();
  return at;
}

std::wstring ScanSizeText(uint64_t bytes) { return L"文件大小：" + KiloText(bytes) + L"KB"; }
std::wstring ShownSizeText(uint64_t bytes) { return L"大小：" + KiloText(bytes) + L" KB"; }
std::wstring ScannedText(int32_t count) { return L"搜索文件：" + std::to_wstring(count) + L" 个"; }
std::wstring FoundText(int32_t count) { return L"发现目标：" + std::to_wstring(count) + L" 个"; }
std::wstring ResultsTip(size_t files) { return L"搜索结果：" + std::to_wstring(files) + L" 个文件"; }
std::wstring NotWrittenText(const std::wstring& first, size_t count) {
  std::wstring text = L"文件无法写入：" + first;
  if (count > 1) text += L" 等 " + std::to_wstring(count) + L" 个文件";
  return text;
}

}  // namespace sercavo
