// frmMain: the browser's frame. It owns the window table, the tab strip, start-up, the closed-page list
// and the exit sequence; every opening of a page ends in loadnewform. Its command surface (address box,
// search box, menus, toolbar, page and system commands) lives in address_bar.cpp and frame_commands.cpp,
// its controls and their layout in frame_layout.cpp.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/app.h"
#include "browser/pages/closed_pages.h"
#include "browser/pages/win/focus_keeper.h"
#include "browser/pages/win/page_record.h"
#include "browser/shell/address_rules.h"
#include "browser/shell/commands.h"
#include "browser/pages/page_rules.h"
#include "browser/shell/sites.h"
#include "browser/shell/win/engine.h"
#include "browser/shell/win/formweb.h"
#include "browser/shell/win/frame_menus.h"
#include "browser/shell/win/tab_strip.h"
#include "browser/shell/window_table.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"

namespace corvane {

struct FramePages;

// Starts an outside program or document (file, parameters, window state); false when it could not.
using Launcher = std::function<bool(const std::wstring& file, const std::wstring& params, int show)>;

struct FrameOptions {
  std::wstring appFolder;  // with a trailing "\"; the program's folder when empty
  EngineFactory engines;   // the platform's control when empty
  bool show = true;        // tests keep the frame hidden: hiding a shown window costs Wine seconds
  Launcher launch;         // the shell when empty
};

class FrmMain : public common::ui::Window {
 public:
  explicit FrmMain(FrameOptions options = {});
  ~FrmMain() override;

  // Makes the frame and its bars, reads the settings and opens the first pages; Run is the message loop
  // until a confirmed exit.
  bool Load(const std::wstring& commandLine);
  int Run();

  // The window table's procedures.
  Formweb* loadnewform(const std::wstring& url);
  std::optional<int> addlab();
  void pailie();
  void delline();
  void closeform(int number);
  void closeall();
  void closeRight();
  void closeLeft();
  void closeBoth();
  void WriteHistory();
  void reopenpage(const std::wstring& key);
  void runtool(const std::wstring& name, const std::wstring& args = L"");
  // Tab clicks as the strip reports them (button 1 left, 2 right).
  void Lab_MouseDown(int number, int button);
  void Lab_DblClick(int number);
  void Image1_MouseDown(int button);
  // A menu, toolbar or drop-down command by its number (commands.h).
  void Command(int id);
  // WM_CLOSE: the exit sequence; true when the frame is going.
  bool QueryUnload();
  void Timer3Tick();
  void Wheel(int delta);

  // The address bar and the search box.
  void gourl(const std::wstring& text);
  void CmdGo_Click() { gourl(TextUrl()); }
  // Enter in the address box or the search box (the frame's default command).
  void EnterKey();
  void EscapeKey();
  bool searchempty();
  void pasteselection();
  void TextUrl_GotFocus();
  void CombSearch_GotFocus();
  void Search(int engineItem);
  std::wstring SearchText() const;
  void SetSearchText(const std::wstring& text);
  // The parent-folder items as they stand; empty texts are hidden items.
  const std::array<std::wstring, kUpItems>& upItems() const { return upItems_; }
  bool upDirEnabled() const;
  // A click on status panel 7 (panels count from 1).
  void Stat_PanelClick(int panel);
  // The address a site link opens, or nullopt (and a message) when the sites file does not name it.
  std::optional<std::wstring> SiteAddress(const SiteLink& link);
  // A file of the program folder named as "\name".
  std::wstring ProgramFile(const wchar_t* name) const;

  // Used by the page windows.
  Formweb* PageAt(int number) const;
  Formweb* ActivePage() const { return PageAt(table_.ActiveNumber()); }
  bool IsActivePage(const Formweb* page) const { return page && page == ActivePage(); }
  void SetPanel(int panel, const std::wstring& text);
  std::wstring Panel(int panel) const;
  void SetTabCaption(int number, const std::wstring& caption);
  void SetTabTip(int number, const std::wstring& tip);
  void SetProgress(int number, int percent);
  void SetRemoteText(int number, const std::wstring& text);
  std::wstring RemoteText(int number) const;
  void SetCaption(const std::wstring& text);
  std::wstring TextUrl() const;
  void SetTextUrl(const std::wstring& text);
  bool offnet() const;
  const BlockList& blocks() const { return blocks_; }
  void BuildBlockList();
  void BlockPopup(Formweb* page);
  // Closes this page's tab (a page that closes itself, a blocked pop-up).
  void ClosePage(Formweb* page);
  void ShowNavigating(Formweb* page);
  Formweb* OpenNewWindowPage();
  void SetBackForward(bool back, bool forward);

