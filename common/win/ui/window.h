// Base of every window built in code: owns its HWND and turns messages into member calls.
#pragma once
#include <windows.h>

#include <string>

namespace common::ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }
  // Registers the class once per name and creates the window; false when creation failed.
  bool Create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle, int x, int y, int w,
              int h, HWND parent = nullptr, HMENU menu = nullptr, HICON icon = nullptr);
  void Destroy();

 protected:
  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
  // Called after WM_NCDESTROY: the window is gone.
  virtual void OnGone() {}
  // Called once the base has followed a move to another DPI (fonts, controls, the suggested rectangle):
  // windows with fonts or column widths of their own update them here.
  virtual void OnDpiChanged(int /*oldDpi*/, int /*newDpi*/) {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void FollowDpi(int dpi, const RECT& suggested);
  HWND hwnd_ = nullptr;
};

// The DPI a window's sizes follow: its top-level window's (the one it was made at or WM_DPICHANGED last
// gave, else the system's view of its monitor); the system DPI without a window.
int DpiOf(HWND hwnd);
// Twips (1440 per inch) to pixels at the window's (or the screen's) DPI.
int Twips(HWND hwnd, int twips);
int PixelsToTwips(HWND hwnd, int pixels);
// The font of the system's dialogs at a DPI (the system DPI without one), used by every control built in code.
HFONT UiFont(int dpi);
// The UI font at the window's DPI: what code that draws text itself selects.
HFONT UiFontOf(HWND hwnd);
// Creates a child control with the UI font.
HWND CreateControl(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle = 0);
void MoveTwips(HWND ctl, int left, int top, int width, int height);
std::wstring WindowText(HWND hwnd);

}  // namespace common::ui
