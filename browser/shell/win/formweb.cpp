#include "browser/shell/win/formweb.h"

#include <commctrl.h>

#include "browser/pages/page_rules.h"
#include "browser/shell/win/frm_main.h"
#include "common/win/settings_store.h"

namespace corvane {
namespace {
enum : UINT { kMsgResolve = WM_APP + 1, kMsgSocket = WM_APP + 2, kMsgClose = WM_APP + 3 };
enum : int { kIdCmb = 10 };
constexpr int kOffScreenTwips = 40000;
}  // namespace

double SecondsSinceMidnight() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

Formweb::Formweb(FrmMain& frame, std::unique_ptr<PageEngine> engine) : frame_(frame), engine_(std::move(engine)) {}

Formweb::~Formweb() {
  Unload();
  Destroy();
}

bool Formweb::Load(HWND parent, int number) {
  myindex = number;
  startMark_ = SecondsSinceMidnight();
  int x = common::ui::Twips(parent, kOffScreenTwips);
  if (!Create(L"CorvaneFormweb", L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, x, 0, 400, 300,
              parent))
    return false;
  // The focus holder sits outside the visible area: it takes keys without showing. A window of its own
  // class, because a real combo box costs several milliseconds per tab.
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CmbProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CorvaneCmb";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  cmb_ = CreateWindowExW(0, L"CorvaneCmb", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, -300, -300, 20, 20, hwnd(),
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdCmb)), GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(cmb_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  lookup_ = std::make_unique<IpLookup>(hwnd(), kMsgResolve, kMsgSocket);
  engine_->Create(hwnd(), this);  // without an engine the window still stands, showing nothing
  return true;
}

void Formweb::Unload() {
  if (closed_) return;
  closed_ = true;
  common::SaveSetting(L"Corvane", L"myie", std::to_wstring(myindex) + L"falsepage", L"");
  if (frame_.PageAt(myindex) == this) frame_.SetRemoteText(myindex, L"");
  if (lookup_) lookup_->Cancel();
  engine_->Close();
  if (cmb_) SetWindowLongPtrW(cmb_, GWLP_USERDATA, 0);
}

bool Formweb::Live() const { return !closed_ && !closeRequested_ && frame_.PageAt(myindex) == this; }
bool Formweb::Active() const { return Live() && frame_.IsActivePage(this); }

void Formweb::butenableable() { frame_.SetBackForward(canGoBack, canGoForward); }

void Formweb::StatusTextChange(const std::wstring& text) {
  if (!Live()) return;
  Statu1 = text;
  if (Active()) frame_.SetPanel(1, text);
}

void Formweb::ProgressChange(long progress, long progressMax) {
  if (!Live()) return;
  Progress p = ProgressOf(progress, progressMax);
  if (p.text) Statu3 = *p.text;
  frame_.SetProgress(myindex, p.percent);
  if (Active()) frame_.SetPanel(3, Statu3);
}

void Formweb::CommandStateChange(long command, bool enable) {
  if (!Active()) return;
  if (command == 2) canGoBack = enable;
  if (command == 1) canGoForward = enable;
  butenableable();
}

void Formweb::SetBlankTab() {
  SetWindowTextW(hwnd(), kBlankCaption);
  frame_.SetTabCaption(myindex, L"");
  frame_.SetTabTip(myindex, kBlankTabTip);
}

void Formweb::DownloadBegin() {
  if (!Live()) return;
  engine_->SetOffline(frame_.offnet());
  engine_->SetSilent(true);
  if (IsBlankAddress(engine_->LocationURL())) SetBlankTab();
  if (Active()) frame_.SetPanel(1, L"正在开启……");
}

void Formweb::DownloadComplete() {
  if (!Live()) return;
  Statu5 = DownloadTimeText(long(SecondsSinceMidnight() - startMark_));
  if (Active()) {
    frame_.SetPanel(5, Statu5);
    frame_.SetPanel(7, frame_.RemoteText(myindex));
  }
  frame_.WriteHistory();
}

