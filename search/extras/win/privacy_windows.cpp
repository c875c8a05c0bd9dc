#include "search/extras/win/privacy_windows.h"

#include <algorithm>

#include "common/text.h"
#include "common/win/message_loop.h"
#include "common/win/msgbox.h"
#include "common/win/settings_store.h"
#include "common/win/ui/form.h"
#include "common/win/ui/modal.h"
#include "search/extras/win/password_crypto.h"
#include "search/extras/win/password_store.h"

namespace sercavo {
using common::ui::CreateForm;
using common::ui::Put;

namespace {

// clang-format off
constexpr wchar_t kNote1[] = L"如果你想禁止别人在你的电脑里面搜索“电影、音乐、图片、网页”等内容，你可以在设置密码以后屏蔽这些搜索结果。这样，别人在你的电脑里面的搜索结果始终为零……";
// clang-format on
constexpr wchar_t kNote2[] = L"首次使用时，帐号/密码由您自己指定，请一定要牢记住。否则以后连你自己也将无法进入了。";
constexpr wchar_t kNotSaved[] = L"对不起！密码无法保存……    ";
constexpr wchar_t kNotText[] = L"“用户密码”中有无法保存的字符，请重新输入……  ";
const wchar_t* const kShields[5] = {L"屏蔽“电影搜索”的搜索内容", L"屏蔽“音乐搜索”的搜索内容",
                                    L"屏蔽“图片搜索”的搜索内容", L"屏蔽“Flash 搜索”的搜索内容",
                                    L"屏蔽“垃圾搜索”的搜索内容"};

std::wstring Text(HWND h) { return common::ui::WindowText(h); }

// Enter: a focused push button does its own work; elsewhere the window's first button.
int EnterTarget(HWND window, int fallback, std::initializer_list<int> buttons) {
  HWND focus = GetFocus();
  int id = focus && GetParent(focus) == window ? GetDlgCtrlID(focus) : 0;
  return std::find(buttons.begin(), buttons.end(), id) != buttons.end() ? id : fallback;
}

}  // namespace

void OpenPrivacy(HWND owner, ShieldFlags& running) {
  PasswordManger login(PlatformCrypto::Get());
  if (!login.Load(owner)) return;
  login.ShowModal(owner);
  if (!LoggedIn()) return;
  FormSet shields(running);
  if (shields.Load(owner)) common::ui::RunModal(shields, owner);
}

bool PasswordManger::Load(HWND owner) {
  owner_ = owner;
  if (!CreateForm(*this, kLoginClass, L"用户登录", 5800, 3750, owner)) return false;
  HWND w = hwnd();
  Put(w, L"BUTTON", L"用户登陆", BS_GROUPBOX, -1, 120, 80, 5400, 1500);
  Put(w, L"STATIC", L"用户账号：", SS_LEFT, -1, 360, 440, 1000, 300);
  Put(w, L"EDIT", L"超级用户", ES_AUTOHSCROLL | WS_TABSTOP, kIdAccount, 1400, 390, 2500, 330, WS_EX_CLIENTEDGE);
  Put(w, L"STATIC", L"用户密码：", SS_LEFT, -1, 360, 920, 1000, 300);
  Put(w, L"EDIT", L"", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, kIdPassword, 1400, 870, 2500, 330, WS_EX_CLIENTEDGE);
  Put(w, L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdLogin, 4150, 380, 1200, 380);
  stored_ = ParseStored(ReadPasswordValue(), crypto_);
  Put(w, L"BUTTON", IsSet(stored_) ? kChangePassword : kSetPassword, BS_PUSHBUTTON | WS_TABSTOP, kIdSet, 4150, 860,
      1200, 380);
  std::wstring note = std::wstring(L"    ") + kNote1 + L"\r\n\r\n    " + kNote2 + L"\r\n";
  Put(w, L"STATIC", note, SS_LEFT, -1, 160, 1750, 5350, 1500);
  return true;
}

void PasswordManger::ShowModal(HWND owner) {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetFocus(control(kIdPassword));
  common::ui::RunModal(*this, owner);
}

void PasswordManger::Command1Click() {
  if (Text(control(kIdSet)) == kSetPassword) {
    common::MsgBox(hwnd(), L"对不起！您还没有设置密码……    ", MB_ICONINFORMATION);
    SetFocus(control(kIdSet));
    return;
  }
  std::wstring typed = Text(control(kIdPassword));
  if (!Matches(stored_, typed, crypto_)) {
    LoggedIn() = false;
    common::MsgBox(hwnd(), L"对不起！您的帐号或密码不对，请重新输入……    ", MB_ICONERROR);
    SetFocus(control(kIdPassword));
    return;
  }
  LoggedIn() = true;
  // A password kept in the old readable form is replaced by its hash now that it was typed.
  if (stored_.kind == StoredPassword::Kind::CharCodes) savecheck(typed);
  Destroy();
}

void PasswordManger::Command2Click() {
  if (Text(control(kIdSet)) == kChangePassword) {
    if (!Matches(stored_, Text(control(kIdPassword)), crypto_)) {
      common::MsgBox(hwnd(), L"请您首先输入原来的密码……   ", MB_ICONINFORMATION);
      SetFocus(control(kIdPassword));
      return;
    }
    SetWindowTextW(control(kIdPassword), L"");
  }
  PasswordSet set(*this);
  if (!set.Load(hwnd())) return;
  ShowWindow(set.hwnd(), SW_SHOWNORMAL);
  SetFocus(set.control(PasswordSet::kIdPassword));
  common::ui::RunModal(set, hwnd());
}

bool PasswordManger::savecheck(const std::wstring& password) {
  std::wstring form = HashForm(password, crypto_);
  if (!WritePasswordValue(form)) return false;
  stored_ = ParseStored(form, crypto_);
  if (hwnd()) SetWindowTextW(control(kIdSet), kChangePassword);
  return true;
}

LRESULT PasswordManger::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    int id = LOWORD(wp) == IDOK ? EnterTarget(hwnd(), kIdLogin, {kIdLogin, kIdSet}) : LOWORD(wp);
    if (id == kIdLogin) Command1Click();
    if (id == kIdSet) Command2Click();
    if (id == IDCANCEL) Destroy();
    return 0;
  }
  if (msg == WM_CLOSE) {
    Destroy();
    return 0;
  }
  return Default(msg, wp, lp);
}

