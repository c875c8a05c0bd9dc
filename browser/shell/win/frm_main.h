// frmMain: the browser's frame. It owns the window table, the tab strip, start-up, the closed-page list
// and the exit sequence; every opening of a page ends in loadnewform.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "browser/pages/closed_pages.h"
#include "browser/shell/page_rules.h"
#include "browser/shell/win/engine.h"
#include "browser/shell/win/formweb.h"
#include "browser/shell/win/tab_strip.h"
#include "browser/shell/window_table.h"
#include "common/win/ui/status_bar.h"
#include "common/win/ui/window.h"

namespace corvane {

inline constexpr wchar_t kApp[] = L"Corvane";

struct FrameOptions {
  std::wstring appFolder;  // with a trailing "\"; the program's folder when empty
  EngineFactory engines;   // the platform's control when empty
  bool show = true;        // tests keep the frame hidden: hiding a shown window costs Wine seconds
};

class FrmMain : public common::ui::Window {
 public:
  explicit FrmMain(FrameOptions options = {});
  ~FrmMain() override;

  // Start-up steps 1 to 10; Run is step 11, the message loop until a confirmed exit.
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
  // A labRight or menu command by its id.
  void Command(int id);
  // WM_CLOSE: the exit sequence; true when the frame is going.
  bool QueryUnload();
  void Timer3Tick();
  void Wheel(int delta);

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
  void SetBackForward(bool back, bool forward) { backEnabled_ = back, forwardEnabled_ = forward; }

  const WindowTable& table() const { return table_; }
  TabStrip& strip() { return strip_; }
  const ClosedPages& closedPages() const { return closed_; }
  const std::wstring& appFolder() const { return folder_; }
  HWND comb() const { return comb_; }
  HMENU cancelMenu() const { return cancelMenu_; }
  bool quit() const { return quit_; }
  int startwindows() const { return startwindows_; }
  int scrollStep() const { return scrollStep_; }
  bool autoScroll() const { return autoScroll_; }
  bool sidePanel() const;
  bool backEnabled_ = false, forwardEnabled_ = false;

  double shi = 0;
  bool unloadme = false;
  bool newWindowPending = false;

  enum : int {
    kCloseMe = 1001, kCloseRight, kCloseLeft, kCloseBoth, kCloseAll, kHome, kEnd, kCopyTitle, kCopyUrl, kPage,
    kSource, kForward, kBack, kStop, kRefresh, kFullScreen, kCancel, kOffnet, kMoveCurrent, kMoveAll, kSlow,
    kMedium, kFast, kHistory, kLishi, kProcess, kExit, kRadio, kUr1 = 1100, kClear = 1120
  };

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnGone() override;

 private:
  void CreateControls();
  void CreateMenus();
  void Layout();
  int StripWidthTwips() const;
  void FillPage(Formweb* page);
  void Recolour();
  void FirstRun();
  void WriteDefaults();
  void LoadClosedPages();
  void SaveClosedPages();
  void ShowClosedPages();
  void RememberClosed(int number);
  void CloseNumbers(const std::vector<int>& numbers);
  void AfterClose(Formweb* neighbour);
  void ShowRestore();
  void Unload();
  void FocusCmb();
  void CopyText(const std::wstring& text);
  void SetAutoScroll(int id);

  FrameOptions options_;
  std::wstring folder_;
  WindowTable table_;
  std::array<std::unique_ptr<Formweb>, kMaxWindows> pages_;
  std::array<int, kMaxWindows> progress_{};
  std::array<std::wstring, kMaxWindows> remote_;
  std::vector<std::unique_ptr<Formweb>> closing_;
  Formweb* shown_ = nullptr;
  ClosedPages closed_;
  BlockList blocks_;
  TabStrip strip_;
  common::ui::StatusBar stat_;
  HWND toolbar_ = nullptr, textUrl_ = nullptr, comb_ = nullptr, cmdGo_ = nullptr, client_ = nullptr;
  HWND pictLeft_ = nullptr, label2_ = nullptr, tvw_ = nullptr, labLeft_ = nullptr;
  HWND picDown_ = nullptr, picUp_ = nullptr;
  HMENU menu_ = nullptr, labRight_ = nullptr, cancelMenu_ = nullptr, closeMenu_ = nullptr, view_ = nullptr;
  int startwindows_ = 0;
  bool quit_ = false;
  bool running_ = false;
  bool autoScroll_ = false;
  int scrollStep_ = 1;
  int timer3Ticks_ = 0;
  bool inClose_ = false;
  std::wstring written_;
  bool historyWritten_ = false;
};

}  // namespace corvane