void Formweb::TitleChange(const std::wstring&) {
  if (!Live()) return;
  startMark_ = SecondsSinceMidnight();
  shownSeconds_ = 0;
  std::wstring url = engine_->LocationURL();
  std::wstring title = PageTitle(engine_->DocumentTitle(), url);
  frame_.SetTabCaption(myindex, title);
  frame_.SetTabTip(myindex, title);
  SetWindowTextW(hwnd(), title.c_str());
  if (Active()) {
    myname = title;
    frame_.SetCaption(FrameCaption(title));
    frame_.SetTextUrl(url);
  }
  getIP();
}

bool Formweb::BeforeNavigate2(const std::wstring& url, bool topLevel) {
  if (!Live()) return true;  // a closed window navigates nowhere
  if (frame_.blocks().Blocks(url)) {
    // A listed frame inside a page is cancelled alone; the user's tab stays.
    if (topLevel) RequestClose(true);
    return true;
  }
  frame_.ShowNavigating(this);
  return false;
}

PageEngine* Formweb::NewWindow2() {
  if (!Live()) return nullptr;
  Formweb* page = frame_.OpenNewWindowPage();
  return page ? &page->Web() : nullptr;
}

void Formweb::ShowDownloadTime() {
  long elapsed = long(SecondsSinceMidnight() - startMark_);
  if (elapsed > shownSeconds_) shownSeconds_ = elapsed;
  Statu5 = DownloadTimeText(shownSeconds_);
  if (Active()) {
    frame_.SetPanel(5, Statu5);
    frame_.SetPanel(7, frame_.RemoteText(myindex));
  }
}

void Formweb::LayoutWeb() {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int left = -common::ui::Twips(hwnd(), 30), extra = common::ui::Twips(hwnd(), 80);
  // A first move a little narrower makes the control repaint.
  engine_->Move(left, 0, rc.right - common::ui::Twips(hwnd(), 10), rc.bottom + extra);
  engine_->Move(left, 0, rc.right, rc.bottom + extra);
}

void Formweb::NavigateComplete2(const std::wstring&) {
  if (!Live()) return;
  ShowDownloadTime();
  LayoutWeb();
  if (frame_.TextUrl() == kUrlPrompt) SetBlankTab();
}

void Formweb::WindowClosing() {
  if (Live()) RequestClose(false);
}

void Formweb::RequestClose(bool blocked) {
  if (closeRequested_ || closed_) return;
  closeRequested_ = true;
  // The control must not be torn down while its event is still on the stack.
  PostMessageW(hwnd(), kMsgClose, blocked, 0);
}

bool Formweb::NavigateError(const std::wstring&) { return true; }

void Formweb::getIP() {
  std::optional<std::wstring> host = HostOf(engine_->LocationURL());
  if (!host) {
    frame_.SetRemoteText(myindex, LocalAddressText(LocalIp()));
    return;
  }
  if (*host == lastHost_) return;
  lastHost_ = *host;
  lookup_->Start(*host);
}

void Formweb::Cmb_KeyDown(int keyCode) {
  if (keyCode == VK_UP) engine_->ScrollBy(-100);
  if (keyCode == VK_DOWN) engine_->ScrollBy(100);
}

LRESULT CALLBACK Formweb::CmbProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Formweb*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (msg == WM_GETDLGCODE) return DLGC_WANTARROWS;
  if (msg == WM_KEYDOWN && self && (wp == VK_UP || wp == VK_DOWN)) {
    self->Cmb_KeyDown(int(wp));
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT Formweb::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgResolve:
      if (!closed_) lookup_->OnResolved(wp, lp);
      return 0;
    case kMsgSocket:
      if (closed_) return 0;
      if (auto ip = lookup_->OnSocket(wp, lp)) {
        frame_.SetRemoteText(myindex, RemoteAddressText(*ip));
        if (Active()) frame_.SetPanel(7, frame_.RemoteText(myindex));
      }
      return 0;
    case kMsgClose:
      if (!closed_ && frame_.PageAt(myindex) == this) {
        closeRequested_ = false;  // the only page is kept, showing a blank page, and listens again
        if (wp)
          frame_.BlockPopup(this);
        else
          frame_.ClosePage(this);
      }
      return 0;
    case WM_SIZE: LayoutWeb(); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
