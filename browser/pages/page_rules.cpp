#include "browser/pages/page_rules.h"

#include <cmath>

#include "browser/files/text_lines.h"
#include "common/text.h"

namespace corvane {

void BlockList::Load(std::wstring_view text) {
  lines_.clear();
  // A line is the address it holds: blanks around it, as editors leave them, are no part of it.
  for (const TextLine& line : SplitKeepingEnds(text)) {
    std::wstring address = common::Trim(line.text);
    if (!address.empty()) lines_.insert(common::ToLower(address));
  }
}

bool BlockList::Blocks(std::wstring_view url) const {
  return !url.empty() && lines_.count(common::ToLower(common::Trim(url))) > 0;
}

Progress ProgressOf(long progress, long progressMax) {
  Progress r{0, std::nullopt};
  if (progress == -1) r.text = L"100%";
  float percent = progress > 0 && progressMax > 0 ? float(progress) * 100.0f / float(progressMax) : 0.0f;
  if (percent > 100.0f) percent = 0.0f;
  r.percent = int(std::nearbyint(percent));
  if (percent > 0.0f) {
    // The panel shows the percent as the number it is, e.g. "37.5%".
    wchar_t buf[32];
    swprintf(buf, 32, L"%g%%", double(percent));
    r.text = buf;
  }
  return r;
}

std::wstring PageTitle(std::wstring_view documentTitle, std::wstring_view url) {
  if (documentTitle.empty()) return std::wstring(url);
  return std::wstring(documentTitle.substr(0, 100));
}

std::wstring FrameCaption(std::wstring_view title) { return std::wstring(title) + L" - " + kBrowserTitle; }

std::wstring DownloadTimeText(long seconds) { return L"下载页面耗时：" + std::to_wstring(seconds) + L" 秒"; }

bool IsBlankAddress(std::wstring_view url) { return url.empty() || url == kBlankPage; }

std::optional<std::wstring> HostOf(std::wstring_view url) {
  size_t start = url.find(L"//");
  if (start == std::wstring_view::npos) return std::nullopt;
  start += 2;
  size_t end = url.find(L'/', start);
  if (end == std::wstring_view::npos || end == start) return std::nullopt;
  std::wstring_view host = url.substr(start, end - start);
  // The look-up wants the name alone: no user part, no port.
  if (size_t at = host.rfind(L'@'); at != std::wstring_view::npos) host.remove_prefix(at + 1);
  if (size_t colon = host.rfind(L':'); colon != std::wstring_view::npos && host.find(L']') == std::wstring_view::npos)
    host = host.substr(0, colon);
  if (host.empty()) return std::nullopt;
  return std::wstring(host);
}

std::wstring RemoteAddressText(std::wstring_view ip) { return L"远程主机IP地址： " + std::wstring(ip); }
std::wstring LocalAddressText(std::wstring_view ip) { return L"本机IP地址： " + std::wstring(ip); }

}  // namespace corvane
