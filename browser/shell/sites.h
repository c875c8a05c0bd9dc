// The ready-made sites of the menus: which site each item opens, with the path and query the item adds.
// The sites' hosts are configuration, read from the sites file so that a dead site can be changed
// without a rebuild.
#pragma once
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// The sites file beside the program, one line per site key: key, host.
inline constexpr wchar_t kSitesFile[] = L"sys\\sites.txt";
// The default search site of the address box and of the engine menu.
inline constexpr wchar_t kDefaultSearchSite[] = L"webSearch1";
// The start page the first run stores.
inline constexpr wchar_t kStartSite[] = L"startSite";

// One address to open: a site of the sites file with a path, or a local page of the program folder.
struct SiteLink {
  const wchar_t* site;  // key in the sites file; null for a local page
  const wchar_t* path;  // path and query, or the local page's name
};

// An item of the engine menu: the word is appended to each of its links, unless the item has a fixed page.
struct EngineItem {
  const wchar_t* caption;
  SiteLink links[2];
  bool withWord;
};

// A site item of the menus: menu bar items by their menu name, drop-down items by their key. Most open one
// window; a few open two.
struct SiteItem {
  const wchar_t* key;
  const wchar_t* caption;
  SiteLink links[2];
};

std::span<const EngineItem> EngineItems();
// Index of the item that Enter in the search box acts as ("【搜索】百度").
int DefaultEngineItem();
// Menu bar items (the Favorites menu), then the drop-downs of the toolbar buttons `search` and `film`.
std::span<const SiteItem> MenuSites();
std::span<const SiteItem> SearchDropSites();
std::span<const SiteItem> FilmDropSites();
// What the toolbar buttons `search` and `film` open themselves.
SiteLink SearchButtonSite();
SiteLink FilmButtonSite();

class SiteHosts {
 public:
  // Reads the text of the sites file: "key, host" per line (the comma may be the full-width "，"); blank
  // lines and lines starting with ";" or "#" are skipped, as are malformed lines (no comma, an empty or
  // blank-holding key or host, a host that names no host: "http://", "/"). A later line of the same key
  // wins. Returns the number of malformed lines.
  int Load(std::wstring_view text);
  size_t size() const { return hosts_.size(); }
  // The host's address without a trailing "/": "http://" is added when the host names no scheme.
  std::optional<std::wstring> Base(std::wstring_view key) const;
  // The address a link opens, given the program folder for local pages; nullopt for an unknown site.
  std::optional<std::wstring> Address(const SiteLink& link, std::wstring_view appFolder) const;

 private:
  std::map<std::wstring, std::wstring, std::less<>> hosts_;
};

}  // namespace corvane
