#include "browser/tools/win/formclear.h"

#include "browser/tools/win/trace_cleaner.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"

namespace corvane {
using common::ui::CreateControl;
using common::ui::MoveTwips;

bool Formclear::Create(HWND owner) {
  owner_ = owner;
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  if (!common::ui::CreateForm(*this, L"CorvaneFormclear", kClearTitle, 6300, 3900, owner, icon)) return false;
  HWND frame = CreateControl(hwnd(), L"BUTTON", L"选项", BS_GROUPBOX, kFrame);
  MoveTwips(frame, 120, 60, 5900, 2700);
  // Two columns of five, in index order down each column.
  for (int i = 0; i < kTraceBoxes; ++i) {
    chk_[size_t(i)] = CreateControl(hwnd(), L"BUTTON", kTraceCaptions[size_t(i)],
                                    BS_AUTOCHECKBOX | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), kChk0 + i);
    MoveTwips(chk_[size_t(i)], 300 + (i / 5) * 2850, 330 + (i % 5) * 460, 2750, 330);
  }
  checkAll_ = CreateControl(hwnd(), L"BUTTON", L"全选", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, kCheckAll);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, kCommand1);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消(&C)", BS_PUSHBUTTON | WS_TABSTOP, kCommand2);
  MoveTwips(checkAll_, 300, 2950, 1500, 360);
  MoveTwips(ok, 3300, 2920, 1300, 420);
  MoveTwips(cancel, 4720, 2920, 1300, 420);
  SetFocus(chk_[0]);
  return true;
}

std::array<bool, kTraceBoxes> Formclear::Ticked() const {
  std::array<bool, kTraceBoxes> t{};
  for (int i = 0; i < kTraceBoxes; ++i)
    t[size_t(i)] = SendMessageW(chk_[size_t(i)], BM_GETCHECK, 0, 0) == BST_CHECKED;
  return t;
}

void Formclear::CheckAll_Click() {
  WPARAM state = SendMessageW(checkAll_, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
  for (HWND box : chk_) SendMessageW(box, BM_SETCHECK, state, 0);
}

void Formclear::Command1_Click() {
  std::vector<int> failed = RunTracePlan(TracePlan(Ticked(), folders_));
  if (cleared_) cleared_();
  HWND owner = owner_;
  DestroyWindow(hwnd());
  common::MsgBox(owner, TraceMessage(failed), failed.empty() ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONWARNING);
}

LRESULT Formclear::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCheckAll: if (HIWORD(wp) == BN_CLICKED) CheckAll_Click(); return 0;
        case kCommand1: Command1_Click(); return 0;
        case kCommand2: DestroyWindow(hwnd()); return 0;
      }
      return 0;
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, chk_[0]); return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

void ShowFormclear(HWND owner, std::function<void()> cleared) {
  Formclear form(KnownTraceFolders(), std::move(cleared));
  if (form.Create(owner)) common::ui::RunModal(form, owner);
}

}  // namespace corvane