bool PasswordSet::Load(HWND owner) {
  if (!CreateForm(*this, kPasswordClass, L"用户密码 设置", 4900, 2700, owner)) return false;
  HWND w = hwnd();
  Put(w, L"BUTTON", L"设置", BS_GROUPBOX, -1, 120, 80, 4500, 1650);
  Put(w, L"STATIC", L"用户密码：", SS_LEFT, -1, 300, 440, 1000, 300);
  Put(w, L"EDIT", L"", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, kIdPassword, 1300, 390, 3000, 330, WS_EX_CLIENTEDGE);
  Put(w, L"STATIC", L"确认密码：", SS_LEFT, -1, 300, 920, 1000, 300);
  Put(w, L"EDIT", L"", ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP, kIdConfirm, 1300, 870, 3000, 330, WS_EX_CLIENTEDGE);
  Put(w, L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdOk, 1800, 1850, 1200, 380);
  return true;
}

void PasswordSet::Command1Click() {
  std::wstring password = Text(control(kIdPassword));
  switch (CheckNewPassword(password, Text(control(kIdConfirm)))) {
    case NewPassword::TooShort:
      common::MsgBox(hwnd(), L"“用户密码”长度不能小于三位，请重新输入……  ", MB_ICONERROR);
      SetFocus(control(kIdPassword));
      return;
    case NewPassword::Differs:
      common::MsgBox(hwnd(), L"“用户密码”与“确认密码”必须一致，请重新输入……  ", MB_ICONINFORMATION);
      SetFocus(control(kIdConfirm));
      return;
    case NewPassword::NotText:
      // A lone half of a character pair (pasted from elsewhere) is no text a password can be made of.
      common::MsgBox(hwnd(), kNotText, MB_ICONERROR);
      SetFocus(control(kIdPassword));
      return;
    case NewPassword::Ok: break;
  }
  if (!login_.savecheck(password)) {
    common::MsgBox(hwnd(), kNotSaved, MB_ICONERROR);
    return;
  }
  LoggedIn() = true;
  Destroy();
}

LRESULT PasswordSet::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    if (LOWORD(wp) == kIdOk || LOWORD(wp) == IDOK) Command1Click();
    if (LOWORD(wp) == IDCANCEL) Destroy();
    return 0;
  }
  if (msg == WM_CLOSE) {
    Destroy();
    return 0;
  }
  return Default(msg, wp, lp);
}

bool FormSet::Load(HWND owner) {
  if (!CreateForm(*this, kFormSetClass, L"隐私保护设置", 4900, 3650, owner)) return false;
  HWND w = hwnd();
  Put(w, L"BUTTON", L"选项", BS_GROUPBOX, -1, 120, 80, 4500, 2500);
  for (int i = 0; i < 5; ++i) {
    HWND box =
        Put(w, L"BUTTON", kShields[i], BS_AUTOCHECKBOX | WS_TABSTOP, kIdShield + i, 400, 380 + i * 420, 4000, 330);
    long long stored = common::NumberOrZero(common::GetSetting(kApp, L"set", std::to_wstring(i) + L"sou", L"0"));
    SendMessageW(box, BM_SETCHECK, stored != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  Put(w, L"BUTTON", L"确定(&Y)", BS_DEFPUSHBUTTON | WS_TABSTOP, kIdSave, 1800, 2750, 1200, 380);
  ShowWindow(w, SW_SHOWNORMAL);
  SetFocus(control(kIdShield));
  return true;
}

void FormSet::Command1Click() {
  for (int i = 0; i < 5; ++i) {
    std::wstring value = SendMessageW(control(kIdShield + i), BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0";
    common::SaveSetting(kApp, L"set", std::to_wstring(i) + L"sou", value);
    running_[size_t(i)] = value;  // the next search obeys at once
  }
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  Destroy();
  common::MsgBox(owner, L"恭喜您，设置成功……    ", MB_ICONINFORMATION);
}

LRESULT FormSet::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    int id = LOWORD(wp);
    if (id == kIdSave || (id == IDOK && EnterTarget(hwnd(), kIdSave, {kIdSave}) == kIdSave)) Command1Click();
    if (id == IDCANCEL) Destroy();
    return 0;
  }
  if (msg == WM_CLOSE) {
    Destroy();
    return 0;
  }
  return Default(msg, wp, lp);
}

}  // namespace sercavo
