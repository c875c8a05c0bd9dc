#include "browser/pages/closed_pages.h"

#include <algorithm>

#include "common/text.h"

namespace corvane {

bool ClosedPages::Remember(const std::wstring& caption, const std::wstring& url) {
  if (caption.empty()) return false;
  count_ = std::min(count_ + 1, kClosedPages);
  for (int n = kClosedPages; n >= 2; --n) entries_[n - 1] = entries_[n - 2];
  // 40 units, never half of a character outside the basic plane.
  size_t cut = std::min<size_t>(caption.size(), 40);
  if (cut == 40 && caption[39] >= 0xD800 && caption[39] <= 0xDBFF) --cut;
  entries_[0] = {caption.substr(0, cut), url};
  return true;
}

std::wstring ClosedPages::Reopen(int n) {
  if (n < 1 || n > kClosedPages) return L"";
  std::wstring url = entries_[n - 1].url;
  for (int i = n; i < kClosedPages; ++i) entries_[i - 1] = entries_[i];
  entries_[kClosedPages - 1] = {};
  return url;
}

int ClosedPages::KeyNumber(const std::wstring& key) {
  if (key.size() < 3 || key.size() > 4 || key.compare(0, 2, L"ur") != 0) return 0;
  auto n = common::ParseNumber(key.substr(2));
  return n && *n >= 1 && *n <= kClosedPages && *n == int(*n) ? int(*n) : 0;
}

}  // namespace corvane
