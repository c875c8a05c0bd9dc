#include "browser/tools/win/formsetup.h"

#include <shlwapi.h>

#include "browser/app.h"
#include "browser/pages/page_rules.h"
#include "common/win/message_loop.h"
#include "common/win/settings_store.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"

namespace corvane {
using common::QuerySetting;
using common::SaveSetting;
using common::ui::CreateControl;
using common::ui::MoveTwips;

StoredOptions ReadStoredOptions() {
  return {QuerySetting(kApp, L"myie", L"Start"), QuerySetting(kApp, L"myie", L"startwindows"),
          QuerySetting(kApp, L"myie", L"startRadio"), QuerySetting(kApp, L"unload", L"askme")};
}

void WriteStoredOptions(const StoredOptions& o) {
  SaveSetting(kApp, L"myie", L"startwindows", o.startwindows.value_or(L"0"));
  SaveSetting(kApp, L"myie", L"startRadio", o.startRadio.value_or(L"0"));
  SaveSetting(kApp, L"unload", L"askme", o.askme.value_or(L"0"));
  SaveSetting(kApp, L"myie", L"Start", o.start.value_or(L""));
}

bool Formsetup::Create(HWND owner) {
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"APPICON");
  if (!common::ui::CreateForm(*this, L"CorvaneFormsetup", kOptionsTitle, 6900, 5400, owner, icon)) return false;
  CreateControls();
  Form_Load();
  SetFocus(textStart_);
  return true;
}

void Formsetup::CreateControls() {
  HWND start = CreateControl(hwnd(), L"BUTTON", L"启动时", BS_GROUPBOX, 0);
  MoveTwips(start, 120, 60, 6500, 1500);
  HWND label = CreateControl(hwnd(), L"STATIC", L"首页：", SS_LEFT, 0);
  MoveTwips(label, 300, 380, 700, 300);
  textStart_ = CreateControl(hwnd(), L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, kTextStart, WS_EX_CLIENTEDGE);
  MoveTwips(textStart_, 1000, 330, 5450, 330);
  const wchar_t* cmdText[] = {L"使用当前页", L"使用默认页", L"使用空白页"};
  for (int i = 0; i < 3; ++i) {
    cmd_[size_t(i)] = CreateControl(hwnd(), L"BUTTON", cmdText[i], BS_PUSHBUTTON | WS_TABSTOP, kCmd0 + i);
    MoveTwips(cmd_[size_t(i)], 1000 + i * 1850, 850, 1700, 420);
  }
  HWND windows = CreateControl(hwnd(), L"BUTTON", L"创建新窗口时", BS_GROUPBOX, 0);
  MoveTwips(windows, 120, 1680, 6500, 1200);
  optt_[0] = CreateControl(hwnd(), L"BUTTON", L"立即展示（激活）新窗口", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP,
                           kOptt0);
  optt_[1] = CreateControl(hwnd(), L"BUTTON", L"仍然保持展示原旧窗口", BS_AUTORADIOBUTTON, kOptt1);
  MoveTwips(optt_[0], 300, 1960, 5000, 330);
  MoveTwips(optt_[1], 300, 2380, 5000, 330);
  HWND quit = CreateControl(hwnd(), L"BUTTON", L"启动/退出", BS_GROUPBOX, 0);
  MoveTwips(quit, 120, 3000, 6500, 1200);
  checkRadio_ = CreateControl(hwnd(), L"BUTTON", L"启动时载入《音乐广播电台》", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                              kCheckRadio);
  checkQuit_ = CreateControl(hwnd(), L"BUTTON", L"每次退出时都要进行询问", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckQuit);
  MoveTwips(checkRadio_, 300, 3280, 5000, 330);
  MoveTwips(checkQuit_, 300, 3700, 5000, 330);
  HWND ok = CreateControl(hwnd(), L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, kCommand1);
  HWND cancel = CreateControl(hwnd(), L"BUTTON", L"取消(&C)", BS_PUSHBUTTON | WS_TABSTOP, kCommand2);
  MoveTwips(ok, 3900, 4400, 1300, 420);
  MoveTwips(cancel, 5320, 4400, 1300, 420);
}

void Formsetup::Form_Load() {
  Options o = LoadOptions(ReadStoredOptions());
  SendMessageW(optt_[0], BM_SETCHECK, o.startwindows == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(optt_[1], BM_SETCHECK, o.startwindows != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  if (o.radio) SendMessageW(checkRadio_, BM_SETCHECK, *o.radio ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(checkQuit_, BM_SETCHECK, o.askOnExit ? BST_CHECKED : BST_UNCHECKED, 0);
  SetWindowTextW(textStart_, o.start.c_str());
  SHAutoComplete(textStart_, SHACF_URLHISTORY);
}

void Formsetup::cmd_Click(int index) {
  std::wstring page;
  switch (index) {
    case 0: page = hooks_.currentAddress ? hooks_.currentAddress() : L""; break;
    case 1: page = hooks_.defaultAddress ? hooks_.defaultAddress() : L""; break;
    case 2: page = kBlankPage; break;
    default: return;
  }
  SetWindowTextW(textStart_, page.c_str());
}

Options Formsetup::Current() const {
  Options o;
  o.start = common::ui::WindowText(textStart_);
  o.startwindows = SendMessageW(optt_[0], BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
  o.radio = SendMessageW(checkRadio_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  o.askOnExit = SendMessageW(checkQuit_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return o;
}

void Formsetup::Command1_Click() {
  Options o = Current();
  WriteStoredOptions(SaveOptions(o));
  if (hooks_.startwindows) hooks_.startwindows(o.startwindows);
  DestroyWindow(hwnd());
}

LRESULT Formsetup::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      if (id >= kCmd0 && id < kCmd0 + 3) cmd_Click(id - kCmd0);
      else if (id == kCommand1) Command1_Click();
      else if (id == kCommand2) DestroyWindow(hwnd());
      return 0;
    }
    case WM_NEXTDLGCTL: FocusKeeper::Next(hwnd(), wp, lp); return 0;
    case WM_ACTIVATE: focus_.Activate(hwnd(), wp, textStart_); return 0;
    case WM_CLOSE: DestroyWindow(hwnd()); return 0;
  }
  return Default(msg, wp, lp);
}

void ShowFormsetup(HWND owner, Formsetup::Hooks hooks) {
  Formsetup form(std::move(hooks));
  if (form.Create(owner)) common::ui::RunModal(form, owner);
}

}  // namespace corvane
