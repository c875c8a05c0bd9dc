#include "browser/pages/win/formask.h"

#include <commctrl.h>

#include "common/win/clipboard.h"
#include "common/win/pump.h"
#include "common/win/ui/placement.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

Formask::Formask(std::vector<OpenPage> pages, Opener open) : open_(std::move(open)), pages_(std::move(pages)) {}

bool Formask::Create(HWND owner) {
  int w = common::ui::Twips(owner, 6600), h = common::ui::Twips(owner, 5400);
  RECT o = common::ui::PlacedOver(owner, w, h);
  if (!Window::Create(L"CorvaneFormask", L"上次启动页面", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                      o.left, o.top, w, h, owner))
    return false;
  HWND hint = CreateControl(hwnd(), L"STATIC", L"提示：上次网页没有正常关闭，你愿意重新打开以下网站吗？", SS_LEFT, 404);
  lvw_.Create(hwnd(), kLvw, LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  ListView_SetExtendedListViewStyle(lvw_.hwnd(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  lvw_.AddColumn(L"网站标题", 5800);
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd(),
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW ti{sizeof ti};
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(lvw_.hwnd());
  static wchar_t tipText[] = L"鼠标单击可以复制地址；双击以后会立即开启它";
  ti.lpszText = tipText;
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  HWND all = CreateControl(hwnd(), L"BUTTON", L"全选(&A)", BS_PUSHBUTTON | WS_TABSTOP, kCommand3);
  HWND none = CreateControl(hwnd(), L"BUTTON", L"全否(&N)", BS_PUSHBUTTON | WS_TABSTOP, kCommand4);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP, kCommand1);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消(&C)", BS_PUSHBUTTON | WS_TABSTOP, kCommand2);
  MoveTwips(hint, 150, 120, 6200, 300);
  MoveTwips(lvw_.hwnd(), 150, 480, 6200, 3700);
  MoveTwips(all, 150, 4350, 1200, 400);
  MoveTwips(none, 1450, 4350, 1200, 400);
  MoveTwips(ok, 3850, 4350, 1200, 400);
  MoveTwips(cancel, 5150, 4350, 1200, 400);
  for (size_t i = 0; i < pages_.size(); ++i) lvw_.Add(std::to_wstring(i), RowText(pages_[i]));
  return true;
}

bool Formask::Checked(int index) const { return ListView_GetCheckState(lvw_.hwnd(), index) != 0; }
void Formask::SetChecked(int index, bool on) { ListView_SetCheckState(lvw_.hwnd(), index, on ? TRUE : FALSE); }

void Formask::Command1_Click() {
  answered_ = true;
  ShowWindow(hwnd(), SW_HIDE);
  std::vector<std::wstring> urls;
  for (int i = 0; i < lvw_.Count(); ++i)
    if (Checked(i)) urls.push_back(pages_[i].url);
  for (const auto& url : urls) {
    if (!open_(url)) ++notOpened_;
    common::PumpMessages();
  }
  DestroyWindow(hwnd());
}

void Formask::ItemClick(int index) {
  if (index >= 0 && index < int(pages_.size())) common::SetClipboardText(hwnd(), pages_[index].url);
}

void Formask::ItemDblClick(int index) {
  if (index >= 0 && index < int(pages_.size())) open_(pages_[index].url);
}

LRESULT Formask::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCommand1: Command1_Click(); break;
        case kCommand2: DestroyWindow(hwnd()); break;
        case kCommand3:
          for (int i = 0; i < lvw_.Count(); ++i) SetChecked(i, true);
          break;
        case kCommand4:
          for (int i = 0; i < lvw_.Count(); ++i) SetChecked(i, false);
          break;
      }
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->idFrom == kLvw && (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK)) {
        int item = reinterpret_cast<NMITEMACTIVATE*>(lp)->iItem;
        if (hdr->code == NM_CLICK)
          ItemClick(item);
        else
          ItemDblClick(item);
      }
      break;
    }
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, lvw_.hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
