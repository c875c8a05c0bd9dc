#include "common/win/ui/window.h"

#include <set>

namespace common::ui {

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Window::Create(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle, int x, int y,
                    int w, int h, HWND parent, HMENU menu, HICON icon) {
  static std::set<std::wstring> registered;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!registered.count(className)) {
    WNDCLASSEXW wc{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    registered.insert(className);
  }
  return CreateWindowExW(exStyle, className, title.c_str(), style, x, y, w, h, parent, menu, inst, this) != nullptr;
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT r = self->OnMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnGone();
  }
  return r;
}

namespace {
int Dpi(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(hwnd, dc);
  return dpi > 0 ? dpi : 96;
}
}  // namespace

int Twips(HWND hwnd, int twips) { return MulDiv(twips, Dpi(hwnd), 1440); }
int PixelsToTwips(HWND hwnd, int pixels) { return MulDiv(pixels, 1440, Dpi(hwnd)); }

HFONT UiFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW m{sizeof m};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    return CreateFontIndirectW(&m.lfMessageFont);
  }();
  return font;
}

HWND CreateControl(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle) {
  HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), TRUE);
  return h;
}

void MoveTwips(HWND ctl, int left, int top, int width, int height) {
  HWND p = GetParent(ctl);
  MoveWindow(ctl, Twips(p, left), Twips(p, top), Twips(p, width), Twips(p, height), TRUE);
}

std::wstring WindowText(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring s(n + 1, L'\0');
  s.resize(GetWindowTextW(hwnd, s.data(), n + 1));
  return s;
}

}  // namespace common::ui
