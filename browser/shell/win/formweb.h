// Formweb: the page window. It hosts one HTML control, keeps the texts the frame's status bar shows while
// it is active, and applies the pop-up block rule on every navigation.
#pragma once
#include <memory>
#include <string>

#include "browser/shell/win/engine.h"
#include "browser/shell/win/ip_lookup.h"
#include "common/win/ui/window.h"

namespace corvane {

class FrmMain;

class Formweb : public common::ui::Window, public EngineEvents {
 public:
  Formweb(FrmMain& frame, std::unique_ptr<PageEngine> engine);
  ~Formweb() override;
  // Form_Load: the window off-screen inside parent, its control created.
  bool Load(HWND parent, int number);
  // Form_QueryUnload, then the control is torn down; no event reaches this window afterwards.
  void Unload();

  PageEngine& Web() { return *engine_; }
  HWND Cmb() const { return cmb_; }
  std::wstring Address() { return engine_->LocationURL(); }
  void butenableable();
  void getIP();
  void Cmb_KeyDown(int keyCode);
  // Lays the control out over the whole window (NavigateComplete2 does it after each page).
  void LayoutWeb();
  // Has the frame close this page once the control's event on the stack has returned; events that come
  // meanwhile are dropped. blocked: a listed pop-up, closed with the block sound.
  void RequestClose(bool blocked);

  int myindex = -1;
  std::wstring myname, Statu1, Statu3, Statu5;
  bool canGoBack = false, canGoForward = false;

  // EngineEvents
  void StatusTextChange(const std::wstring& text) override;
  void ProgressChange(long progress, long progressMax) override;
  void CommandStateChange(long command, bool enable) override;
  void DownloadBegin() override;
  void DownloadComplete() override;
  void TitleChange(const std::wstring& text) override;
  bool BeforeNavigate2(const std::wstring& url, bool topLevel) override;
  PageEngine* NewWindow2() override;
  void NavigateComplete2(const std::wstring& url) override;
  void WindowClosing() override;
  bool NavigateError(const std::wstring& url) override;

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Active() const;
  bool Live() const;
  void SetBlankTab();
  void ShowDownloadTime();
  static LRESULT CALLBACK CmbProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

  FrmMain& frame_;
  std::unique_ptr<PageEngine> engine_;
  std::unique_ptr<IpLookup> lookup_;
  HWND cmb_ = nullptr;
  bool closed_ = false;
  bool closeRequested_ = false;
  double startMark_ = 0;
  long shownSeconds_ = 0;
  std::wstring lastHost_;
};

// Seconds since midnight, as the download-time measurement counts.
double SecondsSinceMidnight();

}  // namespace corvane
