#include "guard/monitors/startup_monitor.h"

#include <algorithm>

#include "common/text.h"
#include "guard/monitors/ask_lists.h"

namespace zorvix {

const std::vector<WatchedLocation>& WatchedLocations() {
  static const std::vector<WatchedLocation> locations = [] {
    const wchar_t* keys[] = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"};
    std::vector<WatchedLocation> v;
    for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
      for (const wchar_t* key : keys) v.push_back({root, key});
    v.push_back({RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\shell"});
    return v;
  }();
  return locations;
}

std::wstring KeyPathInView(std::wstring_view key, RegView view) {
  constexpr std::wstring_view software = L"Software\\";
  if (view != RegView::Wow32 || !common::StartsWithNoCase(key, software)) return std::wstring(key);
  return std::wstring(key.substr(0, software.size())) + L"WOW6432Node\\" + std::wstring(key.substr(software.size()));
}

std::wstring RunLocation(RegRoot root, std::wstring_view key, RegView view, std::wstring_view valueName) {
  std::wstring name = valueName.empty() ? kDefaultValueName : std::wstring(valueName);
  return common::ToLower(RootName(root) + KeyPathInView(key, view) + L"\\" + name);
}

std::wstring RegDataText(uint32_t type, const std::vector<uint8_t>& data) {
  auto number = [&](size_t bytes) {
    uint64_t v = 0;
    for (size_t i = 0; i < bytes && i < data.size(); ++i) v |= uint64_t(data[i]) << (8 * i);
    return std::to_wstring(v);
  };
  auto wide = [&] {
    std::wstring s(data.size() / 2, L'\0');
    for (size_t i = 0; i < s.size(); ++i) s[i] = wchar_t(data[2 * i] | (data[2 * i + 1] << 8));
    return s;
  };
  switch (type) {
    case 1:  // REG_SZ
    case 2:  // REG_EXPAND_SZ
      return common::CutAtNul(wide());
    case 4: return number(4);  // REG_DWORD
    case 11: return number(8);  // REG_QWORD
    case 5: {                   // REG_DWORD_BIG_ENDIAN
      uint32_t v = 0;
      for (size_t i = 0; i < 4 && i < data.size(); ++i) v = (v << 8) | data[i];
      return std::to_wstring(v);
    }
    case 7: {  // REG_MULTI_SZ
      std::wstring text, all = wide();
      for (size_t pos = 0; pos < all.size();) {
        size_t end = std::min(all.find(L'\0', pos), all.size());
        if (end == pos) break;
        text += (text.empty() ? L"" : L"\r\n") + all.substr(pos, end - pos);
        pos = end + 1;
      }
      return text;
    }
    default: {
      static const wchar_t hex[] = L"0123456789ABCDEF";
      std::wstring text;
      for (uint8_t b : data) text += {hex[b >> 4], hex[b & 15], L' '};
      return text;
    }
  }
}

std::optional<StartupItem> StartupQueue::TakeLast() {
  if (items_.empty()) return std::nullopt;
  StartupItem item = std::move(items_.back());
  items_.pop_back();
  return item;
}

SkipReason SkipReasonFor(std::wstring_view program, std::wstring_view location, std::wstring_view allowList,
                         const std::function<bool()>& trusted) {
  if (program.size() <= 6) return SkipReason::TooShort;
  if (DecisionList(allowList).Contains(location)) return SkipReason::Allowed;
  if (trusted && trusted()) return SkipReason::Trusted;
  return SkipReason::None;
}

}  // namespace zorvix
