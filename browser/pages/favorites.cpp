#include "browser/pages/favorites.h"

#include "browser/pages/file_names.h"
#include "browser/files/text_lines.h"
#include "common/text.h"

namespace corvane {
namespace {
constexpr std::wstring_view kUrlKey = L"URL=";
constexpr std::wstring_view kExtension = L".url";

wchar_t Replacement(wchar_t c) {
  switch (c) {
    case L'/': return L' ';
    case L':': return L'：';
    case L'*': return L'，';
    case L'<': return L'[';
    case L'>': return L']';
    case L'|': return L'I';
    case L'?': return L'？';
    case L'"': return L'＂';
  }
  return c;
}

// Cuts to at most n units without splitting a surrogate pair.
std::wstring CutTo(std::wstring s, size_t n) {
  if (s.size() <= n) return s;
  if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
  s.resize(n);
  return s;
}

// A line break inside the address would make another line.
std::wstring OneLine(std::wstring_view address) {
  std::wstring one;
  for (wchar_t c : address)
    if (c != L'\r' && c != L'\n') one.push_back(c);
  return one;
}

bool IsUrlLine(std::wstring_view line) {
  return line.size() >= kUrlKey.size() && common::EqualsNoCase(line.substr(0, kUrlKey.size()), kUrlKey);
}
}  // namespace

std::wstring FormatUrlFile(std::wstring_view address) {
  return L"[InternetShortcut]\r\nURL=" + OneLine(address) + L"\r\n";
}

std::optional<std::wstring> WithUrl(std::wstring_view fileText, std::wstring_view address) {
  std::vector<TextLine> lines = SplitKeepingEnds(fileText), kept;
  bool replaced = false;
  for (TextLine& line : lines) {
    if (!IsUrlLine(line.text)) {
      kept.push_back(std::move(line));
    } else if (!replaced) {
      kept.push_back({L"URL=" + OneLine(address), std::move(line.end)});
      replaced = true;
    }
  }
  if (!replaced) return std::nullopt;
  return JoinLines(kept);
}

std::vector<std::wstring> UrlAddresses(std::wstring_view text) {
  std::vector<std::wstring> addresses;
  for (std::wstring_view line : common::SplitLines(text, common::LineEnds::AlsoLoneCr)) {
    if (!IsUrlLine(line)) continue;
    std::wstring address = common::Trim(line.substr(kUrlKey.size()));
    if (!address.empty()) addresses.push_back(std::move(address));
  }
  return addresses;
}

std::optional<std::wstring> FavoriteTitle(std::wstring_view fileName) {
  if (fileName.size() <= kExtension.size() || !common::EndsWithNoCase(fileName, kExtension)) return std::nullopt;
  return std::wstring(fileName.substr(0, fileName.size() - kExtension.size()));
}

std::vector<std::wstring> MenuTitles(const std::vector<FavoriteFile>& files) {
  std::vector<std::wstring> titles;
  for (const auto& file : files) {
    if (titles.size() == size_t(kMaxFavoriteItems)) break;
    if (file.text && !UrlAddresses(*file.text).empty()) titles.push_back(file.title);
  }
  return titles;
}

std::wstring FavoriteFileTitle(std::wstring_view title) {
  std::wstring name;
  for (wchar_t c : title)
    if (c != L'\\' && c >= 0x20 && c != 0x7F) name.push_back(Replacement(c));
  // Cut first: the checks are on the name as it is stored.
  name = CutTo(std::move(name), kMaxNamePart);
  if (IsOnlyDots(name)) {
    for (auto& c : name)
      if (c == L'.') c = L'．';
  }
  if (IsDeviceName(name)) name = CutTo(NotADevice(std::move(name)), kMaxNamePart);
  return common::Trim(name).empty() ? std::wstring() : name;
}

std::vector<FavoriteNode> BuildFavoritesTree(const std::vector<FavoriteFolder>& folders,
                                             const std::vector<FavoriteFile>& top) {
  std::vector<FavoriteNode> nodes{{-1, kFavoritesRootKey, kFavoritesRootText, false}};
  int running = 0;
  auto addFiles = [&](int parent, const std::vector<FavoriteFile>& files) {
    for (const auto& file : files) {
      if (!file.text) continue;
      for (auto& address : UrlAddresses(*file.text))
        nodes.push_back({parent, std::to_wstring(++running) + L"]" + address, file.title, true});
    }
  };
  std::vector<int> folderNodes;
  for (const auto& folder : folders) {
    folderNodes.push_back(int(nodes.size()));
    nodes.push_back({0, folder.name, folder.name, false});
  }
  for (size_t i = 0; i < folders.size(); ++i) addFiles(folderNodes[i], folders[i].files);
  addFiles(0, top);
  return nodes;
}

std::wstring KeyAddress(std::wstring_view key) {
  size_t bracket = key.find(L']');
  return bracket == std::wstring_view::npos ? std::wstring() : std::wstring(key.substr(bracket + 1));
}

int DraggedPanelWidth(int panelWidth, int mouseX, int frameWidth) {
  constexpr int kInch = 1440;
  int width = panelWidth + mouseX - 50;
  if (width > frameWidth - kInch) width = frameWidth - kInch;
  return width < kInch ? kInch : width;
}

}  // namespace corvane
