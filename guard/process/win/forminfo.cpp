#include "guard/process/win/forminfo.h"

#include "common/path.h"
#include "common/text.h"
#include "common/win/clipboard.h"
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
  for (int i = 0; i < 3; ++i)
    labcmd_[i] = common::ui::CreateControl(hwnd(), L"STATIC", kLinkCaptions[i], SS_LEFT | SS_NOTIFY, kIdLink0 + i);
  return true;
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
  HGDIOBJ old = SelectObject(dc, common::ui::UiFont());
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

LRESULT Forminfo::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: Unload(); return 0;
    case WM_CLOSE: Unload(); return 0;
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (HIWORD(wp) != STN_CLICKED) break;
      if (id >= kIdLink0 && id < kIdLink0 + 3) LabcmdClick(Link(id - kIdLink0));
      else Unload();  // a click on the report or the icon
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HWND ctl = reinterpret_cast<HWND>(lp);
      bool isLink = ctl == labcmd_[0] || ctl == labcmd_[1] || ctl == labcmd_[2];
      SetTextColor(reinterpret_cast<HDC>(wp), isLink ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
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
