#include "guard/process/win/forminfo.h"

#include "common/path.h"
#include "common/text.h"
#include "common/win/clipboard.h"
#include "common/win/message_loop.h"
#include "common/win/system.h"
#include "guard/process/file_info.h"
#include "guard/process/win/process_actions.h"

namespace zorvix {
namespace {
enum : int { kIdLabel = 10, kIdIcon = 11, kIdLink0 = 20 };
constexpr const wchar_t* kLinkCaptions[] = {L"查看目录", L"启动运行", L"复制信息"};
constexpr int kMargin = 8, kIconSize = 32, kLinkGap = 16;
constexpr BYTE kOpacity = 200;
}  // namespace

bool Forminfo::Load(HWND owner) {
  if (loaded()) return true;
  if (!Create(L"ZorvixForminfo", kFileInfoCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
              WS_EX_TOOLWINDOW | WS_EX_LAYERED, 0, 0, 300, 200, owner))
    return false;
  SetLayeredWindowAttributes(hwnd(), 0, kOpacity, LWA_ALPHA);
  label1_ = common::ui::CreateControl(hwnd(), L"STATIC", L"", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, kIdLabel);
  imge_ = common::ui::CreateControl(hwnd(), L"STATIC", L"", SS_ICON | SS_NOTIFY, kIdIcon);
  // Links drawn as links, but buttons underneath so that the keyboard reaches them.
  for (int i = 0; i < 3; ++i)
    labcmd_[i] =
        common::ui::CreateControl(hwnd(), L"BUTTON", kLinkCaptions[i], BS_OWNERDRAW | WS_TABSTOP, kIdLink0 + i);
  common::SetDialogKeys(hwnd());
  return true;
}

void Forminfo::Unload() {
  bool hadFocus = loaded() && GetActiveWindow() == hwnd();
  Destroy();
  if (hadFocus && IsWindow(back_)) SetFocus(back_);
  back_ = nullptr;
}

void Forminfo::Activate(HWND back) {
  back_ = back;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(labcmd_[0]);
}

int Forminfo::FocusedLink() const {
  HWND f = GetFocus();
  for (int i = 0; i < 3; ++i)
    if (f == labcmd_[i]) return i;
  return -1;
}

void Forminfo::DrawLink(const DRAWITEMSTRUCT& item) const {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  SetTextColor(item.hDC, RGB(0, 0, 255));
  SetBkMode(item.hDC, TRANSPARENT);
  HGDIOBJ old = SelectObject(item.hDC, common::ui::UiFontOf(item.hwndItem));
  RECT r = item.rcItem;
  std::wstring text = common::ui::WindowText(item.hwndItem);
  DrawTextW(item.hDC, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void Forminfo::Place(int left, int top) {
  SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Forminfo::drawiconex() {
  report_ = build_ ? build_(FilePath) : L"";
  SetWindowTextW(label1_, report_.c_str());
  icon_ = common::GetFileIcon(FilePath, false);
  SendMessageW(imge_, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
  Fit();
}

// Sizes the window to its report: icon at the left, the report beside it, the links underneath.
void Forminfo::Fit() {
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, common::ui::UiFontOf(hwnd()));
  RECT text{0, 0, 2000, 0};
  DrawTextW(dc, report_.c_str(), -1, &text, DT_CALCRECT | DT_NOPREFIX);
  SIZE link{};
  GetTextExtentPoint32W(dc, kLinkCaptions[0], int(wcslen(kLinkCaptions[0])), &link);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  int textLeft = kMargin * 2 + kIconSize;
  MoveWindow(imge_, kMargin, kMargin, kIconSize, kIconSize, TRUE);
  MoveWindow(label1_, textLeft, kMargin, text.right, text.bottom, TRUE);
  int linkTop = kMargin * 2 + text.bottom;
  for (int i = 0; i < 3; ++i)
    MoveWindow(labcmd_[i], textLeft + i * (link.cx + kLinkGap), linkTop, link.cx + 2, link.cy + 2, TRUE);
  RECT outer{0, 0, textLeft + text.right + kMargin, linkTop + link.cy + kMargin};
  AdjustWindowRectEx(&outer, GetWindowLongW(hwnd(), GWL_STYLE), FALSE, GetWindowLongW(hwnd(), GWL_EXSTYLE));
  SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Forminfo::LabcmdClick(Link link) {
  switch (link) {
    case kViewFolder: OpenFolderSelect(FilePath); break;
    case kRun: common::StartCommand(common::QuoteArg(FilePath), SW_SHOWNORMAL, common::FolderOf(FilePath)); break;
    case kCopyInfo: common::SetClipboardText(hwnd(), report_); break;
  }
  Unload();
}

void Forminfo::OnClick(int id) {
  if (id >= kIdLink0 && id < kIdLink0 + 3) {
    LabcmdClick(Link(id - kIdLink0));
  } else if (id == IDOK) {  // Enter runs the focused link
    if (int link = FocusedLink(); link >= 0) LabcmdClick(Link(link));
  } else {
    Unload();  // Esc, or a click on the report or the icon
  }
}

LRESULT Forminfo::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: Unload(); return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;  // the same code as STN_CLICKED
      OnClick(LOWORD(wp));
      return 0;
    case WM_DRAWITEM: DrawLink(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_CTLCOLORSTATIC: {
      SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wp);
      if (over == labcmd_[0] || over == labcmd_[1] || over == labcmd_[2]) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
  }
  return Default(msg, wp, lp);
}

}  // namespace zorvix
