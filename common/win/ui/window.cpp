#include "common/win/ui/window.h"

#include <commctrl.h>

#include <map>
#include <set>
#include <vector>

namespace common::ui {
namespace {
// The DPI of a top-level window of this base: the one it was made at, then the one WM_DPICHANGED gave.
constexpr wchar_t kDpiProp[] = L"CommonUiDpi";
// Set on every window of this base, so that a DPI change rescales the children of these windows only
// (a hosted control or a toolbar places its own).
constexpr wchar_t kBaseProp[] = L"CommonUiWindow";

int SystemDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

// GetDpiForWindow exists from Windows 10 1607 on; before, one DPI holds for every window.
int PlatformDpi(HWND hwnd) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static auto get = reinterpret_cast<GetDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = get ? get(hwnd) : 0;
  return dpi ? int(dpi) : SystemDpi();
}

bool IsClass(HWND hwnd, const wchar_t* cls) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return CompareStringOrdinal(name, -1, cls, -1, TRUE) == CSTR_EQUAL;
}

struct Placed {
  HWND hwnd;
  RECT rect;  // in its parent's client coordinates
};

// The children to rescale: those of `parent` and, below them, those of windows of this base.
void CollectPlaced(HWND parent, std::vector<Placed>& out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    // A combo box's height is its dropped one: the closed height would leave no room for the list.
    if (IsClass(c, WC_COMBOBOXW))
      SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    else
      GetWindowRect(c, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    out.push_back({c, r});
    if (GetPropW(c, kBaseProp)) CollectPlaced(c, out);
  }
}

// A list's columns keep their width in inches too.
void ScaleColumns(HWND list, int from, int to) {
  HWND header = ListView_GetHeader(list);
  int n = header ? Header_GetItemCount(header) : 0;
  for (int i = 0; i < n; ++i) ListView_SetColumnWidth(list, i, MulDiv(ListView_GetColumnWidth(list, i), to, from));
}

BOOL CALLBACK SwapFont(HWND child, LPARAM lp) {
  auto* fonts = reinterpret_cast<std::pair<HFONT, HFONT>*>(lp);
  if (reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)) == fonts->first)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts->second), FALSE);
  return TRUE;
}
}  // namespace

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
    SetPropW(hwnd, kBaseProp, reinterpret_cast<HANDLE>(self));
    // Kept from the start: when WM_DPICHANGED comes, the system already gives the new DPI for the window.
    if (!(reinterpret_cast<CREATESTRUCTW*>(lp)->style & WS_CHILD))
      SetPropW(hwnd, kDpiProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(PlatformDpi(hwnd))));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_DPICHANGED) {
    self->FollowDpi(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
    return 0;
  }
  LRESULT r = self->OnMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kBaseProp);
    RemovePropW(hwnd, kDpiProp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnGone();
  }
  return r;
}

// Controls keep their place in inches: every child is rescaled, the fonts of the old DPI give way to those of
// the new, and the window takes the rectangle the system suggests, so that its own layout runs at the new DPI.
void Window::FollowDpi(int dpi, const RECT& suggested) {
  int old = DpiOf(hwnd_);
  if (dpi <= 0) dpi = old;
  SetPropW(hwnd_, kDpiProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
  std::pair<HFONT, HFONT> fonts{UiFont(old), UiFont(dpi)};
  EnumChildWindows(hwnd_, SwapFont, reinterpret_cast<LPARAM>(&fonts));
  std::vector<Placed> placed;
  CollectPlaced(hwnd_, placed);
  auto scale = [&](LONG v) { return MulDiv(v, dpi, old); };
  for (const Placed& p : placed) {
    if (IsClass(p.hwnd, WC_LISTVIEWW)) ScaleColumns(p.hwnd, old, dpi);
    SetWindowPos(p.hwnd, nullptr, scale(p.rect.left), scale(p.rect.top), scale(p.rect.right) - scale(p.rect.left),
                 scale(p.rect.bottom) - scale(p.rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  OnDpiChanged(old, dpi);
}

int DpiOf(HWND hwnd) {
  if (!hwnd) return SystemDpi();
  HWND top = GetAncestor(hwnd, GA_ROOT);
  if (INT_PTR set = reinterpret_cast<INT_PTR>(GetPropW(top ? top : hwnd, kDpiProp))) return int(set);
  return PlatformDpi(hwnd);
}

int Twips(HWND hwnd, int twips) { return MulDiv(twips, DpiOf(hwnd), 1440); }
int PixelsToTwips(HWND hwnd, int pixels) { return MulDiv(pixels, 1440, DpiOf(hwnd)); }

HFONT UiFont(int dpi) {
  static std::map<int, HFONT> fonts;
  HFONT& font = fonts[dpi];
  if (!font) {
    NONCLIENTMETRICSW m{sizeof m};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
    // The metrics are given at the system DPI.
    m.lfMessageFont.lfHeight = MulDiv(m.lfMessageFont.lfHeight, dpi, SystemDpi());
    font = CreateFontIndirectW(&m.lfMessageFont);
  }
  return font;
}

HFONT UiFontOf(HWND hwnd) { return UiFont(DpiOf(hwnd)); }

HWND CreateControl(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, int id, DWORD exStyle) {
  HWND h = CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (h) SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont(DpiOf(parent))), TRUE);
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
