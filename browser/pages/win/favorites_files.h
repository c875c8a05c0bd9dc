// The favorites and groups as the file system holds them: listings in the order the file system gives
// them, shortcut files read and written.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "browser/pages/favorites.h"

namespace corvane {

struct ListedEntry {
  std::wstring name;
  bool folder = false;
};

// Entries of folder (with trailing "\") matching pattern, "." and ".." left out; empty when the folder
// is missing.
std::vector<ListedEntry> ListFolder(const std::wstring& folder, const std::wstring& pattern);
// Names of the files (not folders) among them.
std::vector<std::wstring> FileNames(const std::vector<ListedEntry>& entries);

// The favorites folder's titles for the menu: at most 101, of files that open an address.
std::vector<std::wstring> ReadMenuTitles(const std::wstring& favoritesFolder);
// The whole tree: subfolders of the top level (not theirs) with their favorites, then the top level's.
std::vector<FavoriteNode> ReadFavoritesTree(const std::wstring& favoritesFolder);
// The addresses of one favorite of the top level; nullopt when its file cannot be read.
std::optional<std::vector<std::wstring>> ReadFavorite(const std::wstring& favoritesFolder, const std::wstring& title);

enum class SaveResult { kSaved, kKept, kFailed };
// Writes "title.url" (the title already made a file name) whole to a new file and moves it over the old
// one. overwrite is asked only when a file of more than 10 bytes is there; its false answer keeps it.
SaveResult SaveFavorite(const std::wstring& favoritesFolder, const std::wstring& fileTitle,
                        const std::wstring& address, const std::function<bool()>& overwrite);

}  // namespace corvane
