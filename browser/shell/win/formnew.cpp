#include "browser/shell/win/formnew.h"

#include "common/text.h"
#include "common/win/text_file.h"
#include "common/win/msgbox.h"
#include "common/win/system.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

Formnew::Formnew(std::wstring file, std::wstring address) : file_(std::move(file)), address_(std::move(address)) {}

bool Formnew::Create(HWND owner) {
  int w = common::ui::Twips(owner, 6700), h = common::ui::Twips(owner, 5300);
  RECT o;
  GetWindowRect(owner, &o);
  if (!Window::Create(L"CorvaneFormnew", L"广告网页的阻止列表", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, (o.left + o.right - w) / 2, (o.top + o.bottom - h) / 2,
                      w, h, owner))
    return false;
  HWND label1 = CreateControl(hwnd(), L"STATIC", L"被阻止的广告网页列表", SS_LEFT, 0);
  list1_ =
      CreateControl(hwnd(), L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                    kList1, WS_EX_CLIENTEDGE);
  HWND label2 = CreateControl(hwnd(), L"STATIC", L"广告网页：", SS_LEFT, 0);
  text2_ = CreateControl(hwnd(), L"EDIT", address_, ES_AUTOHSCROLL | WS_TABSTOP, kText2, WS_EX_CLIENTEDGE);
  HWND label3 = CreateControl(hwnd(), L"STATIC", L"播放声音：", SS_LEFT, 0);
  HWND sound = CreateControl(hwnd(), L"STATIC", L"sys\\sha.wav", SS_LEFT, 0);
  add_ = CreateControl(hwnd(), L"BUTTON", L"添加(&A)", BS_DEFPUSHBUTTON | WS_TABSTOP, kCommand1);
  HWND del = CreateControl(hwnd(), L"BUTTON", L"删除(&D)", BS_PUSHBUTTON | WS_TABSTOP, kCommand2);
  HWND close = CreateControl(hwnd(), L"BUTTON", L"关闭(&C)", BS_PUSHBUTTON | WS_TABSTOP, kCommand3);
  MoveTwips(label1, 150, 120, 6200, 300);
  MoveTwips(list1_, 150, 420, 6200, 2700);
  MoveTwips(label2, 150, 3280, 1100, 300);
  MoveTwips(text2_, 1250, 3230, 5100, 330);
  MoveTwips(label3, 150, 3730, 1100, 300);
  MoveTwips(sound, 1250, 3730, 5100, 300);
  MoveTwips(add_, 2250, 4250, 1250, 400);
  MoveTwips(del, 3650, 4250, 1250, 400);
  MoveTwips(close, 5050, 4250, 1250, 400);
  // A file that is there but cannot be read is never written over with a shorter list.
  auto text = common::ReadFileText(file_, common::kSmallFileCap);
  loadFailed_ = !text && common::FileExists(file_);
  for (const std::wstring& line : common::SplitLines(text ? *text : L""))
    if (!line.empty()) SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SetFocus(text2_);
  return true;
}

std::vector<std::wstring> Formnew::Items() const {
  std::vector<std::wstring> items;
  int n = int(SendMessageW(list1_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::wstring item(size_t(std::max<LRESULT>(0, SendMessageW(list1_, LB_GETTEXTLEN, i, 0))), L'\0');
    SendMessageW(list1_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    items.push_back(item.c_str());
  }
  return items;
}

void Formnew::Command1_Click() {
  std::wstring text = common::ui::WindowText(text2_);
  SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  EnableWindow(add_, FALSE);
  saveblocklist();
}

void Formnew::Command2_Click() {
  int sel = int(SendMessageW(list1_, LB_GETCURSEL, 0, 0));
  if (sel != LB_ERR) SendMessageW(list1_, LB_DELETESTRING, sel, 0);
  saveblocklist();
}

void Formnew::saveblocklist() {
  std::wstring text;
  for (const std::wstring& item : Items()) text += item + L"\r\n";
  // A new file moved over the old one: a failure leaves the old list whole.
  saved_ = !loadFailed_ && common::WriteTextFile(file_, text).ok();
  if (!saved_) common::MsgBox(hwnd(), L"阻止列表没有保存，原来的列表保持不变：\r\n" + file_, MB_OK | MB_ICONERROR);
  DestroyWindow(hwnd());
}

LRESULT Formnew::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:  // Enter: the default button
        case kCommand1:
          if (IsWindowEnabled(add_)) Command1_Click();
          break;
        case kCommand2: Command2_Click(); break;
        case kCommand3: DestroyWindow(hwnd()); break;
      }
      return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, text2_); return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace corvane
