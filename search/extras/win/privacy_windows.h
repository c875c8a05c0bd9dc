// The privacy windows: the login window `passwordmanger` ("用户登录"), the password window `passwordset`
// ("用户密码 设置") and the shield window `FormSet` ("隐私保护设置"), all modal.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/ui/window.h"
#include "search/app.h"
#include "search/extras/password_rules.h"

namespace sercavo {

inline constexpr wchar_t kLoginClass[] = L"SercavoPasswordManger";
inline constexpr wchar_t kPasswordClass[] = L"SercavoPasswordSet";
inline constexpr wchar_t kFormSetClass[] = L"SercavoFormSet";
inline constexpr wchar_t kSetPassword[] = L"设置密码";
inline constexpr wchar_t kChangePassword[] = L"修改密码";

// "密码(&P)" and "选项(&O)...": the login window, then the shield window when logged in; a saved shield
// goes into running too, so that the next search obeys it.
void OpenPrivacy(HWND owner, ShieldFlags& running);

class PasswordManger : public common::ui::Window {
 public:
  enum : int { kIdAccount = 10, kIdPassword, kIdLogin, kIdSet };
  explicit PasswordManger(const PasswordCrypto& crypto) : crypto_(crypto) {}
  bool Load(HWND owner);  // `Form_Load`
  void ShowModal(HWND owner);
  void Command1Click();  // log in
  void Command2Click();  // set or change the password
  // The password window's save: the hash is stored and the button reads "修改密码". False when the
  // platform could not store it.
  bool savecheck(const std::wstring& password);
  HWND control(int id) const { return GetDlgItem(hwnd(), id); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  const PasswordCrypto& crypto_;
  StoredPassword stored_;
  HWND owner_ = nullptr;
};

class PasswordSet : public common::ui::Window {
 public:
  enum : int { kIdPassword = 10, kIdConfirm, kIdOk };
  explicit PasswordSet(PasswordManger& login) : login_(login) {}
  bool Load(HWND owner);
  void Command1Click();
  HWND control(int id) const { return GetDlgItem(hwnd(), id); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  PasswordManger& login_;
};

class FormSet : public common::ui::Window {
 public:
  enum : int { kIdShield = 10, kIdSave = 20 };  // CheckSou(i) is kIdShield + i
  explicit FormSet(ShieldFlags& running) : running_(running) {}
  bool Load(HWND owner);
  void Command1Click();
  HWND control(int id) const { return GetDlgItem(hwnd(), id); }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  ShieldFlags& running_;
};

}  // namespace sercavo