  const WindowTable& table() const { return table_; }
  TabStrip& strip() { return strip_; }
  const ClosedPages& closedPages() const { return closed_; }
  // This browser's own open-pages file.
  const std::wstring& pagesFile() const { return record_.path(); }
  const std::wstring& appFolder() const { return folder_; }
  const SiteHosts& hosts() const { return hosts_; }
  const FrameMenus& menus() const { return menus_; }
  HWND comb() const { return comb_; }
  HWND textUrl() const { return textUrl_; }
  HWND combSearch() const { return combSearch_; }
  HWND cmdSearch() const { return cmdSearch_; }
  HWND toolbar() const { return toolbar_; }
  HWND tvw() const { return tvw_; }
  HWND labLeft() const { return labLeft_; }
  // The side panel's width in twips; a new width lays the frame out again.
  int sidePanelWidth() const { return sidePanelTwips_; }
  void SetSidePanelWidth(int twips);
  HWND clientArea() const { return client_; }
  HWND picDown() const { return picDown_; }
  HWND picUp() const { return picUp_; }
  HMENU cancelMenu() const { return menus_.cancel; }
  bool quit() const { return quit_; }
  int startwindows() const { return startwindows_; }
  // The options dialog's saved value takes effect at once.
  void SetStartwindows(int value) { startwindows_ = value; }
  // The closed-page list read again from the settings (the trace cleaner may have emptied it).
  void ReloadClosedPages() { LoadClosedPages(), ShowClosedPages(); }
  bool sidePanel() const { return sidePanel_; }
  bool toolbarShown() const { return toolbarShown_; }
  bool pictShown() const { return pictShown_; }

  // Starts an outside program or document through the launcher of the options.
  bool Launch(const std::wstring& file, const std::wstring& params = L"", int show = SW_SHOWNORMAL);
  // The favorites and the site groups (pages_menu.h), made at start-up.
  std::unique_ptr<FramePages> favoritesAndGroups;

  double shi = 0;
  bool unloadme = false;
  bool newWindowPending = false;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  // frame_layout.cpp
  void CreateControls();
  void Layout();
  void Relayout();
  int StripWidthTwips() const;
  // Pixels the toolbar's buttons take, the last one whole.
  int ToolbarWidth() const;
  void FillPage(Formweb* page);
  void ShowSidePanel(bool on);
  void ShowBars(bool toolbar, bool pict, bool status);
  void OnNotify(NMHDR* hdr, LRESULT& result);
  void DropDown(int button);
  // frm_main.cpp
  void Recolour();
  void FirstRun();
  void WriteDefaults();
  void LoadClosedPages();
  void SaveClosedPages();
  void ShowClosedPages();
  void ClearClosedPages();
  void RememberClosed(int number);
  void CloseNumbers(const std::vector<int>& numbers);
  void AfterClose(Formweb* neighbour);
  // Offers the pages of the left open-pages files; the start page opens when the dialog was not answered
  // and startPage is set.
  void ShowRestore(const std::vector<std::wstring>& records, bool startPage);
  void OpenStartPage();
  void Unload();
  void FocusCmb();
  void CopyText(const std::wstring& text);
  void SetAutoScroll(int id);
  void LoadSites();
  bool ForwardKey(MSG& msg);
  // address_bar.cpp
  static constexpr UINT kMsgCaret = WM_APP + 11;
  void ControlNotify(HWND control, int code);
  void TextUrlChanged();
  void ApplyCaretRule(HWND edit);
  void ShowUpItems();
  void OpenSite(const SiteItem& site);
  // frame_commands.cpp
  bool SiteCommand(int id);
  void PageCommand(int id, Formweb* page);
  bool SystemCommand(int id);
  bool RunSystemTool(const std::wstring& commandLine, int show);
  void OpenLocalFile();
  void ShowBlockList();
  void TurnOff();
  void ShowDesktop();

  FrameOptions options_;
  std::wstring folder_;
  WindowTable table_;
  std::array<std::unique_ptr<Formweb>, kMaxWindows> pages_;
  std::array<int, kMaxWindows> progress_{};
  std::array<std::wstring, kMaxWindows> remote_;
  std::vector<std::unique_ptr<Formweb>> closing_;
  Formweb* shown_ = nullptr;
  ClosedPages closed_;
  PageRecord record_;
  BlockList blocks_;
  SiteHosts hosts_;
  TabStrip strip_;
  common::ui::StatusBar stat_;
  FrameMenus menus_;
  HACCEL accel_ = nullptr;
  FocusKeeper focus_;
  HWND toolbar_ = nullptr, textUrl_ = nullptr, comb_ = nullptr, cmdGo_ = nullptr, client_ = nullptr;
  HWND combSearch_ = nullptr, searchEdit_ = nullptr, cmdSearch_ = nullptr;
  HWND image2_ = nullptr, image3_ = nullptr, image4_ = nullptr, image5_ = nullptr;
  HWND label2_ = nullptr, tvw_ = nullptr, labLeft_ = nullptr;
  bool sidePanel_ = false;
  int sidePanelTwips_ = 2600;
  HWND picDown_ = nullptr, picUp_ = nullptr;
  std::array<std::wstring, kUpItems> upItems_;
  int startwindows_ = 0;
  bool quit_ = false;
  bool running_ = false;
  bool autoScroll_ = false;
  int scrollStep_ = 1;
  int timer3Ticks_ = 0;
  bool inClose_ = false;
  bool toolbarShown_ = true, pictShown_ = true, statusShown_ = true;
  // The focus toggles of the address box and the search box: set while the focus makes its round.
  bool urlFocusToggle_ = false, searchFocusToggle_ = false;
  bool settingUrl_ = false;
  bool combDropped_ = false;
  std::wstring written_;
  bool historyWritten_ = false;
};

}  // namespace corvane
