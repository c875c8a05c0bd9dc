#include "browser/pages/win/favorites_files.h"

#include <windows.h>

#include "common/address_form.h"
#include "common/path.h"
#include "common/win/system.h"
#include "common/win/text_file.h"

namespace corvane {

std::vector<ListedEntry> ListFolder(const std::wstring& folder, const std::wstring& pattern) {
  std::vector<ListedEntry> entries;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(common::ExtendedPath(folder + pattern).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return entries;
  do {
    std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") entries.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return entries;
}

std::vector<std::wstring> FileNames(const std::vector<ListedEntry>& entries) {
  std::vector<std::wstring> names;
  for (const auto& e : entries)
    if (!e.folder) names.push_back(e.name);
  return names;
}

namespace {
std::vector<FavoriteFile> ReadFiles(const std::wstring& folder) {
  std::vector<FavoriteFile> files;
  for (const auto& name : FileNames(ListFolder(folder, L"*.url")))
    if (auto title = FavoriteTitle(name)) files.push_back({*title, common::ReadFileText(folder + name, common::kSmallFileCap)});
  return files;
}
}  // namespace

std::vector<std::wstring> ReadMenuTitles(const std::wstring& favoritesFolder) {
  return MenuTitles(ReadFiles(favoritesFolder));
}

std::vector<FavoriteNode> ReadFavoritesTree(const std::wstring& favoritesFolder) {
  std::vector<FavoriteFolder> folders;
  for (const auto& e : ListFolder(favoritesFolder, L"*"))
    if (e.folder) folders.push_back({e.name, ReadFiles(favoritesFolder + e.name + L"\\")});
  return BuildFavoritesTree(folders, ReadFiles(favoritesFolder));
}

std::optional<std::vector<std::wstring>> ReadFavorite(const std::wstring& favoritesFolder, const std::wstring& title) {
  auto text = common::ReadFileText(favoritesFolder + title + L".url", common::kSmallFileCap);
  if (!text) return std::nullopt;
  return UrlAddresses(*text);
}

SaveResult SaveFavorite(const std::wstring& favoritesFolder, const std::wstring& fileTitle,
                        const std::wstring& address, const std::function<bool()>& overwrite) {
  if (fileTitle.empty()) return SaveResult::kFailed;
  std::wstring path = favoritesFolder + fileTitle + L".url";
  if (common::FileSize(path) > kFavoriteAskAboveBytes && !overwrite()) return SaveResult::kKept;
  // A shortcut another program wrote keeps its form and its other lines; a new one is two lines in the
  // code page.
  common::TextFile old = common::ReadTextFile(path, common::kSmallFileCap);
  bool keep = old.ok() && old.exact;
  auto textFor = [&](const std::wstring& url) {
    std::optional<std::wstring> edited = keep ? WithUrl(old.text, url) : std::nullopt;
    return edited ? *edited : FormatUrlFile(url);
  };
  common::TextFormat format = keep ? old.format : common::TextFormat{};
  common::TextWrite w = common::WriteTextFile(path, textFor(address), format);
  // An address the form cannot hold is kept in its ASCII form, which opens the same page.
  if (w.status == common::WriteStatus::kNotHeld) w = common::WriteTextFile(path, textFor(common::AsciiAddress(address)), format);
  return w.ok() ? SaveResult::kSaved : SaveResult::kFailed;
}

}  // namespace corvane
