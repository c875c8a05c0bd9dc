// Rules of a page window: the pop-up block list, load progress, titles, captions and the server host.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace corvane {

inline constexpr wchar_t kBrowserTitle[] = L"Corvane安全浏览器";
inline constexpr wchar_t kBlankPage[] = L"about:blank";
inline constexpr wchar_t kBlankCaption[] = L"空白网页";
inline constexpr wchar_t kBlankTabTip[] = L"鼠标右击查看属性，双击后可以关闭当前窗口";
inline constexpr wchar_t kUrlPrompt[] = L"http://www.";

// The advertisement block list: an address is blocked when it equals one non-empty line of the list,
// letter case and the blanks around the line ignored.
class BlockList {
 public:
  // Builds from the text of the list file (CR, LF and CR LF each end a line).
  void Load(std::wstring_view text);
  void Clear() { lines_.clear(); }
  bool Blocks(std::wstring_view url) const;
  size_t size() const { return lines_.size(); }

 private:
  std::unordered_set<std::wstring> lines_;
};

struct Progress {
  int percent;                       // the tab's load progress
  std::optional<std::wstring> text;  // new text of the progress panel, when it changes
};
// ProgressChange(progress, progressMax).
Progress ProgressOf(long progress, long progressMax);

// The title a tab shows: the document title cut to 100 characters, or the address when it is empty.
std::wstring PageTitle(std::wstring_view documentTitle, std::wstring_view url);
// The frame caption for the active page's title.
std::wstring FrameCaption(std::wstring_view title);
// "下载页面耗时：" + seconds + " 秒".
std::wstring DownloadTimeText(long seconds);
bool IsBlankAddress(std::wstring_view url);

// Host of an address for the server look-up: after the first "//" up to the next "/"; nullopt when there
// is no "//" or no "/" after the host.
std::optional<std::wstring> HostOf(std::wstring_view url);
std::wstring RemoteAddressText(std::wstring_view ip);
std::wstring LocalAddressText(std::wstring_view ip);

}  // namespace corvane
