#include "browser/tools/win/formping.h"

#include <commctrl.h>

#include "browser/pages/win/input_box.h"
#include "browser/files/edit_messages.h"
#include "browser/tools/ping_target.h"
#include "browser/tools/win/text_output.h"
#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/ui/placement.h"

namespace corvane {
namespace {
using common::ui::CreateControl;
using common::ui::WindowText;

constexpr UINT_PTR kTimer1 = 1;

struct Button {
  int id;
  const wchar_t* key;
  int image;
  const wchar_t* tip;
};
constexpr Button kButtons[] = {
    {Formping::kOpen, L"open", STD_FILEOPEN, L"打开源文件"}, {Formping::kSave, L"save", STD_FILESAVE, L"保存"},
    {Formping::kFind, L"find", STD_FIND, L"查找"},           {Formping::kLine, L"line", STD_REPLACE, L"自动换行"},
    {Formping::kCopy, L"copy", STD_COPY, L"复制"},           {Formping::kCut, L"cut", STD_CUT, L"剪切"},
    {Formping::kZhan, L"zhan", STD_PASTE, L"粘贴"},          {Formping::kPrint, L"print", STD_PRINT, L"打印"}};

const Button* ButtonOf(int id) {
  for (const Button& b : kButtons)
    if (b.id == id) return &b;
  return nullptr;
}

// The host to ping: a name outside ASCII in its ASCII (IDN) form, then the accepted forms only.
std::optional<std::wstring> PingTarget(const std::wstring& address) {
  std::wstring host = CutHost(address);
  bool ascii = std::all_of(host.begin(), host.end(), [](wchar_t c) { return c < 0x80; });
  if (!ascii) {
    wchar_t out[256] = {};
    int n = host.empty() ? 0 : IdnToAscii(0, host.c_str(), int(host.size()), out, 255);
    if (n <= 0) return std::nullopt;
    host.assign(out, size_t(n));
  }
  return AcceptedHost(host);
}

HACCEL Accelerators() {
  ACCEL keys[] = {{FVIRTKEY, VK_F5, Formping::kOpen},
                  {FVIRTKEY | FCONTROL, 'S', Formping::kSave},
                  {FVIRTKEY | FCONTROL, 'F', Formping::kFind},
                  {FVIRTKEY | FCONTROL, 'P', Formping::kPrint}};
  return CreateAcceleratorTableW(keys, int(std::size(keys)));
}

}  // namespace

std::wstring Formping::ToolTip(int id) {
  const Button* b = ButtonOf(id);
  return b ? b->tip : L"";
}

bool Formping::Create(HWND owner, const std::wstring& caption) {
  RECT o{0, 0, 0, 0};
  if (owner) GetWindowRect(owner, &o);
  int w = common::ui::Twips(owner, 9600), h = common::ui::Twips(owner, 7200);
  // Cascaded from the owner's corner, and whole on its monitor.
  o = common::ui::KeptInside({o.left + 60, o.top + 60, o.left + 60 + w, o.top + 60 + h}, common::ui::WorkAreaOf(owner));
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  if (!Window::Create(L"CorvaneFormping", caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, o.left,
                      o.top, w, h, owner, nullptr, icon))
    return false;
  CreateToolbar();
  text2_ = CreateControl(hwnd(), L"EDIT", L"http://www.", ES_AUTOHSCROLL | WS_TABSTOP, kText2, WS_EX_CLIENTEDGE);
  text3_ = CreateControl(hwnd(), L"EDIT", L"网络未知", ES_AUTOHSCROLL, kText3);
  ShowWindow(text3_, SW_HIDE);  // only the proposed file name
  text1_ = CreateControl(hwnd(), L"EDIT", L"",
                         ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL | WS_VSCROLL |
                             WS_HSCROLL | WS_TABSTOP,
                         kText1, WS_EX_CLIENTEDGE);
  SendMessageW(text1_, EM_SETLIMITTEXT, 0, 0);  // page sources are long
  accel_ = Accelerators();
  common::SetDialogKeys(hwnd(), accel_);
  Layout();
  return true;
}

void Formping::CreateToolbar() {
  toolbar1_ = CreateControl(hwnd(), TOOLBARCLASSNAMEW, L"",
                            TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                            kToolbar1);
  SendMessageW(toolbar1_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // imlToolbarIcons: the system's standard small pictures.
  SendMessageW(toolbar1_, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
  for (const Button& b : kButtons) {
    TBBUTTON tb{};
    tb.iBitmap = b.image;
    tb.idCommand = b.id;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = BTNS_BUTTON;
    SendMessageW(toolbar1_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    if (b.id == kSave || b.id == kLine || b.id == kZhan) {
      TBBUTTON sep{};
      sep.fsStyle = BTNS_SEP;
      SendMessageW(toolbar1_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&sep));
    }
  }
  SendMessageW(toolbar1_, TB_AUTOSIZE, 0, 0);
}

void Formping::Layout() {
  if (!text1_) return;
  RECT rc;
  GetClientRect(hwnd(), &rc);
  int th = HIWORD(SendMessageW(toolbar1_, TB_GETBUTTONSIZE, 0, 0)) + 4;
  MoveWindow(toolbar1_, 0, 0, rc.right, th, TRUE);
  int y = th;
  bool address = ModeOfCaption(WindowText(hwnd())) != ToolMode::kIpconfig;
  ShowWindow(text2_, address ? SW_SHOW : SW_HIDE);
  if (address) {
    MoveWindow(text2_, 2, y, std::max(0L, rc.right - 4), 22, TRUE);
    y += 24;
  }
  MoveWindow(text1_, 0, y, rc.right, std::max(0L, rc.bottom - y), TRUE);
}

// ---- the three modes ----

void Formping::Run() {
  switch (ModeOfCaption(WindowText(hwnd()))) {
    case ToolMode::kSource: code(WindowText(text2_)); break;
    case ToolMode::kPing: ping(); break;
    case ToolMode::kIpconfig: ipconfig(); break;
  }
}

void Formping::code(const std::wstring&) {
  // The current page decides, whatever the address says.
  SetText1(source_ ? source_() : L"");
  SetFocus(text1_);
}

void Formping::ping() {
  std::optional<std::wstring> host = PingTarget(WindowText(text2_));
  if (!host) {
    StopTimer();
    output_.Close();
    SetText1(kPingRejected);
    return;
  }
  StartCommand(L"ping.exe", *host);
}

void Formping::ipconfig() { StartCommand(L"ipconfig.exe", L"/all"); }

void Formping::StartCommand(const wchar_t* program, const std::wstring& args) {
  StopTimer();
  busy_ = true;
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (!output_.Start(program, args)) {
    busy_ = false;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return;
  }
  timeip_ = 0;
  timerOn_ = SetTimer(hwnd(), kTimer1, 1000, nullptr) != 0;
}

void Formping::StopTimer() {
  if (timerOn_ && hwnd()) KillTimer(hwnd(), kTimer1);
  timerOn_ = false;
}

void Formping::Timer1_Timer() {
  // About 31 seconds at most: the tick that passes 30 still reads.
  if (++timeip_ > 30) StopTimer();
  bool more = output_.Read();
  SetText1(CollectedText(output_.Text()));
  if (!more) StopTimer();
  if (!timerOn_) output_.Close();
  busy_ = false;
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void Formping::SetText1(const std::wstring& text) {
  if (WindowText(text1_) != text) SetWindowTextW(text1_, text.c_str());
}

// ---- the toolbar ----

std::wstring Formping::Selection() const {
  DWORD start = 0, end = 0;
  SendMessageW(text1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  std::wstring text = WindowText(text1_);
  if (start > end || start > text.size()) return L"";
  return text.substr(start, end - start);
}

void Formping::Copy() { common::SetClipboardText(hwnd(), Selection()); }

void Formping::Paste() {
  std::wstring text = common::GetClipboardText();
  SendMessageW(text1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Formping::Find() {
  std::wstring what = AskText(hwnd(), L"请输入查找内容：", L"查找");
  if (what.empty()) return;
  SetFocus(text1_);
  if (auto hit = FindFirst(WindowText(text1_), what)) {
    SendMessageW(text1_, EM_SETSEL, hit->first, hit->second);
    SendMessageW(text1_, EM_SCROLLCARET, 0, 0);
  }
}

void Formping::Save() {
  std::optional<std::wstring> name = AskSaveName(hwnd(), kSaveFilter, SaveName(WindowText(text3_)));
  if (name && !name->empty() && !WriteTextLine(*name, WindowText(text1_)))
    common::MsgBox(hwnd(), WriteFailedMessage(*name), MB_OK | MB_ICONERROR);
}

void Formping::Toolbar1_ButtonClick(std::wstring_view key) {
  if (key == L"open") {
    SetText1(L"");
    Run();
  } else if (key == L"save") {
    Save();
  } else if (key == L"find") {
    Find();
  } else if (key == L"line") {
    SetFocus(text1_);
  } else if (key == L"copy") {
    Copy();
  } else if (key == L"cut") {
    Copy();
    SendMessageW(text1_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
  } else if (key == L"zhan") {
    Paste();
  } else if (key == L"print") {
    PrintText(WindowText(text1_), WindowText(hwnd()));
  }
}

LRESULT Formping::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_TIMER: if (wp == kTimer1) Timer1_Timer(); return 0;
    case WM_SETCURSOR:
      if (busy_ && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) {
        DestroyWindow(hwnd());
      } else if (LOWORD(wp) == IDOK) {
        // Enter in the address box runs the window's mode again.
        if (GetFocus() == text2_) Toolbar1_ButtonClick(L"open");
      } else if (const Button* b = ButtonOf(LOWORD(wp))) {
        Toolbar1_ButtonClick(b->key);
      }
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
        static std::wstring tip;
        tip = ToolTip(int(hdr->idFrom));
        info->lpszText = tip.data();
        return 0;
      }
      break;
    }
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, text1_); return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

void Formping::OnGone() {
  timerOn_ = false;
  output_.Close();
  if (accel_) DestroyAcceleratorTable(accel_);
  accel_ = nullptr;
  if (ownsSelf_) delete this;
}

Formping* OpenFormping(HWND owner, const std::wstring& caption, const std::wstring& address, const std::wstring& title,
                       Formping::SourceOf source) {
  auto* form = new Formping(std::move(source));
  if (!form->Create(owner, caption)) {
    delete form;
    return nullptr;
  }
  form->ownsSelf_ = true;
  ShowWindow(form->hwnd(), SW_SHOW);
  SetForegroundWindow(form->hwnd());
  SetFocus(form->text1_);
  form->SetText1(L"");
  SetWindowTextW(form->text2_, address.c_str());
  SetWindowTextW(form->text3_, title.c_str());
  form->Run();
  return form;
}

}  // namespace corvane
