// The frame's commands: windows and tabs, the active page's commands, the site items, the views, the
// tools and the small system commands. Windows of the favorites, groups, tools and options open through
// pages_menu.h and tools_menu.h.
#include "browser/shell/win/frm_main.h"

#include <commdlg.h>
#include <shellapi.h>
#include <wininet.h>

#include "browser/shell/win/pages_menu.h"
#include "browser/pages/win/formnew.h"
#include "browser/shell/win/tools_menu.h"
#include "common/path.h"
#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/settings_store.h"
#include "common/win/system.h"
#include "common/win/ui/modal.h"

namespace corvane {
namespace {

constexpr wchar_t kInternetOptions[] = L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,0";
constexpr wchar_t kDesktopSettings[] = L"rundll32 shell32,Control_RunDLL desk.cpl";
constexpr wchar_t kShutdown[] = L"shutdown.exe  -s -f -t 00 ";
constexpr wchar_t kShutdownAsk[] = L"确定要立即关闭电脑吗？\r\n所有程序都将被关闭，未保存的内容会丢失。";
constexpr wchar_t kAboutText[] = L"Corvane安全浏览器 (版本：v3.5)";
constexpr wchar_t kOpenFilter[] = L"Web Pages (*.htm;*.html)|*.htm;*.html|All files (*.*)|*.*";

// ExecWB command numbers and options of the page commands.
struct ExecCommand {
  int id;
  long command, option;
};
constexpr ExecCommand kExecCommands[] = {{kCopy, 12, 2}, {kCut, 11, 2},     {kPaste, 13, 2},  {kSelectAll, 17, 2},
                                         {kPrint, 6, 0}, {kPrintSet, 8, 0}, {kPreview, 7, 1}, {kSaveAs, 4, 0}};

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> in;
  for (auto [vk, up] : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  }
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

}  // namespace

void FrmMain::Command(int id) {
  if (id >= kUr1 && id < kUr1 + kClosedPages) return reopenpage(L"ur" + std::to_wstring(id - kUr1 + 1));
  if (id >= kUp1 && id < kUp1 + kUpItems) {
    std::wstring item = upItems_[id - kUp1];  // a copy: the new window's address changes the items
    if (!item.empty()) loadnewform(item);
    return;
  }
  if (id >= kEngineFirst && id < kEngineFirst + int(EngineItems().size())) return Search(id - kEngineFirst);
  if (SiteCommand(id) || SystemCommand(id) || PagesCommand(*this, id)) return;
  Formweb* page = ActivePage();
  switch (id) {
    case IDOK: EnterKey(); break;
    case IDCANCEL: EscapeKey(); break;
    case kCloseMe: delline(); break;
    case kCloseRight: closeRight(); break;
    case kCloseLeft: closeLeft(); break;
    case kCloseBoth: closeBoth(); break;
    case kCloseAll: closeall(); break;
    case kCancel: reopenpage(L"ur1"); break;
    case kClear: ClearClosedPages(); break;
    case kNew: loadnewform(kBlankPage); break;
    case kOpenFile: OpenLocalFile(); break;
    case kMyHome: {
      std::wstring start = common::GetSetting(kApp, L"myie", L"Start");
      loadnewform(start.empty() ? kBlankPage : start);
      break;
    }
    case kUpDir:
      if (page && upDirEnabled()) page->Web().Navigate(std::wstring(upItems_[0]));
      break;
    case kFocusAddress: SetFocus(textUrl_); break;
    case kNextTab:
    case kPreviousTab:
      if (table_.count() > 1) {
        int step = id == kNextTab ? 1 : table_.count() - 1;
        Lab_MouseDown(table_.NumberAt((table_.active() + step) % table_.count()), 1);
      }
      break;
    case kPage: runtool(L"PageInfo", TextUrl()); break;
    case kSource: ShowPageSource(*this, TextUrl()); break;
    case kExit: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
    case kShoucang: ShowSidePanel(!sidePanel_); break;
    case kAnniu: ShowBars(!toolbarShown_, pictShown_, statusShown_); break;
    case kDizhi: ShowBars(toolbarShown_, !pictShown_, statusShown_); break;
    case kZhuangtai: ShowBars(toolbarShown_, pictShown_, !statusShown_); break;
    case kFullScreen: ShowBars(!pictShown_, !pictShown_, statusShown_); break;
    case kMoveCurrent:
    case kMoveAll:
    case kSlow:
    case kMedium:
    case kFast: SetAutoScroll(id); break;
    case kRadio: runtool(L"radio"); break;
    case kHistory:
    case kLishi: runtool(L"history"); break;
    case kProcess: runtool(L"Processor"); break;
    case kClearTraces: ShowTraceCleaner(*this); break;
    case kOptions: ShowOptions(*this); break;
    case kBlockList: ShowBlockList(); break;
    case kMakeDefault: setnavigation(*this); break;
    case kGiveDefaultBack: cancelnavigation(*this); break;
    case kPingTest: ShowPing(*this); break;
    case kIpConfig: ShowAddressConfiguration(*this); break;
    case kAddHome: AddFavorite(*this); break;
    case kRelaodDir: RefreshFavorites(*this); break;
    case kSearchDir: OpenFavoritesFolder(*this); break;
    case kGroupSetup: ShowGroupEditor(*this); break;
    case kGroupSave: SaveAllAsGroup(*this); break;
    default: PageCommand(id, page); break;
  }
}

bool FrmMain::SiteCommand(int id) {
  struct Run {
    int first;
    std::span<const SiteItem> sites;
  };
  for (Run run : {Run{kMenuSiteFirst, MenuSites()}, Run{kSearchDropFirst, SearchDropSites()},
                  Run{kFilmDropFirst, FilmDropSites()}})
    if (id >= run.first && id < run.first + int(run.sites.size())) {
      OpenSite(run.sites[id - run.first]);
      return true;
    }
  if (id != kSearchSites && id != kFilmSites) return false;
  if (auto address = SiteAddress(id == kSearchSites ? SearchButtonSite() : FilmButtonSite())) loadnewform(*address);
  return true;
}

void FrmMain::PageCommand(int id, Formweb* page) {
  if (!page) return;
  PageEngine& web = page->Web();
  for (const ExecCommand& c : kExecCommands)
    if (c.id == id) return web.ExecWB(c.command, c.option);
  switch (id) {
    case kBack: web.GoBack(); break;
    case kForward: web.GoForward(); break;
    case kStop: web.Stop(); break;
    case kRefresh: web.Refresh(); break;
    // Far enough for any page: the document stops at its ends.
    case kHome: web.ScrollBy(-0x3FFFFFFF); break;
    case kEnd: web.ScrollBy(0x3FFFFFFF); break;
    case kCopyTitle: CopyText(strip_.labels()[page->myindex].caption); break;
    case kCopyUrl: CopyText(TextUrl()); break;
    case kFind:
      SetFocus(page->hwnd());
      web.FocusDocument();
      SendKeys({{VK_CONTROL, false}, {'F', false}, {'F', true}, {VK_CONTROL, true}});
      break;
  }
}

bool FrmMain::SystemCommand(int id) {
  switch (id) {
    case kOffnet: {
      bool on = !offnet();
      CheckMenuItem(menus_.file, kOffnet, on ? MF_CHECKED : MF_UNCHECKED);
      for (int n : table_.Order()) PageAt(n)->Web().SetOffline(on);
      return true;
    }
    case kBohao: {
      DWORD_PTR connection = 0;
      wchar_t name[1] = {};
      InternetDialW(hwnd(), name, INTERNET_AUTODIAL_FORCE_ONLINE, &connection, 0);
      return true;
    }
    case kXian: ShowDesktop(); return true;
    case kZhuo: RunSystemTool(kDesktopSettings, SW_SHOWNORMAL); return true;
    case kInternet: RunSystemTool(kInternetOptions, SW_SHOWNORMAL); return true;
    case kMyPc:
      Launch(common::GetWindowsFolder() + L"\\explorer.exe", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
      return true;
    case kMyFriend:
      Launch(common::GetWindowsFolder() + L"\\explorer.exe", L"::{208D2C60-3AEA-1069-A2D7-08002B30309D}");
      return true;
    case kMyIe:
      Launch(common::GetWindowsFolder().substr(0, 2) + L"\\Program Files\\Internet Explorer\\iexplore.exe");
      return true;
    case kMail: Launch(L"mailto:"); return true;
    case kTurnOff: TurnOff(); return true;
    case kHelp: loadnewform(ProgramFile(L"\\sys\\navigation.htm")); return true;
    case kAbout:
      ShellAboutW(hwnd(), kAboutText, L"多标签安全浏览器", LoadIconW(GetModuleHandleW(nullptr), L"APPICON"));
      return true;
  }
  return false;
}

bool FrmMain::Launch(const std::wstring& file, const std::wstring& params, int show) {
  if (options_.launch) return options_.launch(file, params, show);
  return common::ShellOpen(file, params, show);
}

bool FrmMain::RunSystemTool(const std::wstring& commandLine, int show) {
  // The tool from the system folder, never one of the same name beside the program or in the current folder.
  size_t blank = commandLine.find(L' ');
  std::wstring exe = commandLine.substr(0, blank);
  if (exe.find(L'.') == std::wstring::npos) exe += L".exe";
  std::wstring params = blank == std::wstring::npos ? L"" : common::Trim(commandLine.substr(blank));
  return Launch(common::GetSystemFolder() + L"\\" + exe, params, show);
}

void FrmMain::TurnOff() {
  // Every program is closed without saving: the user says so first.
  if (common::MsgBox(hwnd(), kShutdownAsk, MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
    RunSystemTool(kShutdown, SW_SHOWMINNOACTIVE);
}

void FrmMain::ShowDesktop() {
  SendKeys({{VK_LWIN, false}, {'M', false}, {'M', true}, {VK_LWIN, true}});
  SendKeys({{VK_F5, false}, {VK_F5, true}});
}

void FrmMain::OpenLocalFile() {
  std::wstring filter = kOpenFilter;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::wstring file(32768, L'\0');
  OPENFILENAMEW ofn{sizeof ofn};
  ofn.hwndOwner = hwnd();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrTitle = L"打开网页";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (GetOpenFileNameW(&ofn)) loadnewform(file.c_str());
}

void FrmMain::ShowBlockList() {
  Formnew dialog(ProgramFile(L"\\guanggao.txt"), TextUrl());
  if (dialog.Create(hwnd())) common::ui::RunModal(dialog, hwnd());
  // Whatever the dialog did, the next pop-up meets the list as the file now holds it.
  BuildBlockList();
}

}  // namespace corvane
