// The HTML control a page window hosts, behind a small interface: the platform's web-browser control in
// the program, a double in tests that fires the same events.
#pragma once
#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

namespace corvane {

class PageEngine;

// Events of the control, in the order of its event interface.
class EngineEvents {
 public:
  virtual ~EngineEvents() = default;
  virtual void StatusTextChange(const std::wstring& text) = 0;
  virtual void ProgressChange(long progress, long progressMax) = 0;
  virtual void CommandStateChange(long command, bool enable) = 0;
  virtual void DownloadBegin() = 0;
  virtual void DownloadComplete() = 0;
  virtual void TitleChange(const std::wstring& text) = 0;
  // True cancels the navigation. topLevel is false for a frame inside the page.
  virtual bool BeforeNavigate2(const std::wstring& url, bool topLevel) = 0;
  // The engine of the window that takes the page's new window, or null to cancel it.
  virtual PageEngine* NewWindow2() = 0;
  virtual void NavigateComplete2(const std::wstring& url) = 0;
  virtual void WindowClosing() = 0;
  // True cancels (no error page of the control's own).
  virtual bool NavigateError(const std::wstring& url) = 0;
};

class PageEngine {
 public:
  virtual ~PageEngine() = default;
  // Creates the control inside parent; events go to sink until Close.
  virtual bool Create(HWND parent, EngineEvents* sink) = 0;
  // Stops the events and tears the control down; later events are dropped.
  virtual void Close() = 0;
  virtual void Navigate(const std::wstring& url) = 0;
  virtual std::wstring LocationURL() = 0;
  virtual std::wstring DocumentTitle() = 0;
  virtual void Move(int x, int y, int w, int h) = 0;
  virtual void SetOffline(bool on) = 0;
  virtual void SetSilent(bool on) = 0;
  virtual void ScrollBy(int dy) = 0;
  virtual void FocusDocument() = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Stop() = 0;
  virtual void Refresh() = 0;
  virtual void RegisterAsBrowser() = 0;
  // A command of the control (copy 12, cut 11, paste 13, select all 17, print 6, page setup 8, print
  // preview 7, save as 4) with its prompting option (0 default, 1 prompt, 2 without prompting).
  virtual void ExecWB(long command, long option) = 0;
  // The text the user selected in the page, or empty.
  virtual std::wstring SelectedText() = 0;
  // The control's automation object handed to a page that asked for a new window (AddRef'ed), or null.
  virtual IDispatch* Application() = 0;
  // A keyboard message offered to the page before anything else sees it (Tab between fields, Ctrl+C, Enter
  // in forms); true when the page used it.
  virtual bool TranslateAccelerator(MSG& msg) = 0;
};

using EngineFactory = std::function<std::unique_ptr<PageEngine>()>;

// The platform's web-browser control.
std::unique_ptr<PageEngine> CreateWebEngine();
// Lets the control render with the newest document mode it has, for this executable.
void RegisterBrowserEmulation();

}  // namespace corvane
