#include "browser/pages/win/formnew.h"

#include <algorithm>

#include "browser/files/win/browser_files.h"
#include "common/text.h"
#include "common/win/msgbox.h"
#include "common/win/text_file.h"
#include "common/win/ui/form.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

Formnew::Formnew(std::wstring file, std::wstring address) : file_(std::move(file)), address_(std::move(address)) {}

bool Formnew::Create(HWND owner) {
  if (!common::ui::CreateForm(*this, L"CorvaneFormnew", L"广告网页的阻止列表", 6700, 5300, owner)) return false;
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
  // Kept in its own form; a file that was not read whole is never written over.
  EditedFile read = ReadForEditing(file_, common::kSmallFileCap, false);
  block_ = read.block;
  format_ = read.file.format;
  lines_ = SplitKeepingEnds(read.file.text);
  FillList();
  SetFocus(text2_);
  return true;
}

void Formnew::FillList() {
  SendMessageW(list1_, LB_RESETCONTENT, 0, 0);
  shown_.clear();
  int widest = 0;
  HDC dc = GetDC(list1_);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list1_, WM_GETFONT, 0, 0)));
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (common::Trim(lines_[i].text).empty()) continue;
    shown_.push_back(i);
    SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lines_[i].text.c_str()));
    SIZE size{};
    GetTextExtentPoint32W(dc, lines_[i].text.c_str(), int(lines_[i].text.size()), &size);
    widest = std::max(widest, int(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(list1_, dc);
  // Long addresses scroll sideways instead of being cut.
  SendMessageW(list1_, LB_SETHORIZONTALEXTENT, widest + 8, 0);
}

std::vector<std::wstring> Formnew::Items() const {
  std::vector<std::wstring> items;
  for (size_t i : shown_) items.push_back(lines_[i].text);
  return items;
}

void Formnew::Command1_Click() {
  std::vector<TextLine> before = lines_;
  AppendLine(lines_, common::ui::WindowText(text2_));
  EnableWindow(add_, FALSE);
  saveblocklist(std::move(before));
}

void Formnew::Command2_Click() {
  int sel = int(SendMessageW(list1_, LB_GETCURSEL, 0, 0));
  std::vector<TextLine> before = lines_;
  if (sel != LB_ERR && size_t(sel) < shown_.size()) lines_.erase(lines_.begin() + ptrdiff_t(shown_[size_t(sel)]));
  saveblocklist(std::move(before));
}

void Formnew::saveblocklist(std::vector<TextLine> before) {
  std::wstring problem;
  if (block_ != EditBlock::kNone) {
    problem = NotEditableMessage(file_, block_);
  } else {
    // A new file moved over the old one, in the old one's form: a failure leaves the old list whole.
    common::TextWrite w = common::WriteTextFile(file_, JoinLines(lines_), format_);
    if (w.status == common::WriteStatus::kNotHeld) problem = NotHeldMessage(file_, w.notHeld);
    if (w.status == common::WriteStatus::kFailed) problem = WriteFailedMessage(file_);
  }
  saved_ = problem.empty();
  if (saved_) {
    DestroyWindow(hwnd());
    return;
  }
  // The dialog stays with the list as the file holds it, the typed address kept for another try.
  common::MsgBox(hwnd(), problem, MB_OK | MB_ICONERROR);
  lines_ = std::move(before);
  FillList();
  EnableWindow(add_, TRUE);
  SetFocus(text2_);
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
