// Favorites: Internet-shortcut files ("title.url") in the browser's "Favorites" folder and its direct
// subfolders, shown as the items of the Favorites menu and as the side panel's tree.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The menu holds at most this many favorites (items 0..100); the tree holds them all.
constexpr int kMaxFavoriteItems = 101;
// Menu positions: the folder picture stands at 6, favorite i at i + 10.
constexpr int kFavoritesFolderPosition = 6;
constexpr int kFirstFavoritePosition = 10;
// A file of this size or smaller is overwritten without asking.
constexpr long long kFavoriteAskAboveBytes = 10;

inline constexpr wchar_t kFavoritesRootKey[] = L"group";
inline constexpr wchar_t kFavoritesRootText[] = L"我的收藏";

// The file this program writes: exactly two lines.
std::wstring FormatUrlFile(std::wstring_view address);
// An existing shortcut file pointed at another address: its first "URL=" line (any letter case) holds the
// new address, later ones go, every other line stays as it was. nullopt when it has no such line.
std::optional<std::wstring> WithUrl(std::wstring_view fileText, std::wstring_view address);
// The addresses of every line whose first four characters are "URL=" in any letter case; other lines,
// as other programs write them, are skipped.
std::vector<std::wstring> UrlAddresses(std::wstring_view text);
// The title of a listed file name ("x.url" gives "x"); nullopt for names that only matched the pattern
// through their short form, or have no title.
std::optional<std::wstring> FavoriteTitle(std::wstring_view fileName);

// A typed title made a file name: "\" dropped, "/" to " ", ":" to "：", "*" to "，", "<" to "[",
// ">" to "]", "|" to "I", "?" to "？", the double quote to "＂", control characters dropped; a title
// of dots takes full-width dots and a device name gets "_" after it, both checked on the title as cut to
// its length limit. Empty when nothing is left.
std::wstring FavoriteFileTitle(std::wstring_view title);

// One favorite read for the tree: its title and its text (nullopt when it could not be read).
struct FavoriteFile {
  std::wstring title;
  std::optional<std::wstring> text;
};
// The menu's titles: the first 101 favorites of the listing that open something, in its order; a file
// that could not be read or has no address is left out, as the tree leaves it out.
std::vector<std::wstring> MenuTitles(const std::vector<FavoriteFile>& files);

struct FavoriteFolder {
  std::wstring name;
  std::vector<FavoriteFile> files;
};

// A node of the tree in the order it is added; parent is the index of its parent node (-1 for the root).
struct FavoriteNode {
  int parent = -1;
  std::wstring key;
  std::wstring text;
  bool favorite = false;  // only favorite nodes open anything
};

// The root "我的收藏", one node per subfolder with its favorites, then the top level's favorites. A
// favorite node per address line, keyed by a running number from 1, "]" and the address.
std::vector<FavoriteNode> BuildFavoritesTree(const std::vector<FavoriteFolder>& folders,
                                             const std::vector<FavoriteFile>& top);
// The address a favorite node's key holds: the text after its first "]".
std::wstring KeyAddress(std::wstring_view key);

// The side panel's width after its splitter was dragged to mouseX (twips from the splitter's left edge):
// it moves by the offset less 50 twips, and keeps the panel and the page area at least an inch wide.
int DraggedPanelWidth(int panelWidth, int mouseX, int frameWidth);

}  // namespace corvane
