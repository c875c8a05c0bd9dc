#include "browser/shell/win/pages_menu.h"

#include "browser/pages/favorites.h"
#include "browser/shell/win/frm_main.h"

namespace corvane {
namespace {

PagesHost HostOf(FrmMain& frame) {
  PagesHost host;
  host.frame = frame.hwnd();
  host.appFolder = frame.appFolder();
  host.open = [&frame](const std::wstring& url) { return frame.loadnewform(url) != nullptr; };
  host.addresses = [&frame] {
    std::vector<std::wstring> urls;
    for (int n = 0; n < kMaxWindows; ++n)
      if (Formweb* page = frame.PageAt(n)) urls.push_back(page->Address());
    return urls;
  };
  host.activeUrl = [&frame] { return frame.TextUrl(); };
  host.activeTitle = [&frame] {
    Formweb* page = frame.ActivePage();
    return page ? common::ui::WindowText(page->hwnd()) : std::wstring();
  };
  host.status = [&frame](const std::wstring& text) { frame.SetPanel(1, text); };
  host.launch = [&frame](const std::wstring& file) { return frame.Launch(file, L"", SW_SHOWNORMAL); };
  return host;
}

// Made at the first start-up step that needs it.
FramePages& Pages(FrmMain& frame) {
  if (!frame.favoritesAndGroups) {
    auto pages = std::make_unique<FramePages>();
    PagesHost host = HostOf(frame);
    // A line between the menu's own items and the favorites.
    AppendMenuW(frame.menus().favorites, MF_SEPARATOR, 0, nullptr);
    pages->favorites.Attach(frame.menus().favorites, kFavoriteItemFirst, frame.tvw(), host);
    pages->groups.Attach(frame.menus().group, kGroupItemFirst, kGroupMenuItems, host);
    pages->splitter.Attach(frame.labLeft(), [&frame] { return frame.sidePanelWidth(); },
                           [&frame](int twips) { frame.SetSidePanelWidth(twips); });
    frame.favoritesAndGroups = std::move(pages);
  }
  return *frame.favoritesAndGroups;
}

}  // namespace

void buildfavorites(FrmMain& frame) { Pages(frame).favorites.buildfavorites(); }
void loadgroups(FrmMain& frame) { Pages(frame).groups.loadgroups(); }
void AddFavorite(FrmMain& frame) { Pages(frame).favorites.addhome(); }
void RefreshFavorites(FrmMain& frame) { Pages(frame).favorites.RelaodDir(); }
void OpenFavoritesFolder(FrmMain& frame) { Pages(frame).favorites.SearchDir(); }
void ShowGroupEditor(FrmMain& frame) { Pages(frame).groups.groupSetup(); }
void SaveAllAsGroup(FrmMain& frame) { Pages(frame).groups.groupSave(); }

bool PagesCommand(FrmMain& frame, int id) {
  if (id >= kFavoriteItemFirst && id < kFavoriteItemFirst + kMaxFavoriteItems) {
    Pages(frame).favorites.MyFavorites_Click(id - kFavoriteItemFirst);
    return true;
  }
  if (id >= kGroupItemFirst && id < kGroupItemFirst + kGroupMenuItems) {
    Pages(frame).groups.GroupName_Click(id - kGroupItemFirst);
    return true;
  }
  return false;
}

bool PagesNotify(FrmMain& frame, const NMHDR* hdr) {
  return frame.favoritesAndGroups && frame.favoritesAndGroups->favorites.tvw_Notify(hdr);
}

}  // namespace corvane
